// The turn rules: judging a pick, the release step with scoring and passing the turn, the camera
// travel, and the score strip.
#pragma once

#include <cstdint>
#include <string>

namespace tonvella {

// Judges the press on SelectedCard; false when the press is to be ignored (either card of a
// pair that is still fading out).
bool JudgePick();
void ReleaseStep();
// The score strip, the status message and the question, in 2D over the scene.
void DrawHud();
// Changes whenever DrawHud would draw something else.
std::uint64_t HudSignature();
// The status message the strip shows now, in German (before translation and decoration).
std::u16string StatusMessage(bool button_held, bool* grey);
// Draws text with the current font centred on (x, y).
void DrawCentred(int x, int y, const std::u16string& text);

} // namespace tonvella
