// The operations of the game that the start-up and the main loop call.
#pragma once

#include <string>

namespace tonvella {

// Board and cards
void DealCards();
void CreateBoard(); // templates, pointer and brush
void CreateCards(); // the sixteen cards and their shadows
void PlacePointer();
void PickCard();
void AnimateHeldCard();
// Turn rules and the score strip
void ReleaseStep();
void DrawHud();
// Room and notes
void CreateNotes();
void BuildRoom();
void RiseNotes();
void MoveSettingsDrawer(float dz);
// Menu
void RunMenu();
// The 3D scene of one frame
void RenderScene();

} // namespace tonvella
