#include "tests/game_menu/MenuSupport.h"
#include "tests/game_sets/SetFixtures.h"

#include "Translator/Translation.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/MainLoop.h"
#include "game/Menu.h"
#include "media/Events.h"
#include "media/Input.h"
#include "media/Text.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace tonvella;
using namespace menutest;

namespace {

constexpr int kEsc = 27, kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115, kF5 = 116, kF6 = 117,
              kF7 = 118, kKeypad1 = 97;
constexpr int kUnchanged = -1;

int Digit(int d) {
    return '0' + d;
}

// The state a key left behind, seen just before the next key is pressed.
struct TSeen {
    int page;
    bool restarted;
    int behaviour;
    std::u16string set, question, language, manual_language;
    int timeout;
};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGame();
        Script().before_press = [this] {
            seen.push_back({ShownMenuPage(), Scores[0] == 0, Behaviour, CurrentSetFile,
                            QuestionText, Language, ManualLanguage, MenuTimeout});
            pressed_at.push_back(Now());
            Scores[0] = 7; // a restart deals anew and sets it back to 0
        };
    }
    void TearDown() override { StopGame(); }

    // Runs the menu with the keys; returns the simulated ms it stayed open.
    int RunWith(std::initializer_list<int> keys) {
        Script().keys.assign(keys);
        int start = Now();
        RunMenu();
        return Now() - start;
    }

    std::vector<TSeen> seen; // seen[i + 1]: after key i
    std::vector<int> pressed_at;
};

} // namespace

TEST_F(MenuTest, EveryKeyActsAndShowsItsPage) {
    struct {
        const char* what;
        int key;
        int page;
        bool restarted;
        int behaviour;
        const char16_t* set;
        const char16_t* language;
        int timeout;                        // ms after the key, or kUnchanged
        const char16_t* question = nullptr; // part of the set's question; nullptr: not checked
    } steps[] = {
        {"F6 shows the sets", kF6, 6, false, 0, u"Genau das Gleiche.Set", u"Deutsch", 12000},
        {"2 chooses the second set of Dir.lst", Digit(2), 6, true, 0, u"Gleiche Melodie.Set",
         u"Deutsch", 12000, u"Suche die gleiche Melodie"},
        {"8 chooses the eighth", Digit(8), 6, true, 0, u"Schlag-Instrumente.Set", u"Deutsch", 12000,
         u"Suche das gleiche Schlaginstrument"},
        {"F2 switches to one turn each", kF2, 2, true, 1, u"Schlag-Instrumente.Set", u"Deutsch",
         3000},
        {"F2 again: the finder plays on", kF2, 2, true, 0, u"Schlag-Instrumente.Set", u"Deutsch",
         3000},
        {"F3 restarts", kF3, 3, true, 0, u"Schlag-Instrumente.Set", u"Deutsch", 3000},
        {"F5 about", kF5, 5, false, 0, u"Schlag-Instrumente.Set", u"Deutsch", 3000},
        {"F7 English, page kept", kF7, 5, false, 0, u"Schlag-Instrumente.Set", u"English",
         kUnchanged},
        {"F7 Czech", kF7, 5, false, 0, u"Schlag-Instrumente.Set", u"Czech", kUnchanged},
        {"F6 in Czech", kF6, 6, false, 0, u"Schlag-Instrumente.Set", u"Czech", 12000},
        {"5: the question comes in Czech", Digit(5), 6, true, 0, u"Gleiches Tempo.Set", u"Czech",
         12000, u"Najdi stejné tempo"},
        {"F7 back to German: the question follows", kF7, 6, false, 0, u"Gleiches Tempo.Set",
         u"Deutsch", kUnchanged, u"Suche das gleiche Tempo"},
        {"keypad 2 chooses like the digit row", kKeypad1 + 1, 6, true, 0, u"Gleiche Melodie.Set",
         u"Deutsch", 12000, u"Suche die gleiche Melodie"},
        {"keypad 8", kKeypad1 + 7, 6, true, 0, u"Schlag-Instrumente.Set", u"Deutsch", 12000},
        {"F7 English: the question follows", kF7, 6, false, 0, u"Schlag-Instrumente.Set",
         u"English", kUnchanged, u"Find the same percussion"},
        {"F7 Czech", kF7, 6, false, 0, u"Schlag-Instrumente.Set", u"Czech", kUnchanged},
        {"F7 German", kF7, 6, false, 0, u"Schlag-Instrumente.Set", u"Deutsch", kUnchanged,
         u"Suche das gleiche Schlaginstrument"},
        {"any other key: page 0", 'A', 0, false, 0, u"Schlag-Instrumente.Set", u"Deutsch",
         kUnchanged},
        {"F5", kF5, 5, false, 0, u"Schlag-Instrumente.Set", u"Deutsch", 3000},
        {"a German letter key is any other key too", 222, 0, false, 0, u"Schlag-Instrumente.Set",
         u"Deutsch", kUnchanged},
        {"F5", kF5, 5, false, 0, u"Schlag-Instrumente.Set", u"Deutsch", 3000},
        {"Escape on a page goes back to page 0", kEsc, 0, false, 0, u"Schlag-Instrumente.Set",
         u"Deutsch", kUnchanged},
    };
    Script().keys.clear();
    for (auto& s : steps)
        Script().keys.push_back(s.key);
    Script().keys.push_back(kEsc); // closes
    RunMenu();

    ASSERT_EQ(seen.size(), std::size(steps) + 1);
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& s = steps[i];
        const TSeen& after = seen[i + 1];
        SCOPED_TRACE(s.what);
        EXPECT_EQ(after.page, s.page);
        EXPECT_EQ(after.restarted, s.restarted);
        EXPECT_EQ(after.behaviour, s.behaviour);
        EXPECT_EQ(ToUtf8(after.set), ToUtf8(s.set));
        EXPECT_EQ(ToUtf8(after.language), ToUtf8(s.language));
        EXPECT_EQ(ToUtf8(after.manual_language), ToUtf8(s.language));
        if (s.timeout == kUnchanged) {
            EXPECT_EQ(after.timeout, seen[i].timeout);
        } else {
            EXPECT_GE(after.timeout - pressed_at[i], s.timeout);
            EXPECT_LE(after.timeout - pressed_at[i], s.timeout + 20);
        }
        if (s.question) {
            EXPECT_NE(after.question.find(s.question), std::u16string::npos)
                << ToUtf8(after.question);
        }
    }
    // The second Escape closed the menu at once, and the game does not see it.
    EXPECT_LT(Now() - pressed_at.back(), 100);
    EXPECT_EQ(KeyHitCount(kEsc), 0);
    EXPECT_TRUE(MainLoopPass()) << "an Escape of the menu reached the game";
}

