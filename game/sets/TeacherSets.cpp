#include "game/sets/TeacherSets.h"

#include "game/sets/SetText.h"
#include "media/Files.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "streams/CStream.h"

#include <algorithm>
#include <set>

namespace tonvella {

namespace {

const std::u16string kSetsBelowDataFolder = u"tonvella/sets/";

bool IsAbsolute(const std::u16string& path) {
    return !path.empty() && path[0] == u'/';
}

std::u16string WithSlash(std::u16string folder) {
    if (folder.empty() || folder.back() != u'/') folder += u'/';
    return folder;
}

bool EndsWithSet(const std::u16string& name) {
    return name.size() > 4 && UpperAscii(name.substr(name.size() - 4)) == u".SET";
}

// Names in the order a teacher reads a list: letter case does not count first, then it does.
bool NameBefore(const std::u16string& a, const std::u16string& b) {
    const std::u16string upper_a = UpperAscii(a), upper_b = UpperAscii(b);
    return upper_a != upper_b ? upper_a < upper_b : a < b;
}

} // namespace

std::vector<std::u16string> TeacherSetFolders() {
    std::vector<std::u16string> data_folders;
    std::u16string home = GetEnvVar(u"XDG_DATA_HOME");
    if (home.empty() && IsAbsolute(GetEnvVar(u"HOME")))
        home = WithSlash(GetEnvVar(u"HOME")) + u".local/share";
    data_folders.push_back(home);
    std::u16string dirs = GetEnvVar(u"XDG_DATA_DIRS");
    if (dirs.empty()) dirs = u"/usr/local/share:/usr/share";
    for (size_t start = 0; start <= dirs.size();) {
        size_t colon = dirs.find(u':', start);
        if (colon == std::u16string::npos) colon = dirs.size();
        data_folders.push_back(dirs.substr(start, colon - start));
        start = colon + 1;
    }
    std::vector<std::u16string> folders;
    for (const std::u16string& data : data_folders) {
        if (!IsAbsolute(data)) continue;
        std::u16string folder = WithSlash(data) + kSetsBelowDataFolder;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    return folders;
}

std::vector<std::u16string> FindTeacherSets() {
    std::vector<std::u16string> sets;
    std::set<std::u16string> names_taken;
    for (const std::u16string& folder : TeacherSetFolders()) {
        std::vector<std::u16string> names = ListFolder(folder);
        std::sort(names.begin(), names.end());
        for (const std::u16string& name : names) {
            if (!EndsWithSet(name)) continue;
            if (!names_taken.insert(name).second) {
                DebugPrint(u"Card set " + folder + name +
                           u" left out: a set of that name comes "
                           u"first from an earlier folder");
                continue;
            }
            sets.push_back(folder + name);
        }
    }
    std::stable_sort(sets.begin(), sets.end(), [](const auto& a, const auto& b) {
        return NameBefore(FileNameOf(a), FileNameOf(b));
    });
    return sets;
}

bool IsTeacherSet(const std::u16string& set_file) {
    return IsAbsolute(set_file);
}

std::u16string FolderOf(const std::u16string& path) {
    size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? u"" : path.substr(0, slash + 1);
}

std::u16string FileNameOf(const std::u16string& path) {
    size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

bool ReadTeacherSetFile(const std::u16string& path, std::vector<std::u16string>& lines,
                        TSetRefusal& refusal, std::u16string& message) {
    const std::u16string name = FileNameOf(path);
    auto refuse = [&](const char16_t* label, const std::u16string& why) {
        refusal = {label, name};
        message = why;
        return false;
    };
    const TFileInfo info = GetFileInfo(path);
    if (info.kind == TFileKind::kMissing) return refuse(u"Datei fehlt", u"the file is missing");
    if (info.kind != TFileKind::kFile)
        return refuse(u"Datei nicht lesbar", u"it is not a file (a folder, a device or a pipe)");
    if (info.size > kMaxSetFileBytes)
        return refuse(u"Datei nicht lesbar",
                      u"it is larger than " + IntToText(kMaxSetFileBytes / 1024) + u" KiB");
    // A plain file always, even when the path has a "::" in it.
    TStreamHandle stream = TCStream::OpenFile(path, 1, 0);
    if (!stream) return refuse(u"Datei nicht lesbar", u"it cannot be opened");
    // Read no further than the limit, even if the file grew since it was looked at.
    std::string bytes(size_t(kMaxSetFileBytes) + 1, '\0');
    size_t got = 0;
    for (int n; got < bytes.size() && (n = stream->Read(&bytes[got], int(bytes.size() - got))) > 0;)
        got += size_t(n);
    CloseFileHandle(stream);
    if (got > size_t(kMaxSetFileBytes))
        return refuse(u"Datei nicht lesbar",
                      u"it is larger than " + IntToText(kMaxSetFileBytes / 1024) + u" KiB");
    bytes.resize(got);
    lines = SplitSetLines(bytes, true);
    return true;
}

TSoundFileFault CheckSoundFile(const std::u16string& folder, const std::u16string& name) {
    // Sounds lie beside their set: a name with a folder in it could reach anywhere.
    if (name.find_first_of(u"/\\") != std::u16string::npos) return TSoundFileFault::kNameWithFolder;
    const TFileInfo info = GetFileInfo(folder + name);
    if (info.kind == TFileKind::kMissing) return TSoundFileFault::kMissing;
    if (info.kind != TFileKind::kFile) return TSoundFileFault::kNotAFile;
    if (info.size > kMaxSoundFileBytes) return TSoundFileFault::kTooLarge;
    return TSoundFileFault::kNone;
}

std::u16string SoundFileFaultText(TSoundFileFault fault) {
    switch (fault) {
    case TSoundFileFault::kNone:
        return u"";
    case TSoundFileFault::kNameWithFolder:
        return u"the name has a folder in it; sounds must lie beside the set file";
    case TSoundFileFault::kMissing:
        return u"missing";
    case TSoundFileFault::kNotAFile:
        return u"not a file (a folder, a device or a pipe)";
    case TSoundFileFault::kTooLarge:
        return u"larger than " + IntToText(kMaxSoundFileBytes / (1024 * 1024)) + u" MiB";
    }
    return u"";
}

} // namespace tonvella
