// The computer as player 2: a memory that keeps what was played aloud and forgets it the way a
// person does, and the hand that plays its turn through the same pointer and button as a person.
#pragma once

#include <array>
#include <random>
#include <string>

namespace tonvella {

// Who plays as player 2 (the game state record's Opponent).
enum TOpponentChoice { kHuman = 0, kComputerEasy = 1, kComputerMedium = 2, kComputerHard = 3 };
// The German name of a choice, as the menu shows it before translation.
const char16_t* OpponentName(int choice);

// What the computer knows: for each card the sound it was heard to play and when. Its choices
// read nothing else of the game than which cards have left the table and which card is open.
class TOpponentMind {
public:
    explicit TOpponentMind(int level = kComputerMedium, unsigned seed = 1);
    void Forget(); // a new deal
    void Heard(int card, int slot);
    bool HasHeard(int card) const { return slot_heard[card] >= 0; }
    // The card to open first, or, with `open` a card of this turn, the card to pair it with.
    int Choose(int open, const std::array<bool, 16>& gone);
    int level;
    std::mt19937 rng;

private:
    std::array<int, 16> slot_heard;
    std::array<int, 16> heard_at; // the number of cards heard before it
    int cards_heard = 0;
    bool Recalls(int card, int open);
    int Unknown(const std::array<bool, 16>& recalled, int except, const std::array<bool, 16>& gone);
};

// Called for every card that is played aloud.
void CardPlayedAloud(int card);
// A new deal: the computer forgets everything and its hand is at rest.
void OpponentNewGame();
// The menu's F8: the next choice of opponent.
void NextOpponent();
// Seeds the computer's own generator (thinking pauses and the chances of remembering), so that a
// game against it can be replayed; the game's shared generator is never used.
void SeedOpponent(unsigned seed);
TOpponentMind& OpponentMind();

// True while player 2 is the computer and it is its turn: the people's mouse and keys wait.
bool ComputersTurn();
// One logic step of the computer's hand: false when it is not the computer's turn. Otherwise it
// sets CursorX and CursorZ and `held`, whether its button is down. It goes for a card once the
// camera has arrived and the last card's sound has died away, travels there in half a second,
// holds the card for a second and a half and lets it go.
bool ComputerStep(bool& held);

} // namespace tonvella
