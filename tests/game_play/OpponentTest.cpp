// The computer opponent and keyboard play. Its memory is measured in simulated games against
// a player who forgets nothing and one who remembers nothing; its turns, the keyboard and a
// mixture of keyboard and mouse are played through the real main loop without a window.
#include "game/Opponent.h"
#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/KeyboardPlay.h"
#include "game/MainLoop.h"
#include "game/Menu.h"
#include "game/Random.h"
#include "game/Rules.h"
#include "media/Events.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "scene/Scene.h"
#include "tests/game_play/HeadlessGame.h"
#include "tests/support/Env.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <vector>

using namespace tonvella;

namespace {

constexpr int kCards = 16;

// ---- simulated games: the rules of a turn, without the table ----

enum class TPerson { Perfect, NoMemory };

struct TTally {
    int won = 0, lost = 0, drawn = 0;
};

// One game: player 1 is the person and starts, player 2 the computer; the finder plays on.
// Returns the computer's score minus the person's.
int SimulatedGame(int level, TPerson person, unsigned seed) {
    std::mt19937 rng(seed);
    std::array<int, kCards> slot;
    for (int i = 0; i < kCards; ++i)
        slot[i] = i;
    std::shuffle(slot.begin(), slot.end(), rng);
    std::array<bool, kCards> gone{};
    std::array<int, kCards> known; // what the perfect person heard
    known.fill(-1);
    TOpponentMind mind(level, seed * 7919u + 1u);
    int score[2] = {0, 0}, player = 0;
    auto person_choice = [&](int open) {
        std::vector<int> left;
        for (int i = 0; i < kCards; ++i)
            if (!gone[i] && i != open) left.push_back(i);
        if (person == TPerson::Perfect) {
            auto with = [&](int s, int except) {
                for (int i = 0; i < kCards; ++i)
                    if (!gone[i] && i != except && known[i] == s) return i;
                return -1;
            };
            if (open >= 0) {
                if (int c = with(slot[open] ^ 1, open); c >= 0) return c;
            } else {
                for (int i = 0; i < kCards; ++i)
                    if (!gone[i] && known[i] >= 0 && with(known[i] ^ 1, i) >= 0) return i;
            }
            std::vector<int> unheard;
            for (int i : left)
                if (known[i] < 0) unheard.push_back(i);
            if (!unheard.empty()) left = unheard;
        }
        return left[std::uniform_int_distribution<int>(0, int(left.size()) - 1)(rng)];
    };
    for (int pairs = 0; pairs < kCards / 2;) {
        const int first = player == 0 ? person_choice(-1) : mind.Choose(-1, gone);
        known[first] = slot[first];
        mind.Heard(first, slot[first]);
        const int second = player == 0 ? person_choice(first) : mind.Choose(first, gone);
        known[second] = slot[second];
        mind.Heard(second, slot[second]);
        if ((slot[first] ^ 1) == slot[second]) {
            gone[first] = gone[second] = true;
            score[player] += 2;
            ++pairs;
        } else {
            player = 1 - player;
        }
    }
    return score[1] - score[0];
}

TTally Tally(int level, TPerson person, int games) {
    TTally t;
    for (int g = 0; g < games; ++g) {
        const int margin = SimulatedGame(level, person, unsigned(1000 * level + g + 1));
        (margin > 0 ? t.won : margin < 0 ? t.lost : t.drawn) += 1;
    }
    return t;
}

} // namespace

TEST(OpponentMemory, LevelsAreOrderedAndEvenTheHardestCanBeBeaten) {
    constexpr int kGames = 1000;
    TTally tally[4][2];
    std::printf("computer's games out of %d won / drawn / lost\n", kGames);
    std::printf("%-10s %-22s %-22s\n", "level", "vs perfect memory", "vs no memory");
    for (int level = kComputerEasy; level <= kComputerHard; ++level) {
        tally[level][0] = Tally(level, TPerson::Perfect, kGames);
        tally[level][1] = Tally(level, TPerson::NoMemory, kGames);
        std::printf("%-10s %4d / %3d / %4d       %4d / %3d / %4d\n",
                    ToUtf8(OpponentName(level)).c_str(), tally[level][0].won, tally[level][0].drawn,
                    tally[level][0].lost, tally[level][1].won, tally[level][1].drawn,
                    tally[level][1].lost);
    }
    for (int person = 0; person < 2; ++person) {
        SCOPED_TRACE(person == 0 ? "against perfect memory" : "against no memory");
        EXPECT_LT(tally[kComputerEasy][person].won, tally[kComputerMedium][person].won);
        EXPECT_LT(tally[kComputerMedium][person].won, tally[kComputerHard][person].won);
        EXPECT_GT(tally[kComputerEasy][person].lost, tally[kComputerMedium][person].lost);
        EXPECT_GT(tally[kComputerMedium][person].lost, tally[kComputerHard][person].lost);
    }
    // Hard is strong but a careful player beats it often; easy is beaten by one most of the time
    // and still beats a player who does not try to remember.
    EXPECT_GT(tally[kComputerHard][0].lost, kGames / 5);
    EXPECT_GT(tally[kComputerHard][1].won, kGames * 9 / 10);
    EXPECT_GT(tally[kComputerEasy][0].lost, kGames * 3 / 5);
    EXPECT_GT(tally[kComputerEasy][1].won, tally[kComputerEasy][1].lost);
}

