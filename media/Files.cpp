#include "media/Files.h"

#include "media/Text.h"

#include <dirent.h>
#include <sys/stat.h>

namespace tonvella {

TFileInfo GetFileInfo(const std::u16string& path) {
    struct stat info;
    if (path.empty() || stat(ToUtf8(path).c_str(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {TFileKind::kFile, static_cast<long long>(info.st_size)};
    if (S_ISDIR(info.st_mode)) return {TFileKind::kFolder, 0};
    return {TFileKind::kOther, 0};
}

std::vector<std::u16string> ListFolder(const std::u16string& path) {
    std::vector<std::u16string> names;
    DIR* folder = path.empty() ? nullptr : opendir(ToUtf8(path).c_str());
    if (!folder) return names;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(FromUtf8(name));
    }
    closedir(folder);
    return names;
}

} // namespace tonvella
