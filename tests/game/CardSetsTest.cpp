#include "game/CardSets.h"
#include "Translator/Translation.h"
#include "game/GameState.h"
#include "game/Random.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"
#include "tests/game_sets/SetFixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

using namespace tonvella;
namespace fs = std::filesystem;

namespace {

// A sound that only remembers where it came from.
class TNamedSound : public TSound {
public:
    explicit TNamedSound(std::u16string url) : url(std::move(url)) {}
    std::u16string url;
};

// Stands in for the sound card: loading gives named sounds, and names with "missing" fail.
class TRecordingDriver : public TAudioDriver {
public:
    std::u16string Name() override { return u"Recorder"; }
    TSoundHandle LoadSound(const std::u16string& url, int) override {
        if (url.find(u"missing") != std::u16string::npos) return nullptr;
        return std::make_shared<TNamedSound>(url);
    }
};

TRecordingDriver* recorder = nullptr;

std::string NameOf(const TSoundHandle& sound) {
    auto* named = dynamic_cast<TNamedSound*>(sound.get());
    if (!named) return "";
    std::string url = ToUtf8(named->url);
    return url.substr(url.rfind('/') + 1);
}

class CardSetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterGameBlobs();
        InitStreamProtocols();
        recorder = new TRecordingDriver; // registers itself; lives for the whole run
    }
    void SetUp() override {
        ASSERT_EQ(SelectAudioDriver(u"Recorder"), 1);
        // No teacher's set of this machine joins the catalogue; tests that want some make them.
        setenv("XDG_DATA_HOME", "/nonexistent/tonvella-test", 1);
        setenv("XDG_DATA_DIRS", "/nonexistent/tonvella-test", 1);
        CreateTranslationCaches();
        FillLanguageTable();
        dir = fs::temp_directory_path() / ("cardsets-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        AssetBase = FromUtf8(dir.string() + "/");
        PairSounds.fill(nullptr);
        QuestionText.clear();
        SeedRandom(12345);
    }
    void TearDown() override {
        fs::remove_all(dir);
        AssetBase = u"ZIP::Incbin::tt.zip//";
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    // A set of `sounds` sounds "S<n>.ogg" and the given pair lines.
    void WriteSet(const std::string& name, int sounds, const std::vector<std::string>& pairs,
                  int announced = -1) {
        std::string text = "[Text]\nFrage=Suche genau das Gleiche\n\n[Sounds]\n";
        for (int i = 1; i <= sounds; ++i)
            text += std::to_string(i) + "=S" + std::to_string(i) + ".ogg\n";
        text += "\n[Connect]\nPaarungen=" +
                std::to_string(announced < 0 ? int(pairs.size()) : announced) + "\n";
        for (size_t i = 0; i < pairs.size(); ++i)
            text += std::to_string(i + 1) + "=" + pairs[i] + "\n";
        Write(name, text);
    }
    std::u16string Url(const std::string& name) { return AssetBase + FromUtf8(name); }
    fs::path dir;
};

std::vector<std::string> NeighbourPairs(int n) {
    std::vector<std::string> pairs;
    for (int i = 1; i <= n; ++i)
        pairs.push_back(std::to_string(2 * i - 1) + "x" + std::to_string(2 * i));
    return pairs;
}

} // namespace

TEST_F(CardSetsTest, ReadSetValueFollowsTheFileFormat) {
    Write("f.Set", "'Frage=a comment\n"
                   "[Text]\n"
                   "Frage =with a blank\n"
                   "Fr\rage=CR is dropped anywhere\r\n"
                   "Titel=x[y\n"
                   "Nach=never reached\n"
                   "[Sounds]\n"
                   "1=one.ogg\n"
                   "[Connect]\n"
                   "Paarungen=8\n"
                   "Sp\xE4t=Latin-1 key\n"
                   "Last=no line end");
    struct {
        const char* section;
        const char16_t* key;
        const char16_t* value;
    } cases[] = {
        {"Text", u"Frage", u"CR is dropped anywhere"}, // the key with a blank does not count
        {"Text", u"Frage ", u"with a blank"},
        {"Text", u"Nach", u""}, // the "[" of an earlier value ends the search
        {"Sounds", u"1", u"one.ogg"},
        {"Sounds", u"Paarungen", u"8"}, // a later header does not end the section
        {"Connect", u"Spät", u"Latin-1 key"},
        {"Connect", u"Last", u"no line end"},
        {"Connect", u"Frage", u""},
        {"Missing", u"1", u""},
    };
    for (auto& c : cases)
        EXPECT_EQ(ReadSetValue(Url("f.Set"), FromUtf8(c.section), c.key), c.value)
            << c.section << " " << ToUtf8(c.key);
    EXPECT_EQ(ReadSetValue(Url("absent.Set"), u"Text", u"Frage"), u"");
}

