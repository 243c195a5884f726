// The score strip at the top of the view: two seven-segment scores, the status message and the
// question of the card set, drawn in 2D over the scene.
#pragma once

#include <cstdint>
#include <string>

namespace tonvella {

void DrawHud();
// Changes whenever DrawHud would draw something else.
std::uint64_t HudSignature();
// The status message the strip shows now, in German (before translation and decoration).
std::u16string StatusMessage(bool button_held, bool* grey);

} // namespace tonvella
