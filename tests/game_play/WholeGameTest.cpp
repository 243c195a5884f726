// A whole two-player game in the real window, played through the mouse by a player who
// remembers which card played which sound. Time is simulated: the loop's sleeps advance it.
#include "game/Board.h"
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/MainLoop.h"
#include "game/Menu.h"
#include "game/Opponent.h"
#include "game/Rules.h"
#include "game/Startup.h"
#include "media/Events.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "scene/Scene.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

using namespace tonvella;

namespace {

// Window pixels over card i.
int CardPixelX(int i) {
    return WindowX(CardGridX(i));
}
int CardPixelY(int i) {
    return WindowY(CardGridZ(i));
}

class TPlayer : public TClock {
public:
    int now = 0;
    std::array<int, 16> heard; // the sound (slot) a card played, -1 not yet heard
    int presses = 0;
    bool winner_shown = false;
    std::u16string final_message;

    // instant: every press and its release reach the game together, as a tap on a touch screen
    // or a click on a busy machine does.
    // opponent: F10 opens the menu first and F8 is pressed that many times, so that player 2 is
    // the computer of that level; the player then plays only its own turns.
    explicit TPlayer(bool instant = false, int opponent = 0) : instant(instant) {
        heard.fill(-1);
        for (int i = 0; i < opponent; ++i)
            menu_keys.push_back(119); // F8
        if (opponent > 0) {
            menu_keys.push_back(27); // from the opponent page back to the list
            menu_keys.push_back(27); // and back to the game
            phase = Phase::Menu;
        }
    }
    int computer_cards = 0;