TEST_F(CardSetsTest, CatalogCountsOnlySetLinesInAnyCase) {
    SetCatalog.fill(u"stale");
    Write("Dir.lst", "Eins.Set\r\nREADME.txt\nzwei.set\n\nDrei.SET\nvier.Sets\nFuenf.Set");
    ReadSetCatalog();
    EXPECT_EQ(SetCatalog[1], u"Eins.Set");
    EXPECT_EQ(SetCatalog[2], u"zwei.set");
    EXPECT_EQ(SetCatalog[3], u"Drei.SET");
    EXPECT_EQ(SetCatalog[4], u"Fuenf.Set");
    EXPECT_EQ(SetCatalog[5], u"stale"); // entries beyond the list keep what they had
}

TEST_F(CardSetsTest, LoadDrawsEightDistinctPairsIntoNeighbouringSlots) {
    WriteSet("n.Set", 40, NeighbourPairs(20));
    ASSERT_TRUE(LoadCardSet(u"n.Set"));
    std::set<std::string> seen;
    for (int k = 0; k < 8; ++k) {
        std::string a = NameOf(PairSounds[2 * k]), b = NameOf(PairSounds[2 * k + 1]);
        ASSERT_FALSE(a.empty());
        int na = std::stoi(a.substr(1)), nb = std::stoi(b.substr(1));
        EXPECT_EQ(na % 2, 1) << a;
        EXPECT_EQ(nb, na + 1) << "slot " << 2 * k << " and its partner";
        EXPECT_TRUE(seen.insert(a).second) << "pair drawn twice: " << a;
    }
    EXPECT_EQ(QuestionText, u"\"Suche genau das Gleiche\"");
    // Another seed gives another choice.
    std::set<std::string> first = seen;
    SeedRandom(999);
    ASSERT_TRUE(LoadCardSet(u"n.Set"));
    std::set<std::string> second;
    for (int k = 0; k < 8; ++k)
        second.insert(NameOf(PairSounds[2 * k]));
    EXPECT_NE(first, second);
}

TEST_F(CardSetsTest, ASetOfEightPairsAlwaysUsesAllOfThem) {
    std::vector<std::string> pairs;
    for (int i = 1; i <= 8; ++i)
        pairs.push_back(std::to_string(i) + "x" + std::to_string(i + 8));
    WriteSet("tempo.Set", 16, pairs);
    for (int seed : {1, 2, 3}) {
        SeedRandom(seed);
        ASSERT_TRUE(LoadCardSet(u"tempo.Set"));
        std::set<std::string> firsts;
        for (int k = 0; k < 8; ++k) {
            int a = std::stoi(NameOf(PairSounds[2 * k]).substr(1));
            EXPECT_EQ(std::stoi(NameOf(PairSounds[2 * k + 1]).substr(1)), a + 8);
            firsts.insert(NameOf(PairSounds[2 * k]));
        }
        EXPECT_EQ(firsts.size(), 8u);
    }
}

