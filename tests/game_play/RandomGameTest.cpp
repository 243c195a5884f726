// A player who does everything: thousands of seeded games driven through the real main loop
// with simulated time and input. Random presses, holds, instant clicks, drags across the cards
// and the drawer, and menu commands at random moments (during fades and camera travel too);
// after every pass of the loop the game's invariants must hold, and every game must still be
// finishable by playing correct pairs. A failing game names its seed:
//     TONVELLA_RANDOM_SEED=<seed> game_random_tests
// replays just that one, and TONVELLA_RANDOM_GAMES sets how many are played.
#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/MainLoop.h"
#include "game/Menu.h"
#include "game/Notes.h"
#include "game/Random.h"
#include "game/Room.h"
#include "game/Rules.h"
#include "media/Events.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "tests/game_play/HeadlessGame.h"
#include "tests/support/Env.h"

#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace tonvella;

namespace {

constexpr int kCards = 16;
constexpr int kEsc = 27;

constexpr int kDrawerX = 900, kDrawerY = 100;

// Loading a sound gives a silent one at once: the games restart often.
class TSilentDriver : public TAudioDriver {
public:
    std::u16string Name() override { return u"RandomGameSilence"; }
    TSoundHandle LoadSound(const std::u16string&, int) override {
        return std::make_shared<TSound>();
    }
};

struct TTimedEvent {
    int at, id, data, x, y;
};

// Time and input of the simulated player: events go out when their time has come; keys meant
// for the menu wait until the menu is open, and the menu is always closed again.
class TScript : public TClock {
public:
    int now = 0;
    std::deque<TTimedEvent> events;
    std::deque<int> menu_keys;

    int Now() override { return now; }
    void Sleep(int ms) override { now += ms > 0 ? ms : 0; }

    void Pump() {
        while (!events.empty() && events.front().at <= now) {
            TTimedEvent e = events.front();
            events.pop_front();
            EmitEvent(e.id, e.data, e.x, e.y);
        }
        if (!MenuRunning() || now < next_key) return;
        if (key_down) {
            EmitEvent(EVENT_KEYUP, key_down);
            key_down = 0;
            next_key = now + 20;
            return;
        }
        key_down = menu_keys.empty() ? kEsc : menu_keys.front();
        if (!menu_keys.empty()) menu_keys.pop_front();
        EmitEvent(EVENT_KEYDOWN, key_down);
        next_key = now + 15;
    }
    void At(int delay, int id, int data = 0, int x = 0, int y = 0) {
        const int after = events.empty() ? now : std::max(now, events.back().at);
        const int at = after + delay;
        events.push_back({at, id, data, x, y});
    }
    void Reset() {
        events.clear();
        menu_keys.clear();
        key_down = 0;
        next_key = 0;
    }

private:
    int key_down = 0;
    int next_key = 0;
};

TScript script;

void Pump() {
    script.Pump();
}

int PartnerOf(int card) {
    const int slot = CardSound[card], partner = slot % 2 == 0 ? slot + 1 : slot - 1;
    for (int i = 0; i < kCards; ++i)
        if (CardSound[i] == partner) return i;
    return -1;
}

class RandomGame {
public:
    explicit RandomGame(unsigned seed) : seed(seed), rng(seed) {}

    // Plays the game; returns an empty string or what went wrong first.
    std::string Play() {
        SeedRandom(int(seed % 2147483646u) + 1);
        script.Reset();
        script.now += 1000;
        Behaviour = int(rng() % 2);
        StartNewGame(); // the sounds of the set in play stay; restarts from the menu load anew
        Dirty = 1;
        finder = -1;
        const int actions = 4 + int(rng() % 16);
        for (int a = 0; a < actions && failure.empty(); ++a) {
            RandomAction();
            RunUntilScriptDone();
        }
        if (failure.empty()) Finish();
        return failure;
    }

private:
    unsigned seed;
    std::mt19937 rng;
    std::string failure;
    int finder = -1; // the player who found the last pair and has not lost the turn since
    int scores_seen[2] = {0, 0};
    int player_seen = 0;

    int Rand(int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); }

    void Fail(const std::string& why) {
        if (!failure.empty()) return;
        std::ostringstream out;
        out << "seed " << seed << " at " << script.now << " ms: " << why;
        failure = out.str();
    }

    void Press(int x, int y, int hold, bool instant) {
        script.At(Rand(0, 30), EVENT_MOUSEMOVE, 0, x, y);
        script.At(Rand(0, 20), EVENT_MOUSEDOWN, 1, x, y);
        script.At(instant ? 0 : hold, EVENT_MOUSEUP, 1, x, y);
    }

