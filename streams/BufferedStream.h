// A read-ahead window over an inner stream, so that byte-by-byte readers and short seeks do not
// reach the inner stream each time.
#pragma once

#include "streams/StreamFactory.h"

#include <vector>

namespace tonvella {

class TBufferedStream : public TStream {
public:
    TBufferedStream(TStreamHandle inner, int window_size);

    int Pos() override { return pos_; }
    int Size() override;
    // Clamped into 0..Size, so seeking past the end reaches Eof.
    int Seek(int pos) override;
    int Flush() override;
    int Close() override;
    int Read(void* buf, int count) override;
    int Write(const void* buf, int count) override;

private:
    int Refill();

    TStreamHandle innerStream;
    int pos_;
    int start_ = 0; // inner position of buf[0]
    int end_ = 0;   // inner position one past the last valid byte
    std::vector<unsigned char> buf;
    int bias1; // how far behind the target a backward refill starts
    int bias2; // how far behind the target a forward refill starts
};

// None stays none; a buffered stream comes back unchanged; the window is at least 1024 bytes.
TStreamHandle CreateBufferedStream(const TStreamHandle& stream, int window_size);
TStreamHandle CreateBufferedStream(const std::u16string& url, int window_size);

// "buf::<url>": a 4096-byte window over the stream the rest of the URL opens for reading.
class TBufferedStreamFactory : public TStreamFactory {
public:
    TStreamHandle CreateStream(const std::u16string& url, const std::u16string& protocol,
                               const std::u16string& path, int readable, int writeable) override;
};

} // namespace tonvella
