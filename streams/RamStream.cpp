#include "streams/RamStream.h"

#include "streams/Embedded.h"

#include <cstring>

namespace tonvella {

TStreamHandle TRamStream::Create(void* buf, int size, int readable, int writeable) {
    return std::make_shared<TRamStream>(buf, size, readable, writeable);
}

TRamStream::TRamStream(void* buf, int size, int readable, int writeable)
    : _size(size < 0 ? 0 : size), _buf(static_cast<unsigned char*>(buf)), _read(readable),
      _write(writeable) {}

int TRamStream::Seek(int pos) {
    _pos = pos < 0 ? 0 : pos > _size ? _size : pos;
    return _pos;
}

int TRamStream::Read(void* buf, int count) {
    if (count <= 0 || !_read) return 0;
    if (count > _size - _pos) count = _size - _pos;
    if (count > 0) std::memcpy(buf, _buf + _pos, size_t(count));
    _pos += count;
    return count;
}

int TRamStream::Write(const void* buf, int count) {
    if (count <= 0 || !_write) return 0;
    if (count > _size - _pos) count = _size - _pos;
    if (count > 0) std::memcpy(_buf + _pos, buf, size_t(count));
    _pos += count;
    return count;
}

TBankStream::TBankStream(std::vector<unsigned char> bytes)
    : TRamStream(bytes.data(), int(bytes.size()), 1, 0), _bank(std::move(bytes)) {}

TStreamHandle TRamStreamFactory::CreateStream(const std::u16string&, const std::u16string& protocol,
                                              const std::u16string& path, int readable,
                                              int writeable) {
    if (protocol != u"incbin" || writeable) return nullptr;
    const void* data = EmbeddedResourcePointer(path);
    if (!data) return nullptr;
    // Read-only access, so handing out a non-const pointer never writes into the blob.
    return TRamStream::Create(const_cast<void*>(data), EmbeddedResourceSize(path), readable, 0);
}

} // namespace tonvella
