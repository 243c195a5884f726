#include "game/Opponent.h"

#include "game/Board.h"
#include "game/GameState.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"

#include <algorithm>
#include <cmath>

namespace tonvella {

namespace {

constexpr int kCards = 16;

// The chance of recalling a card heard just now, and how much of it is left after each further
// turn (two cards heard). Easy forgets within a few turns, as a child who does not yet try to
// remember; hard keeps nearly everything, though not quite, so that it can be beaten.
struct TMemoryStrength {
    double recall, per_turn;
};
constexpr TMemoryStrength kStrength[4] = {{0, 0}, {0.55, 0.72}, {0.8, 0.88}, {0.96, 0.97}};

constexpr int kThinkMs = 450;      // before it reaches for a first card
constexpr int kThinkAgainMs = 300; // before the second
constexpr int kTravelMs = 500;
constexpr int kHoldMs = 1500;
constexpr int kLongestStepMs = 50; // a longer gap is a pause (the menu), not time played

TOpponentMind mind;

enum class THand { Waiting, Thinking, Travelling, Holding, Releasing };
struct THandState {
    THand phase = THand::Waiting;
    int clock = 0; // time of its turn, in ms, paused with the game
    int last_now = 0;
    int until = 0;
    int target = -1;
    float from_x = 0, from_z = 0, x = 0, z = 0;
    bool placed = false; // x, z hold where its pointer is
};
THandState hand;

bool Gone(int card) {
    return EntityZ(Cards[card]) < -10;
}

// Its turn can go on: the camera has arrived and nothing of the last pick is pending.
bool ReadyToReach() {
    return PlayerArrived == 1 && MatchedCard == -1 && WrongCard == -1 && LiftState == kLiftAtRest &&
           Scores[0] + Scores[1] < kCards && DrawerOpening == 0;
}

// The last card's sound has not died away yet. The computer listens to the end before it
// thinks of the next card, as an attentive player does: the children hear each of its cards on
// its own, after a moment of silence, and on a slow machine, where the fade takes longer, it
// waits longer.
bool StillSounding() {
    return SoundVolume > 0;
}

} // namespace

const char16_t* OpponentName(int choice) {
    switch (choice) {
    case kComputerEasy:
        return u"Computer leicht";
    case kComputerMedium:
        return u"Computer mittel";
    case kComputerHard:
        return u"Computer schwer";
    default:
        return u"Mensch";
    }
}

TOpponentMind::TOpponentMind(int level, unsigned seed) : level(level), rng(seed) {
    Forget();
}

void TOpponentMind::Forget() {
    slot_heard.fill(-1);
    heard_at.fill(0);
    cards_heard = 0;
}

void TOpponentMind::Heard(int card, int slot) {
    if (card < 0 || card >= kCards) return;
    slot_heard[card] = slot;
    heard_at[card] = cards_heard++;
}

bool TOpponentMind::Recalls(int card, int open) {
    if (slot_heard[card] < 0) return false;
    if (card == open) return true; // it is playing now
    const TMemoryStrength& s = kStrength[std::clamp(level, 1, 3)];
    const double turns = double(cards_heard - 1 - heard_at[card]) / 2.0;
    const double chance = s.recall * std::pow(s.per_turn, turns);
    return std::uniform_real_distribution<double>(0, 1)(rng) < chance;
}

int TOpponentMind::Unknown(const std::array<bool, 16>& recalled, int except,
                           const std::array<bool, 16>& gone) {
    int candidates[kCards], n = 0;
    for (int i = 0; i < kCards; ++i)
        if (!gone[i] && !recalled[i] && i != except) candidates[n++] = i;
    if (n == 0) // everything left is known, and still no pair: take any other card
        for (int i = 0; i < kCards; ++i)
            if (!gone[i] && i != except) candidates[n++] = i;
    if (n == 0) return -1;
    return candidates[std::uniform_int_distribution<int>(0, n - 1)(rng)];
}

int TOpponentMind::Choose(int open, const std::array<bool, 16>& gone) {
    // What comes to mind now; the draws depend only on what was heard, in card order.
    std::array<bool, 16> recalled{};
    for (int i = 0; i < kCards; ++i)
        recalled[i] = !gone[i] && Recalls(i, open);
    auto recalled_with = [&](int slot, int except) {
        for (int i = 0; i < kCards; ++i)
            if (recalled[i] && i != except && slot_heard[i] == slot) return i;
        return -1;
    };
    if (open >= 0) {
        const int partner = recalled_with(slot_heard[open] ^ 1, open);
        return partner >= 0 ? partner : Unknown(recalled, open, gone);
    }
    for (int i = 0; i < kCards; ++i)
        if (recalled[i] && recalled_with(slot_heard[i] ^ 1, i) >= 0) return i;
    return Unknown(recalled, -1, gone);
}

void CardPlayedAloud(int card) {
    if (Opponent == kHuman) return;
    mind.Heard(card, CardSound[card]);
}

void OpponentNewGame() {
    mind.Forget();
    hand = THandState{};
}

void NextOpponent() {
    Opponent = (Opponent + 1) % 4;
}

void SeedOpponent(unsigned seed) {
    mind.rng.seed(seed);
}

TOpponentMind& OpponentMind() {
    return mind;
}

bool ComputersTurn() {
    return Opponent != kHuman && CurrentPlayer == 1 && Scores[0] + Scores[1] < kCards;
}

bool ComputerStep(bool& held) {
    held = false;
    if (!ComputersTurn()) {
        hand = THandState{}; // its next turn starts from where the people's pointer is then
        return false;
    }
    const int now = Milliseconds();
    if (!hand.placed) { // its pointer starts where the people's was when its turn came
        hand.x = CursorX;
        hand.z = CursorZ;
        hand.placed = true;
        hand.last_now = now;
    }
    hand.clock += std::clamp(now - hand.last_now, 0, kLongestStepMs);
    hand.last_now = now;
    mind.level = Opponent;
    switch (hand.phase) {
    case THand::Waiting:
        if (ReadyToReach() && !StillSounding()) {
            hand.phase = THand::Thinking;
            hand.until = hand.clock + (FirstCard == -1 ? kThinkMs : kThinkAgainMs);
        }
        break;
    case THand::Thinking: {
        if (hand.clock < hand.until) break;
        if (!ReadyToReach()) {
            hand.phase = THand::Waiting;
            break;
        }
        std::array<bool, 16> gone{};
        for (int i = 0; i < kCards; ++i)
            gone[i] = Gone(i);
        hand.target = mind.Choose(PartnerCard == -1 ? -1 : FirstCard, gone);
        if (hand.target < 0) {
            hand.phase = THand::Waiting;
            break;
        }
        DebugPrint(u"Computer: " + IntToText(hand.target));
        hand.from_x = hand.x;
        hand.from_z = hand.z;
        hand.phase = THand::Travelling;
        hand.until = hand.clock + kTravelMs;
        break;
    }
    case THand::Travelling: {
        const float left = float(std::max(0, hand.until - hand.clock)) / float(kTravelMs);
        const float f = 1 - left * left; // fast away, slowing down over the card
        hand.x = hand.from_x + (CardGridX(hand.target) - hand.from_x) * f;
        hand.z = hand.from_z + (CardGridZ(hand.target) - hand.from_z) * f;
        if (hand.clock >= hand.until) {
            hand.phase = THand::Holding;
            hand.until = hand.clock + kHoldMs;
            held = true;
        }
        break;
    }
    case THand::Holding:
        held = hand.clock < hand.until;
        if (!held) hand.phase = THand::Releasing;
        break;
    case THand::Releasing:
        if (LiftState == kLiftAtRest) hand.phase = THand::Waiting;
        break;
    }
    CursorX = hand.x;
    CursorZ = hand.z;
    return true;
}

} // namespace tonvella