TEST_F(MenuTest, PagesFallBackAndTheMenuClosesByItself) {
    struct {
        const char* what;
        std::vector<int> keys;
        int open_ms; // from the first key, or from the start without keys
    } cases[] = {
        {"no key: closes after 30 s", {}, 30000},
        {"about falls back after 3 s, then 30 s on page 0", {kF5}, 33000},
        {"behaviour page likewise", {kF2}, 33000},
        {"card page after 12 s", {kF6}, 42000},
        {"Escape on a page keeps its 3 s", {kF5, kEsc}, 3000},
        {"a page of its own restarts the 30 s of page 0", {kF5, 'A'}, 3000},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Script().keys.assign(c.keys.begin(), c.keys.end());
        int start = Now();
        RunMenu();
        int from = pressed_at.empty() ? start : pressed_at.front();
        EXPECT_GE(Now() - from, c.open_ms);
        EXPECT_LE(Now() - from, c.open_ms + 100);
        EXPECT_EQ(ShownMenuPage(), 0);
        seen.clear();
        pressed_at.clear();
        TearDown();
    }
}

TEST_F(MenuTest, ManualPageKeepsTheTimeLeft) {
    TScratchDir temp;
    TFakeOpener opener;
    SetEnv("TEMP", temp.path().string());
    Script().gap = 10000; // F1 ten seconds after the menu opened
    int open = RunWith({kF1});
    // Page 1 falls back when the first 30 s are over, then page 0 waits 30 s more.
    EXPECT_GE(open, 60000);
    EXPECT_LE(open, 60100);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(opener.WaitForAddresses(1).size(), 1u);
    UnsetEnv("TEMP");
}

