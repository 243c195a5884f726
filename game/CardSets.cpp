#include "game/CardSets.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "game/Random.h"
#include "game/sets/ExamineSet.h"
#include "game/sets/SetText.h"
#include "game/sets/TeacherSets.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "streams/Stream.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace tonvella {

namespace {

constexpr int kMaxPairNumbers = 999; // pair keys are at most three digits

// The set file a load is reading: opened once for the whole load instead of once for each of
// its values, with the lines read so far. A lookup reads on from where the furthest one before it
// stopped, so the file is read in the same order and as far as before, a damaged part included.
// A teacher's file is read whole before the load begins and has no stream.
struct TSetFile {
    std::u16string url;
    TStreamHandle stream;
    std::vector<std::u16string> lines;
};
TSetFile* loading = nullptr;

// Sets found unplayable since the menu last read the catalogue, with why.
std::map<std::u16string, TSetRefusal> refusals;
std::set<std::u16string> examined; // teachers' sets examined since then
TSetRefusal last_refusal;

class TSetFileReading {
public:
    TSetFileReading(const std::u16string& url, TStreamHandle stream,
                    std::vector<std::u16string> lines = {})
        : file{url, stream, std::move(lines)} {
        loading = &file;
    }
    ~TSetFileReading() {
        loading = nullptr;
        CloseFileHandle(file.stream);
    }
    TSetFileReading(const TSetFileReading&) = delete;
    TSetFileReading& operator=(const TSetFileReading&) = delete;

private:
    TSetFile file;
};

struct TPairDraw {
    TSoundHandle a, b;
};

// What made pairs unusable during one load: the first sound missing, the first unreadable.
struct TSoundTrouble {
    std::u16string missing, unreadable;
};

// A sound of a teacher's set, from beside the set file, by the same checks and decoding as
// tonvella-check-set; the reason goes out in one line.
TSoundHandle LoadTeacherSound(const std::u16string& set_file, const std::u16string& name,
                              TSoundTrouble& trouble) {
    const std::u16string folder = FolderOf(set_file);
    TSoundFileFault fault = CheckSoundFile(folder, name);
    std::u16string reason = SoundFileFaultText(fault);
    TAudioSampleHandle sample;
    if (fault == TSoundFileFault::kNone) sample = DecodeTeacherSound(folder, name, reason);
    if (!sample) {
        DebugPrint(u"Sound not loaded: " + folder + name + u" (" + reason + u")");
        std::u16string& first =
            fault == TSoundFileFault::kMissing ? trouble.missing : trouble.unreadable;
        if (first.empty()) first = name;
        return nullptr;
    }
    return CurrentAudioDriver()->AdoptSound(std::move(sample), 0);
}

// One pair line "a" + "x" + "b" and its two sounds; false when the line or a sound is unusable.
bool LoadPair(const std::u16string& set_file, const std::u16string& url, int number,
              TPairDraw& pair, TSoundTrouble& trouble) {
    std::u16string line = ReadSetValue(url, u"Connect", IntToText(number));
    TPairLine numbers;
    if (!ParsePairLine(line, numbers)) {
        DebugPrint(u"Card set " + url + u": pair " + IntToText(number) + u" has no \"x\"");
        return false;
    }
    std::u16string name_a = ReadSetValue(url, u"Sounds", IntToText(numbers.a));
    std::u16string name_b = ReadSetValue(url, u"Sounds", IntToText(numbers.b));
    if (name_a.empty() || name_b.empty()) {
        DebugPrint(u"Card set " + url + u": pair " + IntToText(number) + u" names sound " +
                   IntToText(name_a.empty() ? numbers.a : numbers.b) +
                   u", which the set does not have");
        return false;
    }
    if (IsTeacherSet(set_file)) {
        pair.a = LoadTeacherSound(set_file, name_a, trouble);
        pair.b = LoadTeacherSound(set_file, name_b, trouble);
        return pair.a && pair.b;
    }
    pair.a = LoadSoundFile(AssetBase + name_a, 0);
    pair.b = LoadSoundFile(AssetBase + name_b, 0);
    // The sound loader has already named the file and the reason in its one line.
    return pair.a && pair.b;
}

bool Refuse(const std::u16string& set_file, const std::u16string& why, TSetRefusal refusal) {
    DebugPrint(u"Card set \"" + set_file + u"\" not loaded: " + why);
    last_refusal = refusal;
    refusals[set_file] = std::move(refusal);
    return false;
}

} // namespace