// ---- games through the main loop ----

namespace {

class TSilentDriver : public TAudioDriver {
public:
    std::u16string Name() override { return u"OpponentSilence"; }
    TSoundHandle LoadSound(const std::u16string&, int) override {
        return std::make_shared<TSound>();
    }
};

enum class THands { Mouse, Keys, Mixed };

// Player 1 (and player 2 when it is a person): remembers every card it heard played, by whoever
// played it, and plays known pairs. It acts once per simulated millisecond, at the start of a
// pass, and waits for states, never for times. With the keys it steps over the places with the
// arrows and holds Space; `Keys` sends no mouse event at all.
class TTablePlayer : public TClock {
public:
    int now = 0;
    THands hands = THands::Mouse;
    int presses = 0, mouse_events = 0;
    std::vector<int> picks;        // every card picked, by whoever
    std::vector<bool> by_computer; // and whether the computer picked it
    int computer_picks = 0;
    // The volume of the last card's sound just before each of the computer's picks.
    std::vector<float> volume_before_computer_picks;
    // Called when the computer is about to choose a card for the n-th time (from 1): its turn
    // has come, or its first card is down again.
    std::function<void(int)> on_computer_choice;

    int Now() override { return now; }
    void Sleep(int ms) override { now += ms > 0 ? ms : 0; }

    void Reset() {
        heard.fill(-1);
        phase = Phase::Choose;
        until = now + 200;
        presses = mouse_events = 0;
        picks.clear();
        by_computer.clear();
        computer_picks = 0;
        volume_before_computer_picks.clear();
        computer_choices = 0;
        was_choosing = false;
        lifted_seen = -1;
    }

    void Pump() {
        if (now == last) return;
        last = now;
        Listen();
        if (MenuRunning() || now < until) return;
        switch (phase) {
        case Phase::Choose:
            if (ComputersTurn() || MatchedCard != -1 || WrongCard != -1 || LiftState != 0 ||
                DrawerOpening || Scores[0] + Scores[1] == kCards)
                return;
            target = Choose();
            by_keys = hands == THands::Keys || (hands == THands::Mixed && presses % 3 != 0);
            if (by_keys) {
                phase = Phase::Walk;
            } else {
                Mouse(EVENT_MOUSEMOVE, 0);
                phase = Phase::Press;
                until = now + 15;
            }
            break;
        case Phase::Walk:
            if (key_down) {
                EmitEvent(EVENT_KEYUP, key_down);
                key_down = 0;
                until = now + 15; // the logic step takes the key
                return;
            }
            if (!KeyboardLeads()) {
                Key(target % 4 == 0 ? 39 : 37); // any arrow gives the keyboard the lead
                return;
            }
            if (KeyboardPlace() == target) {
                EmitEvent(EVENT_KEYDOWN, 32);
                ++presses;
                phase = Phase::Hold;
                until = now + 20;
                return;
            }
            if (KeyboardPlace() % 4 < target % 4)
                Key(39);
            else if (KeyboardPlace() % 4 > target % 4)
                Key(37);
            else if (KeyboardPlace() / 4 < target / 4)
                Key(38);
            else
                Key(40);
            break;
        case Phase::Press:
            Mouse(EVENT_MOUSEDOWN, 1);
            ++presses;
            phase = Phase::Hold;
            until = now + 20;
            break;
        case Phase::Hold:
            if (!(SelectedCard == target && LiftState != 0) && now < give_up) return;
            if (by_keys)
                EmitEvent(EVENT_KEYUP, 32);
            else
                Mouse(EVENT_MOUSEUP, 1);
            phase = Phase::Choose;
            until = now + 30;
            break;
        }
        if (phase == Phase::Hold && give_up < now) give_up = now + 3000;
    }

private:
    enum class Phase { Choose, Walk, Press, Hold };
    Phase phase = Phase::Choose;
    std::array<int, kCards> heard;
    int until = 0, last = -1, target = 0, key_down = 0, give_up = 0;
    int computer_choices = 0, lifted_seen = -1;
    float volume_seen = 0;
    bool by_keys = false, was_choosing = false;

