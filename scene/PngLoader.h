// PNG decoding for LoadPixmap.
#pragma once

#include "scene/Pixmap.h"

#include <string>

namespace tonvella {

// Images larger than this on either side are refused before anything is allocated for them.
constexpr int kMaxPngSide = 4096;

// None when the data at the stream's position is not a PNG or cannot be decoded; `reason` then
// receives libpng's message when there is one.
TPixmapHandle LoadPngPixmap(TStream& stream, std::string* reason = nullptr);

} // namespace tonvella
