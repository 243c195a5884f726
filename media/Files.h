// Folders and files as the system sees them, without opening anything: what a path names, and
// what a folder holds. Teachers' card sets are found through these.
#pragma once

#include <string>
#include <vector>

namespace tonvella {

enum class TFileKind {
    kMissing, // nothing there, or nothing that can be reached
    kFile,    // a regular file
    kFolder,
    kOther, // a device, a pipe, a socket
};

struct TFileInfo {
    TFileKind kind = TFileKind::kMissing;
    long long size = 0; // bytes, for a regular file
};

// What the path names, following symbolic links to their end.
TFileInfo GetFileInfo(const std::u16string& path);
// The names in a folder ("." and ".." left out), in the order the system gives them; none when
// the folder does not exist or cannot be read.
std::vector<std::u16string> ListFolder(const std::u16string& path);

} // namespace tonvella
