#include "CardSets.h"

#include "GameState.h"
#include "Random.h"
#include "Translator/Translation.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "streams/Stream.h"

#include <algorithm>
#include <set>
#include <vector>

namespace tonvella {

namespace {

constexpr int kPairsPerGame = 8;
constexpr int kMaxPairNumbers = 999; // pair keys are at most three digits

bool Contains(const std::u16string& text, char16_t c) {
    return text.find(c) != std::u16string::npos;
}

// The set file a load is reading: opened once for the whole load instead of once for each of
// its values, with the lines read so far. A lookup reads on from where the furthest one before it
// stopped, so the file is read in the same order and as far as before, a damaged part included.
struct TSetFile {
    std::u16string url;
    TStreamHandle stream;
    std::vector<std::u16string> lines;
};
TSetFile* loading = nullptr;

class TSetFileReading {
public:
    TSetFileReading(const std::u16string& url, TStreamHandle stream) : file{url, stream, {}} {
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

// The value of `key` in `[section]`, reading lines through `next` until it says there are none.
template <class TNextLine>
std::u16string FindValue(const std::u16string& header, const std::u16string& key, TNextLine next) {
    bool in_section = false;
    std::u16string line;
    while (next(line)) {
        if (!line.empty() && line[0] == u'\'') continue;
        size_t eq = line.find(u'=');
        if (eq != std::u16string::npos) {
            if (in_section && Contains(line, u'[')) break;
            if (in_section && line.compare(0, eq, key) == 0) return line.substr(eq + 1);
        } else if (line == header) {
            in_section = true;
        }
    }
    return u"";
}

struct TPairDraw {
    TSoundHandle a, b;
};

// One pair line "a" + "x" + "b" and its two sounds; false when the line or a sound is unusable.
bool LoadPair(const std::u16string& url, int number, TPairDraw& pair) {
    std::u16string line = ReadSetValue(url, u"Connect", IntToText(number));
    size_t x = line.find(u'x');
    if (x == std::u16string::npos) {
        DebugPrint(u"Card set " + url + u": pair " + IntToText(number) + u" has no \"x\"");
        return false;
    }
    int a = TextToInt(line.substr(0, x));
    int b = TextToInt(line.substr(x + 1, 2));
    std::u16string name_a = ReadSetValue(url, u"Sounds", IntToText(a));
    std::u16string name_b = ReadSetValue(url, u"Sounds", IntToText(b));
    if (name_a.empty() || name_b.empty()) {
        DebugPrint(u"Card set " + url + u": pair " + IntToText(number) + u" names sound " +
                   IntToText(name_a.empty() ? a : b) + u", which the set does not have");
        return false;
    }
    pair.a = LoadSoundFile(AssetBase + name_a, 0);
    pair.b = LoadSoundFile(AssetBase + name_b, 0);
    // The sound loader has already named the file and the reason in its one line.
    return pair.a && pair.b;
}

bool Refuse(const std::u16string& set_file, const std::u16string& why) {
    DebugPrint(u"Card set \"" + set_file + u"\" not loaded: " + why);
    return false;
}

} // namespace

std::u16string ReadSetValue(const std::u16string& file, const std::u16string& section,
                            const std::u16string& key) {
    const std::u16string header = u"[" + section + u"]";
    DebugPrint(u"Akt INI suche: " + file + u" " + header + u" " + key);
    if (loading && loading->url == file) {
        DebugPrint(u"Akt INI drin: 1");
        TSetFile& set = *loading;
        size_t at = 0;
        return FindValue(header, key, [&](std::u16string& line) {
            if (at == set.lines.size()) {
                if (StreamAtEnd(set.stream)) return false;
                set.lines.push_back(ReadTextLine(set.stream));
            }
            line = set.lines[at++];
            return true;
        });
    }
    TStreamHandle stream = OpenFileForReading(file);
    DebugPrint(u"Akt INI drin: " + std::u16string(stream ? u"1" : u"0"));
    if (!stream) return u"";
    std::u16string result = FindValue(header, key, [&](std::u16string& line) {
        if (StreamAtEnd(stream)) return false;
        line = ReadTextLine(stream);
        return true;
    });
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
}

bool LoadCardSet(const std::u16string& set_file) {
    const std::u16string url = AssetBase + set_file;
    // A missing set says so, rather than that it defines no pairs.
    TStreamHandle probe = OpenFileForReading(url);
    if (!probe) return Refuse(set_file, u"the file cannot be opened");
    TSetFileReading reading(url, probe);
    std::u16string question = ReadSetValue(url, u"Text", u"Frage");
    int pairs = TextToInt(ReadSetValue(url, u"Connect", u"Paarungen"));
    if (pairs < kPairsPerGame)
        return Refuse(set_file, u"it defines " + IntToText(pairs) + u" pairs, a game needs 8");
    if (pairs > kMaxPairNumbers) return Refuse(set_file, u"\"Paarungen\" is out of range");

    // Drawn numbers are never drawn again, usable or not, so the loop always ends.
    std::set<int> drawn;
    std::array<TPairDraw, kPairsPerGame> chosen;
    int found = 0;
    while (found < kPairsPerGame) {
        if (int(drawn.size()) == pairs)
            return Refuse(set_file, u"fewer than 8 of its pairs can be played");
        int k;
        do
            k = RandomInt(1, pairs);
        while (drawn.count(k));
        drawn.insert(k);
        if (LoadPair(url, k, chosen[found])) ++found;
    }
    for (int i = 0; i < kPairsPerGame; ++i) {
        PairSounds[2 * i] = chosen[i].a;
        PairSounds[2 * i + 1] = chosen[i].b;
    }
    SetQuestion = question;
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
        size_t at = 0;
        return FindValue(u"[" + section + u"]", key, [&](std::u16string& line) {
            if (at == lines.size()) return false;
            line = lines[at++];
            return true;
        });
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
    QuestionText = u"\"" + TranslateText(SetQuestion) + u"\"";
}

std::u16string SetDisplayName(const std::u16string& set_file) {
    return set_file.substr(0, set_file.find(u'.'));
}

} // namespace tonvella
