// Streams over memory blocks: embedded resources ("incbin" protocol) and whole copies of streams
// that cannot seek.
#pragma once

#include "streams/StreamFactory.h"

#include <vector>

namespace tonvella {

// A stream over a block it does not own. Seeks clamp into the block; writing never grows it.
class TRamStream : public TStream {
public:
    static TStreamHandle Create(void* buf, int size, int readable, int writeable);
    TRamStream(void* buf, int size, int readable, int writeable);

    int Pos() override { return _pos; }
    int Size() override { return _size; }
    int Seek(int pos) override;
    int Read(void* buf, int count) override;
    int Write(const void* buf, int count) override;

private:
    int _pos = 0;
    int _size = 0;
    unsigned char* _buf = nullptr;
    int _read = 0;
    int _write = 0;
};

// A memory stream that owns its bytes.
class TBankStream : public TRamStream {
public:
    explicit TBankStream(std::vector<unsigned char> bytes);

private:
    std::vector<unsigned char> _bank;
};

// "incbin::<name>": the embedded resource of exactly that name, for reading only.
class TRamStreamFactory : public TStreamFactory {
public:
    TStreamHandle CreateStream(const std::u16string& url, const std::u16string& protocol,
                               const std::u16string& path, int readable, int writeable) override;
};

} // namespace tonvella
