#include "game/Manual.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "media/Platform.h"
#include "media/Shell.h"
#include "media/Text.h"
#include "streams/Stream.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tonvella {

namespace {

constexpr int kBlockSize = 4096;

std::u16string Reason(int error) {
    return FromUtf8(std::strerror(error));
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
    return text.size() >= prefix.size() && UpperAscii(text.substr(0, prefix.size())) == prefix;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const char* data, int count) {
    while (count > 0) {
        ssize_t n = write(fd, data, size_t(count));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        count -= int(n);
    }
    return true;
}

// The new file being filled; removed again unless it was put in place.
class TPendingCopy {
public:
    explicit TPendingCopy(const std::string& directory)
        : _name(directory + "/.tonvella-copy-XXXXXX") {
        _fd = mkstemp(_name.data());
        _made = _fd >= 0;
    }
    ~TPendingCopy() {
        if (_fd >= 0) close(_fd);
        if (_made && !_placed) unlink(_name.c_str());
    }
    bool Made() const { return _made; }
    int Fd() const { return _fd; }
    bool Finish() {
        int fd = _fd;
        _fd = -1;
        return close(fd) == 0;
    }
    bool PlaceAs(const std::string& destination) {
        _placed = rename(_name.c_str(), destination.c_str()) == 0;
        return _placed;
    }

private:
    std::string _name;
    int _fd = -1;
    bool _made = false;
    bool _placed = false;
};

bool PlainUrlByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("/-._~", c) != nullptr;
}

} // namespace

std::u16string TempDirectory() {
    std::u16string dir;
    for (const char16_t* name : {u"TEMP", u"TMP", u"TMPDIR"}) {
        dir = GetEnvVar(name);
        if (!dir.empty()) break;
    }
    if (dir.empty()) dir = u"/tmp";
    while (dir.size() > 1 && dir.back() == u'/')
        dir.pop_back();
    return dir;
}

std::u16string ManualCopyName() {
    return StripDirAndExt(ProgramPath()) + u" " + ManualLanguage + u".PDF";
}

bool OpenManual() {
    std::u16string copy = TempDirectory() + u"/" + ManualCopyName();
    if (!CopyFileContents(AssetBase + ManualLanguage + u".PDF", copy)) return false;
    return OpenWithShell(copy);
}

bool CopyFileContents(const std::u16string& source_url, const std::u16string& destination) {
    auto fail = [&](const std::u16string& why) {
        DebugPrint(u"Cannot copy " + source_url + u" to " + destination + u": " + why);
        return false;
    };
    TStreamHandle source = OpenFileForReading(source_url);
    if (!source) return fail(u"the source cannot be opened");
    std::string target = ToUtf8(destination);
    TPendingCopy copy(DirectoryOf(target));
    if (!copy.Made()) {
        int error = errno;
        CloseFileHandle(source);
        return fail(Reason(error));
    }
    char block[kBlockSize];
    try {
        for (;;) {
            int n = source->Read(block, kBlockSize);
            if (n <= 0) break;
            if (!WriteAll(copy.Fd(), block, n)) {
                int error = errno;
                CloseFileHandle(source);
                return fail(Reason(error));
            }
        }
    } catch (const std::exception& e) {
        CloseFileHandle(source);
        return fail(FromUtf8(e.what()));
    }
    CloseFileHandle(source);
    // A full disk may only show when the file is closed.
    if (!copy.Finish()) return fail(Reason(errno));
    if (!copy.PlaceAs(target)) return fail(Reason(errno));
    return true;
}

std::u16string FileUrl(const std::u16string& absolute_path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : ToUtf8(absolute_path)) {
        if (c != 0 && PlainUrlByte(c)) {
            url += char(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return FromUtf8(url);
}

bool OpenWithShell(const std::u16string& url) {
    std::u16string address = url;
    if (!StartsWithNoCase(url, u"HTTP:") && !StartsWithNoCase(url, u"HTTPS:") &&
        !StartsWithNoCase(url, u"FILE:")) {
        size_t hash = url.find(u'#');
        std::u16string anchor = hash == std::u16string::npos ? u"" : url.substr(hash);
        std::error_code ec;
        std::filesystem::path path =
            std::filesystem::absolute(std::filesystem::path(ToUtf8(url.substr(0, hash))), ec);
        if (ec || !std::filesystem::exists(path, ec)) {
            DebugPrint(u"Cannot open " + url + u": there is no such file");
            return false;
        }
        address = FileUrl(FromUtf8(path.string())) + anchor;
    }
    if (!OpenUrlWithDesktop(address)) {
        DebugPrint(u"Cannot open " + address + u": " + FromUtf8(ShellError()));
        return false;
    }
    return true;
}

} // namespace tonvella