TEST_F(MenuTest, EmptyPlacesAndUnloadableSetsLeaveTheSetInPlay) {
    TScratchDir assets;
    std::ofstream(assets.path() / "Dir.lst") << "Genau das Gleiche.Set\r\nKaputt.Set\r\n";
    std::ofstream(assets.path() / "Genau das Gleiche.Set") << ArchiveEntry("Genau das Gleiche.Set");
    std::ofstream(assets.path() / "Kaputt.Set") << "[Text]\nFrage=Kaputt\n[Connect]\n"
                                                   "Paarungen=2\n1=1x2\n2=3x4\n";
    AssetBase = FromUtf8(assets.path().string() + "/");
    QuestionText = u"\"Suche genau das Gleiche\"";

    RunWith({kF6, Digit(2), kF5, Digit(3), Digit(1), kEsc, kEsc});
    ASSERT_EQ(seen.size(), 7u);
    // 2 names a set with two pairs: refused, the set and question in play stay, no restart.
    EXPECT_EQ(ToUtf8(seen[2].set), "Genau das Gleiche.Set");
    EXPECT_EQ(ToUtf8(seen[2].question), "\"Suche genau das Gleiche\"");
    EXPECT_FALSE(seen[2].restarted);
    EXPECT_EQ(seen[2].page, 6);
    // 3 has no set: nothing at all happens, the about page stays with its time.
    EXPECT_EQ(seen[4].page, 5);
    EXPECT_FALSE(seen[4].restarted);
    EXPECT_EQ(seen[4].timeout, seen[3].timeout);
    EXPECT_EQ(ToUtf8(seen[4].set), "Genau das Gleiche.Set");
    // The menu still works: 1 loads the first set and restarts.
    EXPECT_TRUE(seen[5].restarted);
    EXPECT_EQ(seen[5].page, 6);
    EXPECT_EQ(ShownMenuPage(), 0);
}

TEST_F(MenuTest, PollAnyKeyTakesTheLowestKeyOnceReleased) {
    InstallPollFunction(nullptr);
    auto tap = [](int key) {
        TEvent e;
        e.id = EVENT_KEYDOWN;
        e.data = key;
        EmitEvent(e);
        e.id = EVENT_KEYUP;
        EmitEvent(e);
    };
    tap(120);
    tap(50);
    EXPECT_EQ(PollAnyKey(), 50);
    EXPECT_EQ(PollAnyKey(), 120) << "a key above the one returned keeps its hit";
    int before = Now();
    EXPECT_EQ(PollAnyKey(), 0);
    EXPECT_EQ(Now() - before, 5) << "no key: a 5 ms rest";
}

TEST_F(MenuTest, AHeldKeyActsOnlyWhenReleased) {
    Script().hold = 400;
    Script().keys = {kF3};
    int pressed = Now();
    EXPECT_EQ(PollAnyKey(), kF3);
    EXPECT_GE(Now() - pressed, 400);
    EXPECT_FALSE(IsKeyDown(kF3));
}

