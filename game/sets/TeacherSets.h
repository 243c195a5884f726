// Teachers' own card sets: the folders the game finds them in, and how their files are read.
// Nothing is ever written there. Every file is looked at before it is opened, and only regular
// files of a bounded size are read, so that a huge file, a pipe or a link to a device in a
// teacher's folder costs one diagnostic line and nothing else.
#pragma once

#include <string>
#include <vector>

namespace tonvella {

constexpr long long kMaxSetFileBytes = 64 * 1024;
constexpr long long kMaxSoundFileBytes = 32LL * 1024 * 1024;
constexpr int kMaxSoundSeconds = 30; // longer sounds are refused before they are decoded

// "tonvella/sets" under $XDG_DATA_HOME (by default ~/.local/share), then under each folder of
// $XDG_DATA_DIRS (by default /usr/local/share:/usr/share), each with a "/" at its end. Folders
// given as relative paths are left out, as the XDG rules say; none is looked at here.
std::vector<std::u16string> TeacherSetFolders();
// Every "*.Set" (any letter case) in those folders as a full path, sorted by file name. When
// two folders hold a set of the same name, the first folder's is taken.
std::vector<std::u16string> FindTeacherSets();

// A teacher's set is named by its full path; a built-in set by its name in the archive.
bool IsTeacherSet(const std::u16string& set_file);
// The folder part of a path with its "/" (empty for a bare name), and the part after it.
std::u16string FolderOf(const std::u16string& path);
std::u16string FileNameOf(const std::u16string& path);

// Why a card set cannot be played, in one line of the card page: a German label that the
// translation table holds, and the file or count it concerns.
struct TSetRefusal {
    std::u16string label; // "Datei fehlt", "Klang nicht lesbar", "Zu wenige Paare", ...
    std::u16string detail;
    bool Empty() const { return label.empty(); }
};

// The lines of a teacher's set file; false, with why in both forms, when it is missing, no
// regular file, or larger than kMaxSetFileBytes.
bool ReadTeacherSetFile(const std::u16string& path, std::vector<std::u16string>& lines,
                        TSetRefusal& refusal, std::u16string& message);

// What may be wrong with a sound of a teacher's set before it is decoded.
enum class TSoundFileFault { kNone, kNameWithFolder, kMissing, kNotAFile, kTooLarge };
// `folder` is the set's folder (FolderOf), `name` the name written in the set. Letter case is
// whatever the file system makes of it.
TSoundFileFault CheckSoundFile(const std::u16string& folder, const std::u16string& name);
// The fault in words ("missing", "not a file", ...).
std::u16string SoundFileFaultText(TSoundFileFault fault);

} // namespace tonvella