    void RandomAction() {
        const int card = Rand(0, kCards - 1);
        switch (Rand(0, 9)) {
        case 0:
        case 1:
        case 2: // listen to a card
            Press(CardPixelX(card), CardPixelY(card), Rand(10, 900), false);
            break;
        case 3:
        case 4: // a tap
            Press(CardPixelX(card), CardPixelY(card), 0, true);
            break;
        case 5: { // a drag across cards, perhaps into the drawer region
            script.At(0, EVENT_MOUSEMOVE, 0, CardPixelX(card), CardPixelY(card));
            script.At(Rand(0, 20), EVENT_MOUSEDOWN, 1, CardPixelX(card), CardPixelY(card));
            const int steps = Rand(1, 12);
            for (int i = 0; i < steps; ++i) {
                const bool drawer = Rand(0, 5) == 0;
                const int to = Rand(0, kCards - 1);
                script.At(Rand(1, 60), EVENT_MOUSEMOVE, 0, drawer ? kDrawerX : CardPixelX(to),
                          drawer ? kDrawerY : CardPixelY(to));
            }
            script.At(Rand(0, 50), EVENT_MOUSEUP, 1);
            break;
        }
        case 6: { // the menu, with a few commands
            Press(kDrawerX, kDrawerY, Rand(10, 300), Rand(0, 1) == 0);
            const int commands[] = {113, 114, 116, 117, 118, 'A', 222, '1', '2',
                                    '3', '5', '8', 97,  100, 104, 48,  '9'};
            const int n = Rand(0, 3);
            for (int i = 0; i < n; ++i)
                script.menu_keys.push_back(commands[Rand(0, int(std::size(commands)) - 1)]);
            break;
        }
        default: // a pause: fades, notes and the camera go on, or stop halfway
            script.At(Rand(5, 1500), EVENT_MOUSEMOVE, 0, 110 + Rand(0, 3), 720);
            break;
        }
    }

    void Pass() {
        KeepFrustumCurrent();
        const int steps = LoopStats().logic_steps;
        const bool drawer_moving = DrawerOpening == 1;
        if (!MainLoopPass()) Fail("the main loop ended");
        // Only logic steps and the drawer with its menu change what is checked.
        if (LoopStats().logic_steps != steps || drawer_moving) Check();
    }

    void RunUntilScriptDone() {
        const int deadline = script.now + 60000;
        while (failure.empty() && (!script.events.empty() || DrawerOpening)) {
            Pass();
            if (script.now > deadline) Fail("the script never ran out");
        }
        // Let some of what moves go on, a random share of it.
        const int settle = script.now + Rand(0, 400);
        while (failure.empty() && script.now < settle)
            Pass();
    }

    void Check() {
        auto in_range = [](int v) { return v >= -1 && v < kCards; };
        for (int v :
             {SelectedCard, FirstCard, PartnerCard, WrongCard, MatchedCard, MatchedFirstCard})
            if (!in_range(v)) return Fail("a card index is out of range: " + std::to_string(v));
        if (MatchedCard != -1) {
            if (MatchedFirstCard == -1 || PartnerOf(MatchedFirstCard) != MatchedCard)
                return Fail("the fading pair is not a pair");
            if (PartnerCard != MatchedCard) return Fail("PartnerCard left the fading pair");
        }
        int gone = 0;
        for (int i = 0; i < kCards; ++i) {
            if (EntityX(Cards[i]) != CardGridX(i))
                return Fail("card " + std::to_string(i) + " left its column: x " +
                            std::to_string(EntityX(Cards[i])) + ", lift state " +
                            std::to_string(LiftState) + ", selected " +
                            std::to_string(SelectedCard));
            const float z = EntityZ(Cards[i]);
            if (Gone(i)) {
                ++gone;
                if (z != CardGridZ(i) - 22) return Fail("a found card is not where it went");
                if (!Gone(PartnerOf(i))) return Fail("a card left the table without its pair");
            } else {
                if (z != CardGridZ(i)) return Fail("a card left its row");
                const bool fading = i == MatchedCard || i == MatchedFirstCard;
                if (Hidden(CardShadows[i]) && !(fading && MatchedCard != -1))
                    return Fail("a card on the table has no shadow");
            }
        }
        const int total = Scores[0] + Scores[1];
        if (Scores[0] % 2 || Scores[1] % 2) return Fail("an odd score");
        if (total != gone) return Fail("the scores do not count the pairs found");
        // Who may be told "nochmal!": the finder of the last pair, while it is still their turn.
        if (Scores[0] > scores_seen[0]) finder = 0;
        if (Scores[1] > scores_seen[1]) finder = 1;
        if (total == 0 || CurrentPlayer != player_seen) finder = -1;
        if (Scores[CurrentPlayer] > scores_seen[CurrentPlayer]) finder = CurrentPlayer;
        scores_seen[0] = Scores[0];
        scores_seen[1] = Scores[1];
        player_seen = CurrentPlayer;
        bool grey = false;
        const std::u16string message = StatusMessage(IsMouseDown(1) != 0, &grey);
        if (message == TranslateText(u"nochmal!") && finder != CurrentPlayer)
            return Fail("\"nochmal!\" for a player who did not just find a pair");
        if ((MatchedCard != -1) != (message == TranslateText(u"Gewonnen")))
            return Fail("\"Gewonnen\" shown without a fading pair, or missing during one");
        const bool over = total == kCards && PartnerCard == -1;
        const bool winner_text =
            message.find(TranslateText(u"Sieger Spieler")) != std::u16string::npos ||
            message == TranslateText(u"beide sind Sieger!");
        if (over != winner_text) return Fail("a winner text before the end, or none after it");
        if (DrawerOpening != 0 && DrawerOpening != 1) return Fail("the drawer state is broken");
    }

