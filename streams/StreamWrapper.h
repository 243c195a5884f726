// Streams that forward to an inner stream.
#pragma once

#include "streams/Stream.h"

namespace tonvella {

// Forwards the basic operations to `_stream` and closes it on Close. Without an inner stream it
// reads and writes nothing.
class TStreamWrapper : public TStream {
public:
    explicit TStreamWrapper(TStreamHandle stream = nullptr) : _stream(std::move(stream)) {}
    void SetStream(TStreamHandle stream) { _stream = std::move(stream); }

    int Eof() override;
    int Pos() override;
    int Size() override;
    int Seek(int pos) override;
    int Flush() override;
    int Close() override;
    int Read(void* buf, int count) override;
    int Write(const void* buf, int count) override;
    std::u16string ReadLine() override;
    int WriteLine(const std::u16string& text) override;

protected:
    TStreamHandle _stream;
};

// A stream handed in where a URL was expected. Close lets go of the inner stream but leaves it
// open, where the wrapper left it.
class TStreamStream : public TStreamWrapper {
public:
    static TStreamHandle Create(TStreamHandle stream);
    explicit TStreamStream(TStreamHandle stream) : TStreamWrapper(std::move(stream)) {}
    int Close() override;
};

} // namespace tonvella
