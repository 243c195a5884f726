#include "streams/Stream.h"

#include <cstdint>
#include <cstring>

namespace tonvella {

TStream::~TStream() = default;

int TStream::Eof() {
    return Pos() == Size();
}
int TStream::Pos() {
    return -1;
}
int TStream::Size() {
    return 0;
}
int TStream::Seek(int) {
    return -1;
}
int TStream::Flush() {
    return 0;
}
int TStream::Close() {
    return 0;
}
int TStream::Read(void*, int) {
    throw TRuntimeException("Stream is not readable");
}
int TStream::Write(const void*, int) {
    throw TRuntimeException("Stream is not writeable");
}

int TStream::ReadBytes(void* buf, int count) {
    auto* dst = static_cast<unsigned char*>(buf);
    int done = 0;
    while (done < count) {
        int got = Read(dst + done, count - done);
        if (got <= 0) throw TStreamReadException();
        done += got;
    }
    return count;
}

int TStream::WriteBytes(const void* buf, int count) {
    auto* src = static_cast<const unsigned char*>(buf);
    int done = 0;
    while (done < count) {
        int put = Write(src + done, count - done);
        if (put <= 0) throw TStreamWriteException();
        done += put;
    }
    return count;
}

int TStream::SkipBytes(int count) {
    unsigned char scratch[1024];
    for (int left = count; left > 0;) {
        int chunk = left < int(sizeof scratch) ? left : int(sizeof scratch);
        ReadBytes(scratch, chunk);
        left -= chunk;
    }
    return count;
}

namespace {

// Little-endian on every host, whatever its own byte order.
template <typename T> T ReadLittle(TStream& s) {
    unsigned char bytes[sizeof(T)];
    s.ReadBytes(bytes, sizeof bytes);
    std::uint64_t bits = 0;
    for (int i = int(sizeof bytes) - 1; i >= 0; --i)
        bits = (bits << 8) | bytes[i];
    T value;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&value, &bits, 8);
    } else if constexpr (sizeof(T) == 4) {
        auto narrow = std::uint32_t(bits);
        std::memcpy(&value, &narrow, 4);
    } else {
        value = T(bits);
    }
    return value;
}

template <typename T> int WriteLittle(TStream& s, T value) {
    std::uint64_t bits = 0;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&bits, &value, 8);
    } else if constexpr (sizeof(T) == 4) {
        std::uint32_t narrow;
        std::memcpy(&narrow, &value, 4);
        bits = narrow;
    } else {
        bits = std::uint64_t(value);
    }
    unsigned char bytes[sizeof(T)];
    for (auto& b : bytes) {
        b = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
    s.WriteBytes(bytes, sizeof bytes);
    return 1;
}

} // namespace

int TStream::ReadByte() {
    return ReadLittle<std::uint8_t>(*this);
}
int TStream::WriteByte(int value) {
    return WriteLittle<std::uint8_t>(*this, std::uint8_t(value));
}
int TStream::ReadShort() {
    return ReadLittle<std::uint16_t>(*this);
}
int TStream::WriteShort(int value) {
    return WriteLittle<std::uint16_t>(*this, std::uint16_t(value));
}
int TStream::ReadInt() {
    return ReadLittle<std::int32_t>(*this);
}
int TStream::WriteInt(int value) {
    return WriteLittle<std::int32_t>(*this, value);
}
long long TStream::ReadLong() {
    return ReadLittle<std::int64_t>(*this);
}
int TStream::WriteLong(long long value) {
    return WriteLittle<std::int64_t>(*this, value);
}
float TStream::ReadFloat() {
    return ReadLittle<float>(*this);
}
int TStream::WriteFloat(float value) {
    return WriteLittle<float>(*this, value);
}
double TStream::ReadDouble() {
    return ReadLittle<double>(*this);
}
int TStream::WriteDouble(double value) {
    return WriteLittle<double>(*this, value);
}

std::u16string TStream::ReadLine() {
    std::u16string line;
    unsigned char byte;
    while (Read(&byte, 1) == 1 && byte != 0 && byte != 10) {
        if (byte != 13) line.push_back(char16_t(byte));
    }
    return line;
}

int TStream::WriteLine(const std::u16string& text) {
    std::string bytes(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        bytes[i] = char(text[i] & 0xFF);
    int whole = Write(bytes.data(), int(bytes.size())) == int(bytes.size());
    static const char kLineEnd[2] = {13, 10};
    return whole && Write(kLineEnd, 2) == 2;
}

std::u16string TStream::ReadString(int count) {
    if (count <= 0) return {};
    std::string bytes(size_t(count), '\0');
    ReadBytes(bytes.data(), count);
    std::u16string text(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    return text;
}

int TStream::WriteString(const std::u16string& text) {
    std::string bytes(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        bytes[i] = char(text[i] & 0xFF);
    WriteBytes(bytes.data(), int(bytes.size()));
    return 1;
}

} // namespace tonvella