std::u16string ReadSetValue(const std::u16string& file, const std::u16string& section,
                            const std::u16string& key) {
    DebugPrint(u"Akt INI suche: " + file + u" [" + section + u"] " + key);
    if (loading && loading->url == file) {
        DebugPrint(u"Akt INI drin: 1");
        TSetFile& set = *loading;
        size_t at = 0;
        return FindSetValue(
            [&](std::u16string& line) {
                if (at == set.lines.size()) {
                    if (!set.stream || StreamAtEnd(set.stream)) return false;
                    set.lines.push_back(ReadTextLine(set.stream));
                }
                line = set.lines[at++];
                return true;
            },
            section, key);
    }
    if (IsTeacherSet(file)) {
        std::vector<std::u16string> lines;
        TSetRefusal refusal;
        std::u16string why;
        const bool read = ReadTeacherSetFile(file, lines, refusal, why);
        DebugPrint(u"Akt INI drin: " + std::u16string(read ? u"1" : u"0"));
        return read ? FindSetValue(lines, section, key) : u"";
    }
    TStreamHandle stream = OpenFileForReading(file);
    DebugPrint(u"Akt INI drin: " + std::u16string(stream ? u"1" : u"0"));
    if (!stream) return u"";
    std::u16string result = FindSetValue(
        [&](std::u16string& line) {
            if (StreamAtEnd(stream)) return false;
            line = ReadTextLine(stream);
            return true;
        },
        section, key);
    CloseFileHandle(stream);
    return result;
}

void ReadSetCatalog() {
    int n = 0;
    DebugPrint(u"richtiges zip zu dir");
    TStreamHandle stream = OpenFileForReading(AssetBase + u"Dir.lst");
    if (!stream) {
        DebugPrint(u"Dir.lst not found; the card-set list stays as it was");
        return;
    }
    while (!StreamAtEnd(stream)) {
        std::u16string line = ReadTextLine(stream);
        DebugPrint(u"Datei=" + line);
        if (line.size() >= 4 && UpperAscii(line.substr(line.size() - 4)) == u".SET") {
            if (n + 1 >= int(SetCatalog.size())) {
                DebugPrint(u"Dir.lst: more sets than the list can hold, the rest is ignored");
                break;
            }
            SetCatalog[++n] = line;
        }
    }
    CloseFileHandle(stream);
    DebugPrint(u"ende");
    // The teachers' sets follow the built-in ones; the menu judges them afresh each time it opens.
    refusals.clear();
    examined.clear();
    for (const std::u16string& set : FindTeacherSets()) {
        if (n + 1 >= int(SetCatalog.size())) {
            DebugPrint(u"More card sets than the list can hold; " + set +
                       u" and later ones are "
                       u"left out");
            break;
        }
        DebugPrint(u"Teacher's card set: " + set);
        SetCatalog[++n] = set;
    }
    SetCount = n;
}

void ExamineTeacherSets(int first, int count) {
    for (int i = first; i < first + count && i <= SetCount; ++i) {
        const std::u16string& set = SetCatalog[i];
        if (!IsTeacherSet(set) || !examined.insert(set).second) continue;
        const TSetReport report = ExamineCardSet(set, false);
        if (report.playable) continue;
        // The fault that decides, and the first sound to blame for it.
        const TSetFault* decisive = &report.faults.front();
        const TSetFault* sound = nullptr;
        for (const TSetFault& fault : report.faults) {
            if (fault.kind == TSetFaultKind::kTooFewPairs) decisive = &fault;
            if (!sound && (fault.kind == TSetFaultKind::kMissingSound ||
                           fault.kind == TSetFaultKind::kUnreadableSound))
                sound = &fault;
        }
        DebugPrint(u"Card set \"" + set + u"\" cannot be played: " + decisive->text +
                   (sound && sound != decisive ? u" (" + sound->text + u")" : u""));
        refusals[set] = report.refusal;
    }
}

const TSetRefusal* SetRefusalOf(const std::u16string& set_file) {
    auto found = refusals.find(set_file);
    return found == refusals.end() ? nullptr : &found->second;
}

const TSetRefusal& LastSetRefusal() {
    return last_refusal;
}

