// The game without a window, driven through the real main loop: the tests that play thousands
// of games or compare traces need it fast and free of the display.
#pragma once

namespace tonvella {

class TCamera;

// Streams, translation, a board with its camera, cards, notes and a drawer, as start-up would
// build them, minus the window and the room. The sounds of the first set are loaded through the
// audio driver of that name, which must be registered.
void SetUpHeadlessGame(const char16_t* audio_driver);

// Without a window no frame sets the camera's frustum, so it is set here as a rendered frame
// would leave it (the projection of a 1024 x 768 view at the camera's zoom, its view matrix):
// that is what keeps the cards of found pairs, moved out of the view, from being picked.
void TakeFrustumAsAFrameWould(TCamera& camera);
// The same, only when the camera moved since the last call.
void KeepFrustumCurrent();

// Window pixels over card i: the inverse of the loop's mouse-to-table mapping.
int CardPixelX(int card);
int CardPixelY(int card);
// A card of a found pair has been moved off the table.
bool Gone(int card);

} // namespace tonvella
