// A digest of everything the renderer reads. Two equal signatures mean RenderWorld would draw the
// same picture, so a frame that would only repeat the one on screen can be left out.
#pragma once

#include <cstdint>

namespace tonvella {

// Taken before rendering. State the renderer derives while drawing (fades from the camera
// distance, sort keys, sprite matrices, bounds, uploads) is left out: it follows from the rest.
std::uint64_t SceneSignature();

} // namespace tonvella