bool LoadCardSet(const std::u16string& set_file) {
    const bool teacher = IsTeacherSet(set_file);
    const std::u16string url = teacher ? set_file : AssetBase + set_file;
    const std::u16string name = FileNameOf(set_file);
    TStreamHandle probe;
    std::vector<std::u16string> lines;
    if (teacher) {
        TSetRefusal refusal;
        std::u16string why;
        if (!ReadTeacherSetFile(set_file, lines, refusal, why))
            return Refuse(set_file, why, refusal);
    } else {
        // A missing set says so, rather than that it defines no pairs.
        probe = OpenFileForReading(url);
        if (!probe) return Refuse(set_file, u"the file cannot be opened", {u"Datei fehlt", name});
    }
    TSetFileReading reading(url, probe, std::move(lines));
    std::u16string question = ReadSetValue(url, u"Text", u"Frage");
    // A teacher's set may say its question in the other two languages; the built-in ones have
    // theirs in the translation table.
    std::u16string question_en, question_cs;
    if (teacher) {
        question_en = ReadSetValue(url, u"Text", u"Frage_en");
        question_cs = ReadSetValue(url, u"Text", u"Frage_cs");
    }
    int pairs = TextToInt(ReadSetValue(url, u"Connect", u"Paarungen"));
    if (pairs < kPairsPerGame)
        return Refuse(set_file, u"it defines " + IntToText(pairs) + u" pairs, a game needs 8",
                      {u"Zu wenige Paare", IntToText(std::max(pairs, 0)) + u"/8"});
    if (pairs > kMaxPairNumbers)
        return Refuse(set_file, u"\"Paarungen\" is out of range", {u"Fehler in der Datei", name});

    // Drawn numbers are never drawn again, usable or not, so the loop always ends.
    std::set<int> drawn;
    std::array<TPairDraw, kPairsPerGame> chosen;
    TSoundTrouble trouble;
    int found = 0;
    while (found < kPairsPerGame) {
        if (int(drawn.size()) == pairs) {
            TSetRefusal refusal{u"Zu wenige Paare", IntToText(found) + u"/8"};
            if (!trouble.missing.empty())
                refusal = {u"Klang fehlt", trouble.missing};
            else if (!trouble.unreadable.empty())
                refusal = {u"Klang nicht lesbar", trouble.unreadable};
            return Refuse(set_file, u"fewer than 8 of its pairs can be played", refusal);
        }
        int k;
        do
            k = RandomInt(1, pairs);
        while (drawn.count(k));
        drawn.insert(k);
        if (LoadPair(set_file, url, k, chosen[found], trouble)) ++found;
    }
    for (int i = 0; i < kPairsPerGame; ++i) {
        PairSounds[2 * i] = chosen[i].a;
        PairSounds[2 * i + 1] = chosen[i].b;
    }
    refusals.erase(set_file);
    SetQuestion = question;
    SetQuestionEnglish = question_en;
    SetQuestionCzech = question_cs;
    TranslateQuestion();
    ReturnFreedMemory();
    return true;
}

std::vector<std::u16string> SoundsOfNextLoad(const std::u16string& set_file) {
    THeldDiagnostics quiet;
    const std::u16string url = AssetBase + set_file;
    TStreamHandle stream = OpenFileForReading(url);
    if (!stream) return {};
    std::vector<std::u16string> lines;
    while (!StreamAtEnd(stream))
        lines.push_back(ReadTextLine(stream));
    CloseFileHandle(stream);
    // The lookups of a load, over the lines read.
    auto value = [&](const std::u16string& section, const std::u16string& key) {
        return FindSetValue(lines, section, key);
    };
    const int pairs = TextToInt(value(u"Connect", u"Paarungen"));
    if (pairs < kPairsPerGame || pairs > kMaxPairNumbers) return {};
    // The same draws as the load's, on a copy of the generator's state.
    const int random = RandomState();
    std::vector<std::u16string> sounds;
    std::set<int> drawn;
    while (int(sounds.size()) < 2 * kPairsPerGame && int(drawn.size()) < pairs) {
        int k;
        do
            k = RandomInt(1, pairs);
        while (drawn.count(k));
        drawn.insert(k);
        const std::u16string line = value(u"Connect", IntToText(k));
        const size_t x = line.find(u'x');
        if (x == std::u16string::npos) continue;
        const std::u16string a = value(u"Sounds", IntToText(TextToInt(line.substr(0, x))));
        const std::u16string b = value(u"Sounds", IntToText(TextToInt(line.substr(x + 1, 2))));
        if (a.empty() || b.empty()) continue;
        sounds.push_back(AssetBase + a);
        sounds.push_back(AssetBase + b);
    }
    RestoreRandom(random);
    return sounds;
}

void TranslateQuestion() {
    std::u16string question;
    if (Language == u"English") question = SetQuestionEnglish;
    if (Language == u"Czech") question = SetQuestionCzech;
    if (question.empty()) question = TranslateOrKeep(SetQuestion);
    QuestionText = u"\"" + question + u"\"";
}

std::u16string SetDisplayName(const std::u16string& set_file) {
    const std::u16string name = FileNameOf(set_file);
    return name.substr(0, name.find(u'.'));
}

} // namespace tonvella