    // Keeps playing correct pairs until all sixteen cards are found.
    void Finish() {
        const int deadline = script.now + 600000;
        while (failure.empty() && Scores[0] + Scores[1] < kCards) {
            if (script.now > deadline) return Fail("the game could not be finished");
            int card = -1;
            if (MatchedCard == -1 && PartnerCard != -1 && FirstCard != -1 && !Gone(PartnerCard))
                card = PartnerCard; // the open first card's partner
            else if (PartnerCard == -1)
                for (int i = 0; i < kCards && card < 0; ++i)
                    if (!Gone(i)) card = i;
            if (card >= 0) Press(CardPixelX(card), CardPixelY(card), 40, false);
            // A restless mouse keeps the loop stepping every 10 ms while the pair fades.
            for (int i = 0; i < 70; ++i)
                script.At(10, EVENT_MOUSEMOVE, 0, 110 + i % 2, 720);
            RunUntilScriptDone();
        }
        if (!failure.empty()) return;
        while (failure.empty() && (MatchedCard != -1 || PartnerCard != -1) &&
               script.now < deadline) {
            script.At(10, EVENT_MOUSEMOVE, 0, 110 + Rand(0, 3), 720);
            RunUntilScriptDone();
        }
        bool grey = false;
        const std::u16string message = StatusMessage(false, &grey);
        const std::u16string winner =
            Scores[0] > Scores[1]   ? u"<--- " + TranslateText(u"Sieger Spieler") + u" 1!"
            : Scores[1] > Scores[0] ? u"    " + TranslateText(u"Sieger Spieler") + u" 2! --->"
                                    : TranslateText(u"beide sind Sieger!");
        if (message != winner) Fail("the end shows \"" + ToUtf8(message) + "\"");
    }
};

class RandomGameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        new TSilentDriver; // registers itself and lives for the whole run
        InstallClock(&script);
        InstallPollFunction(Pump);
        SetUpHeadlessGame(u"RandomGameSilence");
    }
    static void TearDownTestSuite() {
        InstallPollFunction(nullptr);
        InstallClock(nullptr);
    }
};

// Plays the games of seeds first .. first + games - 1 (TONVELLA_RANDOM_GAMES sets how many; the
// sanitized pass plays fewer), or just TONVELLA_RANDOM_SEED.
void PlayGames(unsigned first) {
    const int only = EnvInt("TONVELLA_RANDOM_SEED", 0);
    const int games = only ? 1 : EnvInt("TONVELLA_RANDOM_GAMES", 500);
    testing::internal::CaptureStdout(); // the set loader's diagnostics, thousands of them
    int failures = 0;
    std::string first_failure;
    for (int g = 0; g < games && failures < 5; ++g) {
        const unsigned seed = only ? unsigned(only) : first + unsigned(g);
        std::string failure = RandomGame(seed).Play();
        if (!failure.empty()) {
            if (first_failure.empty()) first_failure = failure;
            ++failures;
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(failures, 0) << "first failure: " << first_failure;
}

} // namespace

// Four batches, so that they can run side by side.
TEST_F(RandomGameTest, APlayerWhoDoesEverythingNeverBreaksTheGame1) {
    PlayGames(1);
}
TEST_F(RandomGameTest, APlayerWhoDoesEverythingNeverBreaksTheGame2) {
    PlayGames(100001);
}
TEST_F(RandomGameTest, APlayerWhoDoesEverythingNeverBreaksTheGame3) {
    PlayGames(200001);
}
TEST_F(RandomGameTest, APlayerWhoDoesEverythingNeverBreaksTheGame4) {
    PlayGames(300001);
}
