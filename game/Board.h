// The sixteen cards on the table: dealing, the 3D pointer, picking, lifting and rocking, putting
// down, the card sound and the restart of the board.
#pragma once

namespace tonvella {

void CreateBoard(); // card and shadow templates, card brush, pointer and its shadow
void CreateCards(); // the sixteen cards and their shadows, in random colours
// Shuffles the sounds onto the cards and sets every field a new game sets (scores, turn, camera
// side, a fading pair, the computer's memory).
void DealCards();
void PlacePointer();
int NearestCard(); // the card whose shadow is nearest to the pointer, -1 none
void PickCard();
void AnimateHeldCard();
void PutDownCard();
void FadeCardSound();
// Loads the current set anew, puts the cards back on the grid and deals; false (and nothing
// changed) when the set is refused.
bool RestartBoard();
// Every card and shadow back on the grid, then DealCards: a new game with the sounds loaded.
void StartNewGame();

// The fixed mapping of window pixels to the table coordinates of the 3D pointer (it does not
// follow the camera), and back: the window pixel over a point of the table.
float TableX(int window_x);
float TableZ(int window_y);
int WindowX(float table_x);
int WindowY(float table_z);
// The settings drawer of the cabinet, in table coordinates: a press there opens the menu and
// picks no card.
bool InDrawerRegion(float x, float z);

// Grid position of card i.
float CardGridX(int card);
float CardGridZ(int card);

} // namespace tonvella