    void Mouse(int id, int button) {
        EmitEvent(id, button, CardPixelX(target), CardPixelY(target));
        ++mouse_events;
    }
    void Key(int key) {
        EmitEvent(EVENT_KEYDOWN, key);
        key_down = key;
        until = now + 5;
    }
    // What a person at the table hears and sees.
    void Listen() {
        const bool choosing = ComputersTurn() && PlayerArrived == 1 && LiftState == 0 &&
                              MatchedCard == -1 && WrongCard == -1;
        if (choosing && !was_choosing && on_computer_choice) on_computer_choice(++computer_choices);
        was_choosing = choosing;
        if (LiftState != 0 && SelectedCard >= 0) {
            if (SelectedCard != lifted_seen) {
                picks.push_back(SelectedCard);
                by_computer.push_back(ComputersTurn());
                computer_picks += ComputersTurn() ? 1 : 0;
                if (ComputersTurn()) volume_before_computer_picks.push_back(volume_seen);
            }
            heard[SelectedCard] = CardSound[SelectedCard];
            lifted_seen = SelectedCard;
        } else if (LiftState == 0) {
            lifted_seen = -1;
        }
        volume_seen = SoundVolume;
    }
    int Known(int slot, int except) const {
        for (int i = 0; i < kCards; ++i)
            if (heard[i] == slot && i != except && !Gone(i)) return i;
        return -1;
    }
    int Choose() const {
        if (PartnerCard == -1) {
            for (int i = 0; i < kCards; ++i)
                if (heard[i] >= 0 && !Gone(i) && Known(heard[i] ^ 1, i) >= 0) return i;
        } else if (int partner = Known(heard[FirstCard] ^ 1, FirstCard); partner >= 0) {
            return partner;
        }
        for (int i = 0; i < kCards; ++i)
            if (heard[i] < 0 && !Gone(i) && i != FirstCard) return i;
        for (int i = 0; i < kCards; ++i)
            if (!Gone(i) && i != FirstCard) return i;
        return 0;
    }
};

TTablePlayer table_player;

void PumpTable() {
    table_player.Pump();
}

std::u16string WinnerText() {
    return Scores[0] > Scores[1]   ? u"<--- " + TranslateText(u"Sieger Spieler") + u" 1!"
           : Scores[1] > Scores[0] ? u"    " + TranslateText(u"Sieger Spieler") + u" 2! --->"
                                   : TranslateText(u"beide sind Sieger!");
}

class TableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        new TSilentDriver; // registers itself and lives for the whole run
        InstallClock(&table_player);
        InstallPollFunction(PumpTable);
        SetUpHeadlessGame(u"OpponentSilence");
    }
    static void TearDownTestSuite() {
        InstallPollFunction(nullptr);
        InstallClock(nullptr);
    }
    // A new game against `opponent`; plays it to the end, true when it got there.
    static bool PlayGame(int opponent, THands hands, unsigned seed, int behaviour = 0) {
        table_player.now += 1000;
        Opponent = opponent;
        Behaviour = behaviour;
        SeedRandom(int(seed));
        StartNewGame();
        SeedOpponent(seed);
        table_player.hands = hands;
        table_player.Reset();
        const int deadline = table_player.now + 30 * 60 * 1000;
        while (table_player.now < deadline &&
               !(Scores[0] + Scores[1] == kCards && PartnerCard == -1)) {
            KeepFrustumCurrent();
            if (!MainLoopPass()) return false;
        }
        return Scores[0] + Scores[1] == kCards;
    }
    static std::u16string Status() {
        bool grey = false;
        return StatusMessage(false, &grey);
    }
};

} // namespace

TEST_F(TableTest, AGameAgainstEachLevelEndsWithAWinner) {
    for (int level = kComputerEasy; level <= kComputerHard; ++level) {
        SCOPED_TRACE(ToUtf8(OpponentName(level)));
        testing::internal::CaptureStdout();
        ASSERT_TRUE(PlayGame(level, THands::Mouse, 40 + unsigned(level)));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(Status(), WinnerText());
        EXPECT_GT(table_player.computer_picks, 0) << "the computer never played";
        EXPECT_NE(out.find("Computer: "), std::string::npos);
        // It listens to the end: each of its cards is heard on its own, not over the fading
        // sound of the card before.
        for (float volume : table_player.volume_before_computer_picks)
            EXPECT_EQ(volume, 0.0f) << "a card of the computer cut into the last card's sound";
    }
}