    int Now() override {
        if (now != last_tick) {
            last_tick = now;
            Tick();
        }
        return now;
    }
    // The player also acts while the program sleeps: the menu sleeps while it waits for a key
    // to be released.
    void Sleep(int ms) override {
        now += ms;
        if (MenuRunning()) Now();
    }
    // An idle loop waits for input: simulated time runs on until the player acts, as it would
    // with a person; the window system's real wait would leave it standing still.
    void WaitForInput(int ms, TInputCheck arrived) override {
        for (int i = 0; i < ms; ++i) {
            Sleep(1);
            Now();
            if (arrived && arrived()) return;
        }
    }

private:
    bool instant;
    enum class Phase { Menu, Wait, Press, Hold, Settle, Done };
    std::vector<int> menu_keys;
    int key_down = 0;
    int lifted_seen = -1;
    // What a person at the table hears: every card played, by either player.
    void Listen() {
        if (LiftState != 0 && SelectedCard >= 0) {
            if (SelectedCard != lifted_seen && ComputersTurn()) ++computer_cards;
            heard[SelectedCard] = CardSound[SelectedCard];
            lifted_seen = SelectedCard;
        } else if (LiftState == 0) {
            lifted_seen = -1;
        }
    }
    Phase phase = Phase::Wait;
    int until = 500;
    int target = -1;
    int last_tick = -1;
    int jiggle = 0;
    static bool Gone(int i) { return EntityZ(Cards[i]) < -10; }
    int CardWithSound(int slot, int except) const {
        for (int i = 0; i < 16; ++i)
            if (heard[i] == slot && i != except && !Gone(i)) return i;
        return -1;
    }
    int Unheard(int except) const {
        for (int i = 0; i < 16; ++i)
            if (heard[i] < 0 && i != except && !Gone(i)) return i;
        return -1;
    }
    int Choose() const {
        if (PartnerCard == -1) { // a first card: a known pair if there is one
            for (int i = 0; i < 16; ++i)
                if (heard[i] >= 0 && !Gone(i) && CardWithSound(heard[i] ^ 1, i) >= 0) return i;
            return Unheard(-1);
        }
        int partner = CardWithSound(heard[FirstCard] ^ 1, FirstCard);
        return partner >= 0 ? partner : Unheard(FirstCard);
    }
    void Tick() {
        Listen();
        if (now < until) return;
        switch (phase) {
        case Phase::Menu:
            until = now + 30;
            if (key_down) {
                EmitEvent(EVENT_KEYUP, key_down, 0, 0);
                key_down = 0;
            } else if (!MenuRunning()) {
                if (menu_keys.empty()) {
                    phase = Phase::Wait;
                    until = now + 200;
                } else if (LoopStats().logic_steps > 0) {
                    EmitEvent(EVENT_KEYDOWN, 121, 0, 0); // F10: the drawer opens
                    key_down = 121;
                    until = now + 500;
                }
            } else if (!menu_keys.empty()) {
                key_down = menu_keys.front();
                menu_keys.erase(menu_keys.begin());
                EmitEvent(EVENT_KEYDOWN, key_down, 0, 0);
            }
            break;
        case Phase::Wait:
            if (ComputersTurn()) {
                // Its turn: watch and listen, with a restless mouse that it does not notice.
                EmitEvent(EVENT_MOUSEMOVE, 0, 110 + (++jiggle % 2), 720);
                until = now + 10;
                return;
            }
            if (Scores[0] + Scores[1] == 16) { // the computer found the last pair
                phase = Phase::Settle;
                return;
            }
            target = Choose();
            if (target < 0) return;
            EmitEvent(EVENT_MOUSEMOVE, 0, CardPixelX(target), CardPixelY(target));
            phase = Phase::Press;
            until = now + 20;
            break;
        case Phase::Press:
            EmitEvent(EVENT_MOUSEDOWN, 1, CardPixelX(target), CardPixelY(target));
            if (instant) EmitEvent(EVENT_MOUSEUP, 1, CardPixelX(target), CardPixelY(target));
            ++presses;
            phase = Phase::Hold;
            until = now + 200;
            break;
        case Phase::Hold:
            if (SelectedCard == target) heard[target] = CardSound[target]; // what the card played
            if (!instant) EmitEvent(EVENT_MOUSEUP, 1, CardPixelX(target), CardPixelY(target));
            phase = Phase::Settle;
            until = now + 30;
            break;
        case Phase::Settle:
            // Small movements keep the loop busy, so that fades run at the full step rate.
            EmitEvent(EVENT_MOUSEMOVE, 0, CardPixelX(target) + (++jiggle % 2), CardPixelY(target));
            if (MatchedCard != -1 || WrongCard != -1 || LiftState != 0 || ComputersTurn()) {
                if (ComputersTurn()) phase = Phase::Wait;
                return;
            }
            if (Scores[0] + Scores[1] == 16) {
                bool grey = false;
                final_message = StatusMessage(false, &grey);
                EmitEvent(EVENT_KEYDOWN, 27, 0, 0);
                phase = Phase::Done;
                return;
            }
            if (presses > 100) { // give up rather than play forever
                EmitEvent(EVENT_KEYDOWN, 27, 0, 0);
                phase = Phase::Done;
                return;
            }
            phase = Phase::Wait;
            break;
        case Phase::Done:
            break;
        }
    }
};

void PlayWholeGame(bool instant_clicks, int opponent = 0) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TPlayer player(instant_clicks, opponent);
    InstallClock(&player);
    testing::internal::CaptureStdout();
    int status = RunProgram();
    std::string out = testing::internal::GetCapturedStdout();
    InstallClock(nullptr);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(Scores[0] + Scores[1], 16);
    EXPECT_EQ(Scores[0] % 2, 0);
    if (opponent == 0) {
        // A player who remembers needs at most two presses per card and one per pair.
        EXPECT_LE(player.presses, 48);
    } else {
        EXPECT_EQ(Opponent, opponent);
        EXPECT_GT(player.computer_cards, 0) << "the computer never played";
        EXPECT_NE(out.find("Computer: "), std::string::npos);
    }
    std::string message = ToUtf8(player.final_message);
    if (Scores[0] > Scores[1])
        EXPECT_EQ(message, "<--- Sieger Spieler 1!");
    else if (Scores[1] > Scores[0])
        EXPECT_EQ(message, "    Sieger Spieler 2! --->");
    else
        EXPECT_EQ(message, "beide sind Sieger!");
    EXPECT_NE(out.find("vor REPEAT"), std::string::npos);
    EXPECT_GT(LoopStats().frames, 10);
}

} // namespace

TEST(WholeGame, TwoPlayersPlayUntilAllPairsAreFound) {
    PlayWholeGame(false);
}

TEST(WholeGame, EveryClickCountsEvenWhenItEndsBeforeTheGameLooks) {
    PlayWholeGame(true);
}

// Chosen in the menu with F10 and F8, one test per level.
TEST(WholeGame, AgainstTheEasyComputer) {
    PlayWholeGame(false, kComputerEasy);
}

TEST(WholeGame, AgainstTheMediumComputer) {
    PlayWholeGame(false, kComputerMedium);
}

TEST(WholeGame, AgainstTheHardComputer) {
    PlayWholeGame(false, kComputerHard);
}
