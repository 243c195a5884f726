// Operations whose pieces of the game are still to come. Each keeps its place in the start-up
// order and the main loop, and moves to its own file when it is built.
#include "Operations.h"

namespace tonvella {

void DealCards() {}
void CreateBoard() {}
void CreateCards() {}
void PlacePointer() {}
void PickCard() {}
void AnimateHeldCard() {}
void ReleaseStep() {}
void DrawHud() {}
void CreateNotes() {}
void BuildRoom() {}
void RiseNotes() {}
void MoveSettingsDrawer(float) {}
void RunMenu() {}
void RenderScene() {}

} // namespace tonvella