TEST_F(MenuTest, F4EndsTheProgramAtOnce) {
    EXPECT_EXIT(
        {
            Script().keys = {kF4};
            RunMenu();
            std::exit(3); // not reached when F4 works
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, KeysPressedDuringPlayDoNotActInTheMenu) {
    auto typed_during_play = [](std::initializer_list<int> keys) {
        for (int key : keys) {
            EmitEvent(EVENT_KEYDOWN, key);
            EmitEvent(EVENT_KEYUP, key);
        }
    };
    // F2 would switch the behaviour, a digit change the set. The menu reads the lowest key
    // first, so the key typed in it (F5) comes after all of them.
    typed_during_play({kF2, Digit(3), kKeypad1 + 2});
    RunWith({kF5, kEsc, kEsc});
    EXPECT_EQ(Behaviour, 0);
    EXPECT_EQ(ToUtf8(CurrentSetFile), "Genau das Gleiche.Set");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].page, 5) << "F5, the first key read, showed the about page";
    // F4 would end the program (with status 0) as soon as the menu opens.
    EXPECT_EXIT(
        {
            typed_during_play({kF4});
            RunWith({kEsc});
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST_F(MenuTest, TheCloseButtonEndsTheMenuAndTheGameAtOnce) {
    int presses = 0, closed_at = 0;
    Script().before_press = [&] {
        if (++presses == 2) { // the window is closed while the about page is shown
            EmitEvent(EVENT_APPTERMINATE);
            closed_at = Now();
        }
    };
    Script().keys = {kF5, 'A', 'A'};
    RunMenu();
    EXPECT_LT(Now() - closed_at, 1000);
    EXPECT_EQ(EndRequested, 1);
    EXPECT_FALSE(MainLoopPass()) << "the main loop must end as well";
    EndRequested = 0;
}

namespace {

// A catalogue of a test's own: `built_in` sets "S1.Set" ... in "Dir.lst" (copies of an archive
// set; the menu tests' sound driver loads any sound as silence), and in a teacher's folder
// "Unsere Lieder.Set", which plays, and "Kaputt.Set", which lacks a sound.
class TOwnCatalogue {
public:
    explicit TOwnCatalogue(int built_in) : folders(sets.path().string(), "/nonexistent") {
        std::string list;
        for (int i = 1; i <= built_in; ++i) {
            const std::string name = "S" + std::to_string(i) + ".Set";
            std::ofstream(assets.path() / name) << ArchiveEntry("Gleiches Tempo.Set");
            list += name + "\r\n";
        }
        std::ofstream(assets.path() / "Dir.lst") << list;
        AssetBase = FromUtf8(assets.path().string() + "/");
        const auto folder = sets.path() / "tonvella/sets";
        std::filesystem::create_directories(folder);
        settest::TSetSpec spec = settest::ToneSet(folder, 8);
        spec.text = {"Frage=Hört genau hin"};
        good = settest::WriteSet(folder, "Unsere Lieder.Set", spec);
        spec.sounds[3] = "Geige.wav";
        broken = settest::WriteSet(folder, "Kaputt.Set", spec);
    }
    TScratchDir assets;
    settest::TTempFolder sets;
    settest::TDataFolders folders;
    std::string good, broken;
};

struct TCardSeen {
    int page;
    bool restarted;
    std::string set;
    std::vector<TCardPageLine> lines;
    bool Has(const std::string& text, TCardLineKind kind = TCardLineKind::kPlain) const {
        for (const TCardPageLine& line : lines)
            if (ToUtf8(line.text) == text && line.kind == kind) return true;
        return false;
    }
    bool HasF6Line() const {
        for (const TCardPageLine& line : lines)
            if (ToUtf8(line.text).rfind("F6...", 0) == 0) return true;
        return false;
    }
    std::string Texts() const {
        std::string out;
        for (const TCardPageLine& line : lines)
            out += "[" + ToUtf8(line.text) + "] ";
        return out;
    }
};

} // namespace

// Eight sets or fewer fit on the card page as before; with more, F6 on that page turns to the
// next eight and from the last page back to the first, and a digit chooses from the page shown.
TEST_F(MenuTest, CardPagesTurnWithF6AndDigitsChooseFromThePageShown) {
    std::vector<TCardSeen> seen_cards;
    Script().before_press = [&] {
        seen_cards.push_back(
            {ShownMenuPage(), Scores[0] == 0, ToUtf8(CurrentSetFile),
             ShownMenuPage() == 6 ? CardPageLines() : std::vector<TCardPageLine>{}});
        Scores[0] = 7;
    };
    {
        TOwnCatalogue eight(6); // and the two teachers' sets: eight in all
        RunWith({kF6, kF6, kEsc, kEsc});
        ASSERT_EQ(seen_cards.size(), 4u);
        EXPECT_FALSE(seen_cards[1].HasF6Line()) << seen_cards[1].Texts();
        EXPECT_TRUE(seen_cards[2].Has("1..... S1")) << "F6 stays on the only page";
        EXPECT_TRUE(seen_cards[2].Has("8..... Unsere Lieder")) << seen_cards[2].Texts();
    }
    seen_cards.clear();
    TOwnCatalogue eleven(9); // places 10 and 11 are the teachers' sets
    RunWith({kF6, kF6, Digit(3), Digit(2), Digit(5), kF6, kKeypad1, 'A', Digit(2), kF6, kF6,
             kKeypad1 + 1, kF7, kEsc, kEsc});
    const std::string path = eleven.good, broken = eleven.broken;
    struct {
        const char* what;
        int page;
        bool restarted;
        std::string set;
        std::vector<std::string> shown; // lines of the page that must be there
        bool f6_line = true;
    } steps[] = {
        {"F6: the first page", 6, false, "Genau das Gleiche.Set", {"1..... S1", "8..... S8"}},
        {"F6 again: the next page",
         6,
         false,
         "Genau das Gleiche.Set",
         {"1..... S9", "3..... Unsere Lieder"}},
        {"3: the teacher's set", 6, true, path, {"3..... Unsere Lieder", "->"}},
        {"2: the broken set is refused", 6, false, path, {}},
        {"5: no set there, nothing happens", 6, false, path, {"1..... S9"}},
        {"F6 after the last page: the first again", 6, false, path, {"1..... S1"}},
        {"keypad 1 on the first page", 6, true, "S1.Set", {"1..... S1"}},
        {"any other key: page 0", 0, false, "S1.Set", {}, false},
        {"2 on page 0 chooses from the first page", 6, true, "S2.Set", {"2..... S2"}},
        {"F6 from the card page", 6, false, "S2.Set", {"1..... S9"}},
        {"F6 back to the first", 6, false, "S2.Set", {"1..... S1"}},
        {"keypad 2", 6, true, "S2.Set", {}},
        {"F7: the F6 line in English", 6, false, "S2.Set", {"F6...more cards"}},
    };
    ASSERT_EQ(seen_cards.size(), std::size(steps) + 2);
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& s = steps[i];
        const TCardSeen& after = seen_cards[i + 1];
        SCOPED_TRACE(s.what);
        EXPECT_EQ(after.page, s.page);
        EXPECT_EQ(after.restarted, s.restarted);
        EXPECT_EQ(after.set, s.set);
        for (const std::string& line : s.shown)
            EXPECT_TRUE(after.Has(line)) << line << " not in " << after.Texts();
        if (s.page == 6) {
            EXPECT_EQ(after.HasF6Line(), s.f6_line) << after.Texts();
        }
    }
}

// A teacher's set that cannot be played is marked in the list before it is chosen; choosing it
// says why in one line, in the current language, and the game in play stays as it was.
TEST_F(MenuTest, ABrokenTeachersSetIsMarkedAndExplained) {
    std::vector<TCardSeen> seen_cards;
    std::vector<std::u16string> questions;
    Script().before_press = [&] {
        seen_cards.push_back(
            {ShownMenuPage(), Scores[0] == 0, ToUtf8(CurrentSetFile),
             ShownMenuPage() == 6 ? CardPageLines() : std::vector<TCardPageLine>{}});
        questions.push_back(QuestionText);
        Scores[0] = 7;
    };
    TOwnCatalogue catalogue(3); // 4: "Kaputt", 5: "Unsere Lieder"
    RunWith({kF6, Digit(5), Digit(4), kF7, Digit(4), 'A', Digit(3), kEsc, kEsc});
    ASSERT_EQ(seen_cards.size(), 9u);
    EXPECT_TRUE(seen_cards[1].Has("4..... Kaputt (!)", TCardLineKind::kGreyed))
        << seen_cards[1].Texts();
    EXPECT_TRUE(seen_cards[1].Has("5..... Unsere Lieder")) << "shown as written";
    EXPECT_EQ(seen_cards[2].set, catalogue.good);
    EXPECT_EQ(ToUtf8(questions[2]), "\"Hört genau hin\"");
    // 4: refused, explained, and nothing of the game changed.
    const TCardSeen& refused = seen_cards[3];
    EXPECT_FALSE(refused.restarted);
    EXPECT_EQ(refused.set, catalogue.good);
    EXPECT_EQ(questions[3], questions[2]);
    EXPECT_TRUE(refused.Has("Klang fehlt: Geige.wav", TCardLineKind::kNotice)) << refused.Texts();
    // The next key takes the line away; in English it says the same in English.
    EXPECT_FALSE(seen_cards[4].Has("Klang fehlt: Geige.wav", TCardLineKind::kNotice));
    EXPECT_TRUE(seen_cards[5].Has("Sound missing: Geige.wav", TCardLineKind::kNotice))
        << seen_cards[5].Texts();
    EXPECT_EQ(seen_cards[5].set, catalogue.good);
    // The menu goes on: 3 from page 0 chooses a built-in set.
    EXPECT_TRUE(seen_cards[7].restarted);
    EXPECT_EQ(seen_cards[7].set, "S3.Set");
}