TEST_F(CardSetsTest, UnusablePairsAreSkippedAndTooFewUsableRefuseTheSet) {
    // Pairs 9 and 10 are broken: no "x", and a sound number the set does not have.
    std::vector<std::string> pairs = NeighbourPairs(8);
    pairs.push_back("17-18");
    pairs.push_back("1x40");
    WriteSet("broken.Set", 16, pairs);
    for (int seed = 1; seed <= 5; ++seed) {
        SeedRandom(seed);
        ASSERT_TRUE(LoadCardSet(u"broken.Set"));
        for (int s = 0; s < 16; ++s)
            ASSERT_NE(PairSounds[s], nullptr) << "slot " << s;
    }
    // With a sound file that cannot be loaded as well, only 7 usable pairs remain.
    std::string text = "[Sounds]\n1=missing.ogg\n";
    for (int i = 2; i <= 16; ++i)
        text += std::to_string(i) + "=S" + std::to_string(i) + ".ogg\n";
    text += "[Connect]\nPaarungen=10\n";
    for (int i = 0; i < 10; ++i)
        text += std::to_string(i + 1) + "=" + pairs[i] + "\n";
    Write("worse.Set", text);
    auto before = PairSounds;
    QuestionText = u"\"old\"";
    EXPECT_FALSE(LoadCardSet(u"worse.Set"));
    EXPECT_EQ(PairSounds, before);
    EXPECT_EQ(QuestionText, u"\"old\"");
}

// The start decodes the sounds of the first load ahead, so the look ahead must name exactly
// what the load then asks for, in its order, and leave no trace: no line, no draw.
TEST_F(CardSetsTest, TheSoundsOfTheNextLoadAreKnownAheadQuietlyAndWithoutADraw) {
    std::vector<std::string> broken = NeighbourPairs(8);
    broken.push_back("17-18"); // no "x"
    broken.push_back("1x40");  // a sound the set does not have
    WriteSet("n.Set", 40, NeighbourPairs(20));
    WriteSet("broken.Set", 16, broken);
    for (const char16_t* set : {u"n.Set", u"broken.Set"})
        for (int seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(ToUtf8(set) + " seed " + std::to_string(seed));
            SeedRandom(seed);
            const int random = RandomState();
            testing::internal::CaptureStdout();
            const std::vector<std::u16string> ahead = SoundsOfNextLoad(set);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
            EXPECT_EQ(RandomState(), random);
            ASSERT_TRUE(LoadCardSet(set));
            std::vector<std::u16string> loaded;
            for (int slot = 0; slot < 16; ++slot)
                loaded.push_back(dynamic_cast<TNamedSound&>(*PairSounds[slot]).url);
            EXPECT_EQ(ahead, loaded);
        }
    EXPECT_TRUE(SoundsOfNextLoad(u"absent.Set").empty());
}

TEST_F(CardSetsTest, SetsThatCannotGiveEightPairsAreRefused) {
    WriteSet("seven.Set", 14, NeighbourPairs(7));
    WriteSet("liar.Set", 16, NeighbourPairs(8), 9); // announces a pair it does not have
    WriteSet("huge.Set", 16, NeighbourPairs(8), 2000000000);
    ASSERT_TRUE(LoadCardSet(u"liar.Set")); // pair 9 is unusable; the other eight suffice
    auto loaded = PairSounds;
    for (const char16_t* name : {u"seven.Set", u"absent.Set", u"huge.Set"}) {
        EXPECT_FALSE(LoadCardSet(name)) << ToUtf8(name);
        EXPECT_EQ(PairSounds, loaded) << ToUtf8(name);
    }
}

TEST_F(CardSetsTest, DisplayNameIsTheFileNameUpToItsFirstDot) {
    EXPECT_EQ(SetDisplayName(u"Gleiche Melodie.Set"), u"Gleiche Melodie");
    EXPECT_EQ(SetDisplayName(u"a.b.Set"), u"a");
    EXPECT_EQ(SetDisplayName(u"plain"), u"plain");
}

