// Byte streams addressed by URL-like names: a plain file path, or a protocol name, "::" and a
// path ("Incbin::tt.zip", "ZIP::Incbin::tt.zip//Dir.lst"). Opening never throws and gives none;
// reading past the end of data throws TStreamReadException.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace tonvella {

class TStreamException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStreamReadException : public TStreamException {
public:
    TStreamReadException() : TStreamException("Error reading from stream") {}

protected:
    explicit TStreamReadException(const std::string& text) : TStreamException(text) {}
};

class TStreamWriteException : public TStreamException {
public:
    TStreamWriteException() : TStreamException("Error writing to stream") {}
};

// Misuse of a stream (reading a write-only stream, an impossible seek origin); `error` holds the
// fixed message.
class TRuntimeException : public std::runtime_error {
public:
    explicit TRuntimeException(const std::string& message)
        : std::runtime_error(message), error(message) {}
    std::string error;
};

// Root of all streams. Positions and sizes are signed 32-bit byte counts; multi-byte values are
// little-endian.
class TStream {
public:
    virtual ~TStream();

    virtual int Eof();
    virtual int Pos(); // -1: not seekable
    virtual int Size();
    virtual int Seek(int pos);
    virtual int Flush();
    virtual int Close();
    // Bytes actually transferred, possibly fewer than asked; 0 means nothing more.
    virtual int Read(void* buf, int count);
    virtual int Write(const void* buf, int count);

    // Loop until count bytes moved; throw when the stream runs dry first.
    virtual int ReadBytes(void* buf, int count);
    virtual int WriteBytes(const void* buf, int count);
    virtual int SkipBytes(int count);
    virtual int ReadByte(); // 0..255
    virtual int WriteByte(int value);
    virtual int ReadShort(); // 0..65535
    virtual int WriteShort(int value);
    virtual int ReadInt();
    virtual int WriteInt(int value);
    virtual long long ReadLong();
    virtual int WriteLong(long long value);
    virtual float ReadFloat();
    virtual int WriteFloat(float value);
    virtual double ReadDouble();
    virtual int WriteDouble(double value);
    // One byte per character up to LF or NUL (consumed, not stored); every CR is dropped. End of
    // data gives what was collected, never an error.
    virtual std::u16string ReadLine();
    // The low 8 bits of each character, then CR LF; true only when everything was written.
    virtual int WriteLine(const std::u16string& text);
    virtual std::u16string ReadString(int count);
    virtual int WriteString(const std::u16string& text);
};

using TStreamHandle = std::shared_ptr<TStream>;

// Dispatch on the protocol before the first "::" (any letter case); no "::" opens a plain file.
TStreamHandle OpenUrlStream(const std::u16string& url, int readable, int writeable);
// An already open stream comes back wrapped; closing the wrapper leaves it open.
TStreamHandle OpenUrlStream(const TStreamHandle& stream, int readable, int writeable);
TStreamHandle OpenForReading(const std::u16string& url);
TStreamHandle OpenForWriting(const std::u16string& url);
// As OpenUrlStream, but a stream that cannot seek is read whole into memory first.
TStreamHandle OpenSeekableStream(const std::u16string& url, int readable, int writeable);
TStreamHandle OpenFileForReading(const std::u16string& url); // none when it cannot open

std::u16string ReadTextLine(const TStreamHandle& stream);
int StreamAtEnd(const TStreamHandle& stream);
void CloseStreamHandle(const TStreamHandle& stream);
void CloseFileHandle(const TStreamHandle& stream);

// The whole text of a URL. A byte-order mark (UTF-8, UTF-16BE, UTF-16LE) selects the decoding
// and is not part of the result; without one every byte is one character. Throws
// TStreamReadException when the URL cannot be opened.
std::u16string LoadWholeText(const std::u16string& url);

} // namespace tonvella