TEST_F(TableTest, KeyboardGamesReachTheEnd) {
    struct {
        const char* name;
        int opponent;
        THands hands;
        int behaviour;
    } cases[] = {
        {"two people, keys only", kHuman, THands::Keys, 0},
        {"two people, keys only, the turn always passes", kHuman, THands::Keys, 1},
        {"two people, keys and mouse by turns", kHuman, THands::Mixed, 0},
        {"against the computer, keys only", kComputerMedium, THands::Keys, 0},
        {"against the computer, keys and mouse", kComputerHard, THands::Mixed, 1},
    };
    unsigned seed = 70;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        const bool ended = PlayGame(c.opponent, c.hands, ++seed, c.behaviour);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(ended);
        EXPECT_EQ(Status(), WinnerText());
        if (c.hands == THands::Keys)
            EXPECT_EQ(table_player.mouse_events, 0);
        else
            EXPECT_GT(table_player.mouse_events, 0);
        // A player who remembers needs at most two presses per card and one per pair.
        if (c.opponent == kHuman) {
            EXPECT_LE(table_player.presses, 48);
        }
    }
}

// The computer hears the cards that are played and nothing else: exchanging the sounds of the
// cards it has not heard, just before it chooses a card, does not change its choices until one
// of those cards is played. Each game is played twice from the same seed, the second time with
// the exchange at one of the computer's choices, of a first or of a second card.
// TONVELLA_SWAP_SEEDS sets how many seeds are played (the sanitized pass plays fewer).
TEST_F(TableTest, SoundsOfUnheardCardsDoNotChangeItsMoves) {
    const int seeds = EnvInt("TONVELLA_SWAP_SEEDS", 300);
    int compared = 0, swaps = 0, second_cards = 0;
    for (unsigned seed = 1; seed <= unsigned(seeds); ++seed) {
        const int level = kComputerEasy + int(seed % 3);
        const int at_choice = 1 + int(seed / 3 % 8);
        std::vector<int> swapped_cards;
        std::vector<int> picks[2];
        std::vector<bool> by_computer[2];
        int picks_from = -1;
        for (int run = 0; run < 2; ++run) {
            table_player.on_computer_choice = [&](int choice) {
                if (choice != at_choice) return;
                if (run == 0) {
                    swapped_cards.clear();
                    for (int i = 0; i < kCards; ++i)
                        if (!Gone(i) && !OpponentMind().HasHeard(i)) swapped_cards.push_back(i);
                    picks_from = int(table_player.picks.size());
                    second_cards += PartnerCard != -1 ? 1 : 0;
                    return;
                }
                // The unheard cards' sounds go round by one place; the open card's partner is
                // then another card.
                for (std::size_t k = 1; k < swapped_cards.size(); ++k)
                    std::swap(CardSound[swapped_cards[0]], CardSound[swapped_cards[k]]);
                if (PartnerCard != -1)
                    for (int i = 0; i < kCards; ++i)
                        if (CardSound[i] == (CardSound[FirstCard] ^ 1)) PartnerCard = i;
                ++swaps;
            };
            testing::internal::CaptureStdout();
            const bool ended = PlayGame(level, THands::Mouse, 500 + seed);
            testing::internal::GetCapturedStdout();
            table_player.on_computer_choice = nullptr;
            ASSERT_TRUE(ended) << "seed " << seed;
            picks[run] = table_player.picks;
            by_computer[run] = table_player.by_computer;
        }
        if (picks_from < 0 || swapped_cards.size() < 2) continue;
        // The picks from there on, up to and including the first pick of a swapped card.
        for (std::size_t i = std::size_t(picks_from); i < picks[0].size(); ++i) {
            ASSERT_LT(i, picks[1].size()) << "seed " << seed;
            ASSERT_EQ(picks[0][i], picks[1][i]) << "seed " << seed << ", pick " << i;
            ASSERT_EQ(by_computer[0][i], by_computer[1][i]) << "seed " << seed << ", pick " << i;
            compared += by_computer[0][i] ? 1 : 0;
            if (std::find(swapped_cards.begin(), swapped_cards.end(), picks[0][i]) !=
                swapped_cards.end())
                break;
        }
    }
    // Most games reach the chosen choice, and some of those are of a second card.
    EXPECT_GT(swaps, seeds / 2);
    EXPECT_GT(second_cards, seeds * 2 / 15);
    EXPECT_GE(compared, swaps); // at least the pick that follows each exchange
}
