#include "streams/CStream.h"

#include "media/Text.h"

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonvella {

namespace {

// Only a regular file is read. Opening a pipe would wait for a writer, and a device (a link to
// /dev/zero in a teacher's folder) never ends, so neither is opened at all, and the open itself
// cannot wait: the file may be replaced by a pipe between the look and the open.
std::FILE* OpenRegularFileForReading(const std::u16string& path) {
    const std::string name = ToUtf8(path);
    struct stat info;
    if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* handle = fdopen(fd, "rb");
    if (!handle) close(fd);
    return handle;
}

} // namespace

TStreamHandle TCStream::OpenFile(const std::u16string& path, int readable, int writeable) {
    std::u16string slashed = path;
    for (auto& c : slashed) {
        if (c == u'\\') c = u'/';
    }
    int mode = readable && writeable ? MODE_READ | MODE_WRITE : writeable ? MODE_WRITE : MODE_READ;
    if (mode == MODE_READ) return CreateWithCStream(OpenRegularFileForReading(slashed), mode);
    const char* cmode = mode == (MODE_READ | MODE_WRITE) ? "r+b" : "wb";
    std::FILE* handle = std::fopen(ToUtf8(slashed).c_str(), cmode);
    if (!handle) return nullptr;
    // The C runtime opens directories too; they are not files to read.
    struct stat info;
    if (fstat(fileno(handle), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(handle);
        return nullptr;
    }
    return CreateWithCStream(handle, mode);
}

TStreamHandle TCStream::CreateWithCStream(std::FILE* handle, int mode) {
    if (!handle) return nullptr;
    return std::make_shared<TCStream>(handle, mode);
}

TCStream::TCStream(std::FILE* handle, int mode) : _cstream(handle), _mode(mode) {
    long pos = std::ftell(handle);
    _pos = pos < 0 ? 0 : int(pos);
    std::fseek(handle, 0, SEEK_END);
    long size = std::ftell(handle);
    // Positions are 32-bit; a larger file is cut to what can be addressed.
    _size = size < 0 ? 0 : size > INT_MAX ? INT_MAX : int(size);
    std::fseek(handle, _pos, SEEK_SET);
}

TCStream::~TCStream() {
    Close();
}

int TCStream::Seek(int pos) {
    if (!_cstream) return _pos;
    std::fseek(_cstream, pos < 0 ? 0 : pos, SEEK_SET);
    long actual = std::ftell(_cstream);
    _pos = actual < 0 ? 0 : int(actual);
    return _pos;
}

int TCStream::Flush() {
    if (_cstream) std::fflush(_cstream);
    return 0;
}

int TCStream::Close() {
    if (!_cstream) return 0;
    std::fflush(_cstream);
    std::fclose(_cstream);
    _cstream = nullptr;
    _pos = _size = 0;
    return 0;
}

int TCStream::Read(void* buf, int count) {
    if (!(_mode & MODE_READ)) throw TRuntimeException("Stream is not readable");
    if (!_cstream || count <= 0) return 0;
    int got = int(std::fread(buf, 1, size_t(count), _cstream));
    _pos += got;
    return got;
}

int TCStream::Write(const void* buf, int count) {
    if (!(_mode & MODE_WRITE)) throw TRuntimeException("Stream is not writeable");
    if (!_cstream || count <= 0) return 0;
    int put = int(std::fwrite(buf, 1, size_t(count), _cstream));
    _pos += put;
    if (_pos > _size) _size = _pos;
    return put;
}

} // namespace tonvella
