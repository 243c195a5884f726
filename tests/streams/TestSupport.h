// Shared set-up of the stream tests: protocols and the game's blobs registered once, test blobs
// kept alive for the whole run, whole-stream reading.
#pragma once

#include "streams/Stream.h"

#include <string>

namespace tonvella::test {

// Factories and the game's two blobs, as at program start.
void EnsureStreams();
// Registers `bytes` under `name` (kept alive to the end of the run) and returns the name.
std::u16string RegisterTestBlob(const std::u16string& name, std::string bytes);
// Everything from the current position to the end, in reads of `chunk` bytes.
std::string ReadAll(TStream& stream, int chunk = 4096);
std::string ReadFileBytes(const std::string& path);
std::string SourcePath(const std::string& relative);
// A file of the given bytes in the test's temporary directory; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

} // namespace tonvella::test