TEST_F(CardSetsTest, TeachersSetsFollowTheBuiltInOnesByName) {
    Write("Dir.lst", "Eins.Set\nZwei.Set\n");
    settest::TTempFolder data;
    const fs::path home = data.path() / "home/tonvella/sets";
    const fs::path school = data.path() / "school/tonvella/sets";
    fs::create_directories(home);
    fs::create_directories(school);
    settest::WriteFile(home / "Unsere Lieder.Set", "");
    settest::WriteFile(school / "Bandinstrumente.Set", "");
    settest::WriteFile(school / "README.txt", "");
    settest::TDataFolders folders((data.path() / "home").string(),
                                  (data.path() / "school").string());
    SetCatalog.fill(u"stale");
    ReadSetCatalog();
    EXPECT_EQ(SetCount, 4);
    EXPECT_EQ(SetCatalog[1], u"Eins.Set");
    EXPECT_EQ(SetCatalog[2], u"Zwei.Set");
    EXPECT_EQ(ToUtf8(SetCatalog[3]), (school / "Bandinstrumente.Set").string());
    EXPECT_EQ(ToUtf8(SetCatalog[4]), (home / "Unsere Lieder.Set").string());
    EXPECT_EQ(SetCatalog[5], u"stale");
    EXPECT_EQ(SetDisplayName(SetCatalog[4]), u"Unsere Lieder");
}

// A teacher's set takes its sounds from beside its file, as the file system names them, and its
// question in the other languages from the file; what the table does not know is shown as
// written.
TEST_F(CardSetsTest, ATeachersSetLoadsItsOwnSoundsAndQuestions) {
    settest::TTempFolder folder;
    settest::TSetSpec spec = settest::ToneSet(folder.path(), 9);
    spec.text = {"Frage=Hört genau hin", "Frage_en=Listen closely", "Frage_cs=Poslouchej"};
    const std::u16string set = FromUtf8(settest::WriteSet(folder.path(), "Eigen.Set", spec));
    spec.text = {"Frage=Hört genau hin"};
    const std::u16string german_only =
        FromUtf8(settest::WriteSet(folder.path(), "Nur Deutsch.Set", spec));
    spec.text = {"Frage=Suche genau das Gleiche"};
    const std::u16string known = FromUtf8(settest::WriteSet(folder.path(), "Bekannt.Set", spec));
    // A sound of the same name where the game runs is no sound of this set.
    fs::remove(folder.path() / "T9-a.wav");
    settest::WriteFile(dir / "T9-a.wav", settest::ToneWav(440));

    const std::u16string table = u"Suche genau das Gleiche";
    struct {
        const std::u16string& set;
        std::u16string german, english, czech;
    } cases[] = {
        {set, u"Hört genau hin", u"Listen closely", u"Poslouchej"},
        {german_only, u"Hört genau hin", u"Hört genau hin", u"Hört genau hin"},
        {known, table, u"", u""}, // filled from the table below
    };
    CreateTranslationCaches();
    FillLanguageTable();
    NextLanguage();
    cases[2].english = TranslateText(table);
    NextLanguage();
    cases[2].czech = TranslateText(table);
    ASSERT_NE(cases[2].czech, table);
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.set));
        CreateTranslationCaches();
        FillLanguageTable();
        PairSounds.fill(nullptr);
        ASSERT_TRUE(LoadCardSet(c.set));
        for (int s = 0; s < 16; ++s)
            EXPECT_NE(PairSounds[s], nullptr) << "slot " << s;
        // As F7 in the menu switches the language.
        for (const std::u16string& expected : {c.german, c.english, c.czech}) {
            EXPECT_EQ(ToUtf8(QuestionText), "\"" + ToUtf8(expected) + "\"");
            NextLanguage();
            TranslateQuestion();
        }
    }
    // Pair 9 lost a sound: nine pairs still give a game, never with that pair, and the sound is
    // looked for beside the set only.
    std::string out;
    for (int seed = 1; seed <= 10; ++seed) {
        SeedRandom(seed);
        ::testing::internal::CaptureStdout();
        EXPECT_TRUE(LoadCardSet(set));
        out += ::testing::internal::GetCapturedStdout();
    }
    EXPECT_NE(out.find("Sound not loaded: " + (folder.path() / "T9-a.wav").string() + " (missing)"),
              std::string::npos)
        << out;
}

