#include "game/sets/ExamineSet.h"

#include "game/sets/SetText.h"
#include "game/sets/SoundMeasure.h"
#include "media/Files.h"
#include "media/Text.h"
#include "media/sound/SampleLoader.h"
#include "streams/CStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace tonvella {

namespace {

constexpr int kMaxPairNumbers = 999;

bool AllDigits(const std::u16string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

std::u16string Trimmed(const std::u16string& text) {
    const size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string::npos) return u"";
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

std::u16string Quoted(const std::u16string& text) {
    return u"\"" + text + u"\"";
}

std::u16string Decimal(double value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", digits, value);
    return FromLatin1(buf);
}

// A file of another letter case beside the one named, which the file system here keeps apart.
std::optional<std::u16string> OtherCase(const std::u16string& folder, const std::u16string& name) {
    for (const std::u16string& other : ListFolder(folder.empty() ? u"." : folder))
        if (other != name && UpperAscii(other) == UpperAscii(name)) return other;
    return std::nullopt;
}

struct TSoundState {
    int line = 0; // its entry in [Sounds]
    bool usable = false;
    TAudioSampleHandle sample;
};

class TExamination {
public:
    TExamination(const std::u16string& path, bool measure)
        : _path(path), _folder(FolderOf(path)), _measure(measure) {}

    TSetReport Run();

private:
    void Fault(TSetFaultKind kind, int line, const std::u16string& text) {
        _report.faults.push_back({kind, line, text});
    }
    std::u16string Value(const char16_t* section, const std::u16string& key, int* line = nullptr) {
        return FindSetValue(_lines, section, key, line);
    }
    void CheckLines();
    int CheckPairCount();
    TSoundState& Sound(int number, const std::u16string& name, int line);
    void CheckPairs(int pairs);
    void CheckSameFileTwice();
    void MeasureSounds();
    void Judge();

    std::u16string _path, _folder;
    bool _measure;
    std::vector<std::u16string> _lines;
    TSetReport _report;
    std::map<std::u16string, TSoundState> _sounds; // by file name
    std::vector<std::u16string> _sound_order;      // in the order the pairs first name them
    struct TTwice {
        int pair, line;
        std::u16string name;
    };
    std::vector<TTwice> _twice;
    int _pairs_with_sounds = 0; // pairs whose two sound numbers name files
    std::u16string _first_missing, _first_unreadable;
};

TSetReport TExamination::Run() {
    std::u16string why;
    if (!ReadTeacherSetFile(_path, _lines, _report.refusal, why)) {
        Fault(TSetFaultKind::kFormat, 0, why);
        return _report;
    }
    CheckLines();
    if (Value(u"Text", u"Frage").empty())
        Fault(TSetFaultKind::kFormat, 0, u"[Text] has no \"Frage=\": the question stays empty");
    int pairs = CheckPairCount();
    if (pairs >= kPairsPerGame) {
        CheckPairs(pairs);
        CheckSameFileTwice();
        if (_measure) MeasureSounds();
    }
    Judge();
    return _report;
}

// Lines the game would read otherwise than the teacher meant.
void TExamination::CheckLines() {
    bool in_section = false;
    for (size_t i = 0; i < _lines.size(); ++i) {
        const std::u16string& line = _lines[i];
        const int number = int(i) + 1;
        if (line.empty() || line[0] == u'\'') continue;
        size_t eq = line.find(u'=');
        if (eq == std::u16string::npos) {
            if (line == u"[Text]" || line == u"[Sounds]" || line == u"[Connect]") {
                in_section = true;
            } else if (line.front() == u'[' && line.back() == u']') {
                Fault(TSetFaultKind::kFormat, number,
                      u"unknown section " + line +
                          u" (the game reads [Text], [Sounds], [Connect])");
            } else if (line.find_first_not_of(u" \t") != std::u16string::npos) {
                Fault(TSetFaultKind::kFormat, number,
                      Quoted(line) + u" is no entry (key=value), section or comment");
            }
            continue;
        }
        if (in_section && line.find(u'[') != std::u16string::npos)
            Fault(TSetFaultKind::kFormat, number,
                  u"\"[\" in an entry ends its section for the game: the entries below it are "
                  u"not found");
        const std::u16string key = line.substr(0, eq);
        size_t last = key.find_last_not_of(u" \t");
        if (last != std::u16string::npos && last + 1 < key.size())
            Fault(TSetFaultKind::kFormat, number,
                  u"the key " + Quoted(key) + u" ends in a blank: the game looks for " +
                      Quoted(key.substr(0, last + 1)) + u" and does not find it");
    }
}

int TExamination::CheckPairCount() {
    int line = 0;
    const std::u16string text = Value(u"Connect", u"Paarungen", &line);
    if (text.empty()) {
        Fault(TSetFaultKind::kFormat, 0, u"[Connect] has no \"Paarungen=\" (the number of pairs)");
    } else if (!AllDigits(text)) {
        Fault(TSetFaultKind::kFormat, line, u"\"Paarungen=" + text + u"\" is not a number");
    }
    _report.pairs = TextToInt(text);
    if (_report.pairs > kMaxPairNumbers) {
        Fault(TSetFaultKind::kFormat, line,
              u"\"Paarungen=" + text + u"\": a set has at most 999 pairs");
        _report.refusal = {u"Fehler in der Datei", FileNameOf(_path)};
        return 0;
    }
    if (_report.pairs < kPairsPerGame) {
        Fault(TSetFaultKind::kTooFewPairs, line,
              u"the set has " + IntToText(std::max(_report.pairs, 0)) + u" pairs; a game needs 8");
        _report.refusal = {u"Zu wenige Paare", IntToText(std::max(_report.pairs, 0)) + u"/8"};
    }
    return _report.pairs;
}

TSoundState& TExamination::Sound(int number, const std::u16string& name, int line) {
    auto [at, is_new] = _sounds.try_emplace(name);
    TSoundState& sound = at->second;
    if (!is_new) return sound;
    _sound_order.push_back(name);
    sound.line = line;
    const std::u16string label = u"sound " + IntToText(number) + u" " + Quoted(name) + u": ";
    TSoundFileFault fault = CheckSoundFile(_folder, name);
    if (fault == TSoundFileFault::kMissing) {
        std::u16string text = label + u"missing";
        if (auto other = OtherCase(_folder, name))
            text += u" (there is " + Quoted(*other) + u": letter case counts)";
        Fault(TSetFaultKind::kMissingSound, line, text);
        if (_first_missing.empty()) _first_missing = name;
        return sound;
    }
    if (fault != TSoundFileFault::kNone) {
        Fault(fault == TSoundFileFault::kNameWithFolder ? TSetFaultKind::kFormat
                                                        : TSetFaultKind::kUnreadableSound,
              line, label + SoundFileFaultText(fault));
        if (_first_unreadable.empty()) _first_unreadable = name;
        return sound;
    }
    std::u16string reason;
    sound.sample = DecodeTeacherSound(_folder, name, reason);
    if (!sound.sample) {
        Fault(TSetFaultKind::kUnreadableSound, line,
              label + u"not readable as WAV or Ogg Vorbis (" + reason + u")");
        if (_first_unreadable.empty()) _first_unreadable = name;
        return sound;
    }
    sound.usable = true;
    if (!_measure) sound.sample.reset(); // only the measuring needs the decoded sound
    return sound;
}

void TExamination::CheckPairs(int pairs) {
    for (int k = 1; k <= pairs; ++k) {
        int line = 0;
        const std::u16string text = Value(u"Connect", IntToText(k), &line);
        const std::u16string label = u"pair " + IntToText(k) + u" ";
        if (text.empty()) {
            Fault(TSetFaultKind::kFormat, 0,
                  u"pair " + IntToText(k) + u" is missing (\"Paarungen=" + IntToText(pairs) +
                      u"\" announces it)");
            continue;
        }
        TPairLine pair;
        if (!ParsePairLine(text, pair)) {
            Fault(TSetFaultKind::kFormat, line, label + Quoted(text) + u" has no \"x\"");
            continue;
        }
        // The game reads the second number from the two characters after the "x" only.
        const size_t x = text.find(u'x');
        const std::u16string after = text.substr(x + 1);
        const size_t b_digits = std::min(after.find_first_not_of(u"0123456789"), after.size());
        if (b_digits > 2) {
            Fault(TSetFaultKind::kFormat, line,
                  label + Quoted(text) +
                      u": the second number has more than two digits; the "
                      u"game reads " +
                      IntToText(pair.b));
        } else if (!AllDigits(Trimmed(text.substr(0, x))) || b_digits == 0 ||
                   !Trimmed(after.substr(b_digits)).empty()) {
            Fault(TSetFaultKind::kFormat, line,
                  label + Quoted(text) + u": write two sound numbers joined by \"x\", as 1x2");
        }
        int line_a = 0, line_b = 0;
        const std::u16string name_a = Value(u"Sounds", IntToText(pair.a), &line_a);
        const std::u16string name_b = Value(u"Sounds", IntToText(pair.b), &line_b);
        bool named = true;
        for (auto [number, name] : {std::pair{pair.a, name_a}, std::pair{pair.b, name_b}}) {
            if (name.empty()) {
                Fault(TSetFaultKind::kFormat, line,
                      label + u"names sound " + IntToText(number) +
                          u", which [Sounds] does not have");
                named = false;
            }
        }
        if (!named) continue;
        ++_pairs_with_sounds;
        if (name_a == name_b) _twice.push_back({k, line, name_a});
        const bool usable_a = Sound(pair.a, name_a, line_a).usable;
        const bool usable_b = Sound(pair.b, name_b, line_b).usable;
        if (usable_a && usable_b) ++_report.usable_pairs;
    }
}

// A pair of one file twice is the point of an identical-sound exercise (every pair is one file
// twice); anywhere else it is a pair that needs no listening at all.
void TExamination::CheckSameFileTwice() {
    if (_twice.empty() || int(_twice.size()) == _pairs_with_sounds) return;
    for (const TTwice& twice : _twice)
        Fault(TSetFaultKind::kSameFileTwice, twice.line,
              u"pair " + IntToText(twice.pair) + u" plays one file twice (" + Quoted(twice.name) +
                  u"), while the other pairs are two different sounds");
}

void TExamination::MeasureSounds() {
    std::vector<std::pair<std::u16string, TSoundMeasure>> measured;
    for (const std::u16string& name : _sound_order) {
        const TSoundState& sound = _sounds[name];
        if (!sound.sample) continue;
        const TSoundMeasure m = MeasureSound(*sound.sample);
        const std::u16string label = u"sound " + Quoted(name) + u": ";
        if (m.seconds > kMaxSoundS)
            Fault(TSetFaultKind::kTooLong, sound.line,
                  label + u"lasts " + Decimal(m.seconds, 1) + u" s, more than " +
                      Decimal(kMaxSoundS, 0) + u" s");
        if (m.silent) {
            Fault(TSetFaultKind::kLoudness, sound.line, label + u"is silent");
            continue;
        }
        if (m.silence_before > kMaxSilenceBeforeS)
            Fault(TSetFaultKind::kSilenceBefore, sound.line,
                  label + Decimal(1000 * m.silence_before, 0) +
                      u" ms of silence before it begins (at most 50 ms)");
        measured.emplace_back(name, m);
    }
    if (measured.size() < 2) return;
    std::vector<double> levels;
    for (const auto& [name, m] : measured)
        levels.push_back(m.loudness);
    std::sort(levels.begin(), levels.end());
    const size_t n = levels.size();
    const double median = n % 2 ? levels[n / 2] : (levels[n / 2 - 1] + levels[n / 2]) / 2;
    for (const auto& [name, m] : measured) {
        const double off = m.loudness - median;
        if (std::fabs(off) <= kLoudnessSpreadDb) continue;
        Fault(TSetFaultKind::kLoudness, _sounds[name].line,
              u"sound " + Quoted(name) + u": loudness " + Decimal(m.loudness, 1) + u" LUFS, " +
                  Decimal(std::fabs(off), 1) + (off > 0 ? u" dB above" : u" dB below") +
                  u" the set's median (" + Decimal(median, 1) + u" LUFS)");
    }
}

void TExamination::Judge() {
    if (!_report.refusal.Empty()) return; // refused before its pairs were read
    if (_report.usable_pairs >= kPairsPerGame) {
        _report.playable = true;
        return;
    }
    Fault(TSetFaultKind::kTooFewPairs, 0,
          u"only " + IntToText(_report.usable_pairs) + u" of its " + IntToText(_report.pairs) +
              u" pairs can be played; a game needs 8");
    if (!_first_missing.empty())
        _report.refusal = {u"Klang fehlt", _first_missing};
    else if (!_first_unreadable.empty())
        _report.refusal = {u"Klang nicht lesbar", _first_unreadable};
    else
        _report.refusal = {u"Zu wenige Paare", IntToText(_report.usable_pairs) + u"/8"};
}

} // namespace

const char16_t* FaultKindName(TSetFaultKind kind) {
    switch (kind) {
    case TSetFaultKind::kFormat:
        return u"format";
    case TSetFaultKind::kMissingSound:
        return u"missing sound";
    case TSetFaultKind::kUnreadableSound:
        return u"unreadable sound";
    case TSetFaultKind::kTooFewPairs:
        return u"too few pairs";
    case TSetFaultKind::kSameFileTwice:
        return u"same file twice";
    case TSetFaultKind::kLoudness:
        return u"loudness";
    case TSetFaultKind::kSilenceBefore:
        return u"silence before";
    case TSetFaultKind::kTooLong:
        return u"too long";
    }
    return u"";
}

TSetReport ExamineCardSet(const std::u16string& path, bool measure) {
    return TExamination(path, measure).Run();
}

TAudioSampleHandle DecodeTeacherSound(const std::u16string& folder, const std::u16string& name,
                                      std::u16string& reason) {
    TSampleSecondsLimit limit(kMaxSoundSeconds);
    // A plain file always, even when the name has a "::" in it.
    TStreamHandle stream = TCStream::OpenFile(folder + name, 1, 0);
    if (!stream) {
        reason = u"cannot open";
        return nullptr;
    }
    std::string why;
    TAudioSampleHandle sample = DecodeSampleFromStream(*stream, why);
    CloseFileHandle(stream);
    reason = FromUtf8(why);
    return sample;
}

} // namespace tonvella
