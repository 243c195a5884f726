// Plain files through the C runtime. The only stream that closes itself when its last handle goes.
#pragma once

#include "streams/Stream.h"

#include <cstdio>

namespace tonvella {

class TCStream : public TStream {
public:
    enum { MODE_READ = 1, MODE_WRITE = 2 };

    // Backslashes count as slashes. None when the file cannot be opened; for reading, also when
    // the path names anything but a regular file (a folder, a device, a pipe).
    static TStreamHandle OpenFile(const std::u16string& path, int readable, int writeable);
    static TStreamHandle CreateWithCStream(std::FILE* handle, int mode);

    TCStream(std::FILE* handle, int mode);
    ~TCStream() override;

    int Pos() override { return _pos; }
    int Size() override { return _size; }
    int Seek(int pos) override;
    int Flush() override;
    int Close() override;
    int Read(void* buf, int count) override;
    int Write(const void* buf, int count) override;

private:
    int _pos = 0;
    int _size = 0;
    std::FILE* _cstream = nullptr;
    int _mode = 0;
};

} // namespace tonvella