TEST_F(CardSetsTest, ABrokenTeachersSetNeverReplacesTheSetInPlay) {
    WriteSet("n.Set", 16, NeighbourPairs(8));
    ASSERT_TRUE(LoadCardSet(u"n.Set"));
    const auto in_play = PairSounds;
    const std::u16string question = QuestionText;
    settest::TTempFolder folder;
    settest::TSetSpec spec = settest::ToneSet(folder.path(), 8);
    spec.sounds[4] = "Trompete.ogg";
    const std::u16string set = FromUtf8(settest::WriteSet(folder.path(), "Kaputt.Set", spec));
    const std::u16string missing = FromUtf8((folder.path() / "Weg.Set").string());
    struct {
        const std::u16string& set;
        const char16_t* label;
        const char16_t* detail;
        const char* line; // a diagnostic line that says why
    } cases[] = {
        {set, u"Klang fehlt", u"Trompete.ogg", "Trompete.ogg (missing)"},
        {missing, u"Datei fehlt", u"Weg.Set", "Weg.Set\" not loaded: the file is missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.set));
        for (int seed = 1; seed <= 3; ++seed) {
            SeedRandom(seed);
            ::testing::internal::CaptureStdout();
            EXPECT_FALSE(LoadCardSet(c.set));
            const std::string out = ::testing::internal::GetCapturedStdout();
            EXPECT_NE(out.find(c.line), std::string::npos) << out;
            EXPECT_EQ(PairSounds, in_play);
            EXPECT_EQ(QuestionText, question);
            EXPECT_EQ(LastSetRefusal().label, c.label);
            EXPECT_EQ(LastSetRefusal().detail, c.detail);
            ASSERT_NE(SetRefusalOf(c.set), nullptr);
        }
    }
}

// The shipped archive: every set of the list loads eight pairs of real, decodable sounds.
TEST(ShippedCardSets, EverySetInTheListLoads) {
    RegisterGameBlobs();
    InitStreamProtocols();
    CreateTranslationCaches();
    FillLanguageTable();
    setenv("SDL_AUDIODRIVER", "dummy", 0); // no sound card needed
    ASSERT_EQ(SelectAudioDriver(u"DirectSound"), 1);
    AssetBase = u"ZIP::Incbin::tt.zip//";
    setenv("XDG_DATA_HOME", "/nonexistent/tonvella-test", 1);
    setenv("XDG_DATA_DIRS", "/nonexistent/tonvella-test", 1);
    SetCatalog.fill(u"");
    ReadSetCatalog();
    int sets = 0;
    for (int i = 1; i < 99 && !SetCatalog[i].empty(); ++i, ++sets) {
        SeedRandom(i);
        PairSounds.fill(nullptr);
        EXPECT_TRUE(LoadCardSet(SetCatalog[i])) << ToUtf8(SetCatalog[i]);
        for (int s = 0; s < 16; ++s)
            EXPECT_NE(PairSounds[s], nullptr) << ToUtf8(SetCatalog[i]) << " slot " << s;
        EXPECT_GT(QuestionText.size(), 2u);
    }
    EXPECT_EQ(sets, 11);
    EXPECT_EQ(SetCatalog[1], u"Genau das Gleiche.Set");
}

// The sample set installed for teachers: it plays through the real decoders, in three languages.
TEST(ShippedCardSets, TheSampleTeachersSetPlays) {
    RegisterGameBlobs();
    InitStreamProtocols();
    CreateTranslationCaches();
    FillLanguageTable();
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SelectAudioDriver(u"DirectSound"), 1);
    const std::u16string sample =
        FromUtf8(TONVELLA_SOURCE_DIR "/examples/sets/Beispiel Gleicher Ton.Set");
    SeedRandom(7);
    PairSounds.fill(nullptr);
    ASSERT_TRUE(LoadCardSet(sample));
    for (int s = 0; s < 16; ++s)
        EXPECT_NE(PairSounds[s], nullptr) << "slot " << s;
    for (const char* question :
         {"\"Suche den gleichen Ton\"", "\"Find the same note\"", "\"Najdi stejný tón\""}) {
        EXPECT_EQ(ToUtf8(QuestionText), question);
        NextLanguage();
        TranslateQuestion();
    }
}
