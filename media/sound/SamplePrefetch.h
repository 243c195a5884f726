// Decoding ahead: sound files that will be asked for soon are decoded on a thread of their own
// while the game does something else (opens its window), and the load that asks for one later
// takes the finished sample instead of decoding it again.
#pragma once

#include "media/sound/AudioSample.h"

#include <string>
#include <vector>

namespace tonvella {

// Starts decoding the files (after the last prefetch has ended). Only a decode that had nothing
// to complain about is kept: a file that fails is decoded again where it is asked for, which
// reports it in its place as before.
void PrefetchSamples(std::vector<std::u16string> urls);
// Waits until the prefetch has finished. Until then nothing else may read the streams it uses.
void AwaitPrefetch();
// The finished sample of the url, handed over (nobody else holds it), or none.
TAudioSampleHandle TakePrefetchedSample(const std::u16string& url);
// Forgets the samples that were not taken.
void DropPrefetchedSamples();

} // namespace tonvella
