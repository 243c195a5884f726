// Decoding ahead: pictures that will be asked for soon are decoded on a thread of their own
// while the game does something else (opens its window), and LoadPixmap takes a finished one
// instead of decoding it again.
#pragma once

#include "scene/Pixmap.h"

#include <string>
#include <vector>

namespace tonvella {

// Starts decoding the pictures, in the given order (after the last prefetch has been dropped).
// Only a decode that had nothing to complain about is kept: a picture that fails is decoded
// again where it is asked for, which reports it in its place as before.
void PrefetchPixmaps(std::vector<std::u16string> urls);
// The decoded picture of the url, handed over once for each time it was named; waits while it
// is still being decoded. None when it was not named, was taken already or failed.
TPixmapHandle TakePrefetchedPixmap(const std::u16string& url);
// Waits for the thread to end and forgets the pictures that were not taken.
void DropPrefetchedPixmaps();

} // namespace tonvella
