// Entries of zip archives as streams: "zip::<archive url>//<entry name>". Entry names match
// without regard to ASCII letter case; "zip?" falls back to opening the entry name on its own.
#pragma once

#include "streams/StreamFactory.h"

namespace tonvella {

class TZipStreamReadException : public TStreamReadException {
public:
    explicit TZipStreamReadException(const std::string& text)
        : TStreamReadException(text), msg(text) {}
    std::string msg;
};

// Entries claiming more than this are refused, so that a hostile archive cannot exhaust memory.
constexpr int kMaxZipEntrySize = 64 * 1024 * 1024;
// Largest uncompressed : compressed ratio accepted for entries above kZipRatioExemptSize.
constexpr int kMaxZipRatio = 200;
constexpr int kZipRatioExemptSize = 1024 * 1024;

// The uncompressed bytes of one entry, inflated on demand. A backward seek restarts inflation
// from the beginning of the entry. Reaching the end checks the entry's length and checksum; a
// damaged entry throws TZipStreamReadException instead of ending quietly.
class TZipStream : public TStream {
public:
    TZipStream();
    ~TZipStream() override;

    // This stream, or none when the archive or the entry cannot be opened (the archive stream is
    // closed then).
    TZipStream* Open_(const std::u16string& archive_url, const std::u16string& entry_name,
                      TStreamHandle archive);

    int Pos() override { return pos_; }
    int Size() override { return size_; }
    int Seek(int pos) override;
    int Read(void* buf, int count) override;
    int Write(const void* buf, int count) override;
    int Flush() override { return 0; }
    int Close() override;

    // Throws the error for zlib's codes -1 .. -6; 0 for every other code.
    static int CheckZLibError(int code);

private:
    bool OpenCurrentFile_();
    void DiscardBytes_(int count);
    void FinishEntry_();
    [[noreturn]] void Fail_(const std::string& reason, const std::string& text);

    TStreamHandle innerStream;
    void* unzfile = nullptr;
    int size_ = 0;
    int pos_ = 0;
    std::u16string zipUrl;
    std::u16string _entry;
    bool _entry_open = false;
    bool _damaged = false;
};

// "zip" and "zip?", for reading only; the entry comes wrapped in a 4096-byte read-ahead window.
class TZipStreamFactory : public TStreamFactory {
public:
    TStreamHandle CreateStream(const std::u16string& url, const std::u16string& protocol,
                               const std::u16string& path, int readable, int writeable) override;
};

} // namespace tonvella
