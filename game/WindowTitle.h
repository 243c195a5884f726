// The window title: maker, program name, version and a credit, with blanks between.
#pragma once

#include <string>

namespace tonvella {

// Composes the window title, installs it for the window and returns it. A width too small for
// the long form falls back to the short one.
std::u16string SetWindowTitle(int width);

} // namespace tonvella
