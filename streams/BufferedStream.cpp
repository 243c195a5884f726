#include "streams/BufferedStream.h"

#include <algorithm>
#include <cstring>

namespace tonvella {

TBufferedStream::TBufferedStream(TStreamHandle inner, int window_size)
    : innerStream(std::move(inner)), pos_(innerStream->Pos()),
      buf(size_t(std::max(window_size, 1024))), bias1(2 * (int(buf.size()) / 3)),
      bias2(int(buf.size()) / 3) {
    if (pos_ < 0) pos_ = 0;
    start_ = end_ = pos_;
}

int TBufferedStream::Size() {
    return innerStream->Size();
}

int TBufferedStream::Refill() {
    if (innerStream->Pos() != start_) start_ = std::max(innerStream->Seek(start_), 0);
    int got = innerStream->Read(buf.data(), int(buf.size()));
    end_ = start_ + std::max(got, 0);
    return end_ - start_;
}

int TBufferedStream::Read(void* dst, int count) {
    auto* out = static_cast<unsigned char*>(dst);
    const int window = int(buf.size());
    int total = 0;
    while (count > 0) {
        int ready = pos_ >= start_ ? end_ - pos_ : 0;
        if (ready >= count) {
            std::memcpy(out + total, buf.data() + (pos_ - start_), size_t(count));
            pos_ += count;
            return total + count;
        }
        if (ready > 0) {
            std::memcpy(out + total, buf.data() + (pos_ - start_), size_t(ready));
            pos_ += ready;
            total += ready;
            count -= ready;
        }
        // The window is used up from here on.
        start_ = end_ = pos_;
        if (count >= window) {
            if (innerStream->Pos() != pos_) innerStream->Seek(pos_);
            int got = std::max(innerStream->Read(out + total, window), 0);
            pos_ += got;
            total += got;
            count -= got;
            start_ = end_ = pos_;
            if (got < window) return total;
            continue;
        }
        int got = Refill();
        int take = std::min(count, got);
        std::memcpy(out + total, buf.data(), size_t(take));
        pos_ += take;
        return total + take;
    }
    return total;
}

int TBufferedStream::Seek(int pos) {
    pos_ = std::clamp(pos, 0, std::max(Size(), 0));
    if (pos_ < start_ || pos_ > end_) {
        start_ = std::max(pos_ - (pos_ < start_ ? bias1 : bias2), 0);
        Refill();
    }
    return pos_;
}

int TBufferedStream::Flush() {
    return innerStream->Flush();
}
int TBufferedStream::Close() {
    return innerStream->Close();
}
int TBufferedStream::Write(const void*, int) {
    throw TRuntimeException("Stream is not writeable");
}

TStreamHandle CreateBufferedStream(const TStreamHandle& stream, int window_size) {
    if (!stream) return nullptr;
    if (std::dynamic_pointer_cast<TBufferedStream>(stream)) return stream;
    return std::make_shared<TBufferedStream>(stream, window_size);
}

TStreamHandle CreateBufferedStream(const std::u16string& url, int window_size) {
    return CreateBufferedStream(OpenForReading(url), window_size);
}

TStreamHandle TBufferedStreamFactory::CreateStream(const std::u16string&,
                                                   const std::u16string& protocol,
                                                   const std::u16string& path, int, int writeable) {
    if (protocol != u"buf" || writeable) return nullptr;
    return CreateBufferedStream(path, 4096);
}

} // namespace tonvella
