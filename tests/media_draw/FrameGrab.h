// Reading back what was drawn: back-buffer pixels before the swap, screenshots and PNG files.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tonvella {

struct TRgb {
    int r = 0, g = 0, b = 0;
};
std::ostream& operator<<(std::ostream& out, const TRgb& c);

// Window pixel with (0, 0) at the top-left corner, read from the back buffer.
TRgb ReadPixel(int x, int y);
// The whole back buffer as R, G, B rows from the top.
std::vector<std::uint8_t> ReadFrame(int width, int height);
// Writes 8-bit rows of `channels` (3 or 4) per pixel; false when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& rows);
// Saves the back buffer to /tmp/<name>.png so that a person can look at it.
void SaveScreenshot(const std::string& name, int width, int height);

// Largest channel difference.
int ColourDistance(const TRgb& a, const TRgb& b);

} // namespace tonvella
