#include "streams/ZipStream.h"

#include "media/Platform.h"
#include "media/Text.h"
#include "streams/BufferedStream.h"

#include <climits>
#include <cstdio>
#include <unzip.h>

namespace tonvella {

namespace {

// The unzip library calls back with the archive stream as its opaque value. Exceptions must not
// cross its C frames, so a throwing archive stream counts as an I/O failure.
TStream& ArchiveOf(voidpf opaque) {
    return *static_cast<TStream*>(opaque);
}

voidpf ZCALLBACK open_file_func(voidpf opaque, const char*, int) {
    return opaque;
}

uLong ZCALLBACK read_file_func(voidpf opaque, voidpf, void* buf, uLong size) {
    try {
        int count = size > uLong(INT_MAX) ? INT_MAX : int(size);
        int got = ArchiveOf(opaque).Read(buf, count);
        return got > 0 ? uLong(got) : 0;
    } catch (...) {
        return 0;
    }
}

uLong ZCALLBACK write_file_func(voidpf, voidpf, const void*, uLong) {
    return 0;
}

long ZCALLBACK tell_file_func(voidpf opaque, voidpf) {
    try {
        return ArchiveOf(opaque).Pos();
    } catch (...) {
        return -1;
    }
}

long ZCALLBACK seek_file_func(voidpf opaque, voidpf, uLong offset, int origin) {
    try {
        TStream& archive = ArchiveOf(opaque);
        long long target;
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            target = (long long)offset;
            break;
        case ZLIB_FILEFUNC_SEEK_CUR:
            target = archive.Pos() + (long long)(long)offset;
            break;
        case ZLIB_FILEFUNC_SEEK_END:
            target = archive.Size() + (long long)(long)offset;
            break;
        default:
            return -1;
        }
        if (target < 0 || target > INT_MAX) return -1;
        // A position the archive does not have is a failed seek, not a silent clamp.
        return archive.Seek(int(target)) == target ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

int ZCALLBACK close_file_func(voidpf opaque, voidpf) {
    try {
        ArchiveOf(opaque).Close();
    } catch (...) {}
    return 0;
}

int ZCALLBACK testerror_file_func(voidpf, voidpf) {
    return 0;
}

unzFile Handle(void* p) {
    return static_cast<unzFile>(p);
}

} // namespace

TZipStream::TZipStream() = default;

TZipStream::~TZipStream() {
    // An entry released without Close still owes the unzip library its state.
    if (unzfile) {
        if (_entry_open) unzCloseCurrentFile(Handle(unzfile));
        unzClose(Handle(unzfile));
    }
}

int TZipStream::CheckZLibError(int code) {
    switch (code) {
    case -1:
        throw TZipStreamReadException("Zip file error");
    case -2:
        throw TZipStreamReadException("Zip stream error");
    case -3:
        throw TZipStreamReadException("Zip data error");
    case -4:
        throw TZipStreamReadException("Zip memory error");
    case -5:
        throw TZipStreamReadException("Zip buffer error");
    case -6:
        throw TZipStreamReadException("Zip version error");
    default:
        return 0;
    }
}

void TZipStream::Fail_(const std::string& reason, const std::string& text) {
    _damaged = true;
    DebugPrint(u"Zip entry \"" + _entry + u"\" in \"" + zipUrl + u"\": " + FromUtf8(reason));
    throw TZipStreamReadException(text);
}

TZipStream* TZipStream::Open_(const std::u16string& archive_url, const std::u16string& entry_name,
                              TStreamHandle archive) {
    zipUrl = archive_url;
    _entry = entry_name;
    auto marker = _entry.rfind(u"::");
    if (marker != std::u16string::npos) _entry = _entry.substr(marker + 2);

    zlib_filefunc_def funcs{};
    funcs.zopen_file = open_file_func;
    funcs.zread_file = read_file_func;
    funcs.zwrite_file = write_file_func;
    funcs.ztell_file = tell_file_func;
    funcs.zseek_file = seek_file_func;
    funcs.zclose_file = close_file_func;
    funcs.zerror_file = testerror_file_func;
    funcs.opaque = archive.get();

    // The library closes the archive stream itself when it finds no archive there.
    unzFile uf = unzOpen2(ToLatin1(archive_url).c_str(), &funcs);
    if (!uf) return nullptr;
    // 2: ASCII letters compare without regard to case.
    if (unzLocateFile(uf, ToLatin1(_entry).c_str(), 2) != UNZ_OK) {
        unzClose(uf);
        return nullptr;
    }
    unz_file_info info{};
    // Older releases can leave a long name unterminated; the extra byte keeps it a C string.
    char name[256 + 1] = {};
    if (unzGetCurrentFileInfo(uf, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) {
        unzClose(uf);
        return nullptr;
    }
    name[sizeof name - 1] = '\0';
    _entry = FromLatin1(name);

    const char* refusal = nullptr;
    if (info.flag & 1)
        refusal = "encrypted entries are not supported";
    else if (info.uncompressed_size > uLong(kMaxZipEntrySize))
        refusal = "claims more than 64 MiB";
    else if (info.uncompressed_size > uLong(kZipRatioExemptSize) &&
             info.uncompressed_size > uLong(kMaxZipRatio) * info.compressed_size)
        refusal = "claims a compression ratio above 1:200";
    if (refusal) {
        DebugPrint(u"Zip entry \"" + _entry + u"\" in \"" + zipUrl + u"\": " + FromLatin1(refusal));
        unzClose(uf);
        return nullptr;
    }

    unzfile = uf;
    if (!OpenCurrentFile_()) {
        unzClose(uf);
        unzfile = nullptr;
        return nullptr;
    }
    size_ = int(info.uncompressed_size);
    pos_ = 0;
    innerStream = std::move(archive);
    return this;
}

bool TZipStream::OpenCurrentFile_() {
    _entry_open = unzOpenCurrentFile(Handle(unzfile)) == UNZ_OK;
    _damaged = false;
    return _entry_open;
}

void TZipStream::FinishEntry_() {
    // The unzip library compares the checksum only here, once every declared byte was inflated.
    int closed = unzCloseCurrentFile(Handle(unzfile));
    _entry_open = false;
    if (pos_ < size_)
        Fail_("ends after " + std::to_string(pos_) + " of " + std::to_string(size_) + " bytes",
              "Zip data error");
    if (closed == UNZ_CRCERROR) Fail_("checksum mismatch", "Zip data error");
    if (closed != UNZ_OK)
        Fail_("cannot be closed (" + std::to_string(closed) + ")", "Zip file error");
}

int TZipStream::Read(void* buf, int count) {
    if (!unzfile || count <= 0) return 0;
    if (_damaged) throw TZipStreamReadException("Zip data error");
    if (!_entry_open) return 0;
    int got = unzReadCurrentFile(Handle(unzfile), buf, unsigned(count));
    if (got < 0) {
        unzCloseCurrentFile(Handle(unzfile));
        _entry_open = false;
        try {
            CheckZLibError(got);
        } catch (const TZipStreamReadException& e) {
            Fail_(e.msg + " (" + std::to_string(got) + ")", e.msg);
        }
        Fail_("unzip error " + std::to_string(got), "Zip file error");
    }
    if (got == 0 || pos_ + got >= size_) {
        int before = pos_;
        pos_ += got;
        try {
            FinishEntry_();
        } catch (...) {
            pos_ = before;
            throw;
        }
        return got;
    }
    pos_ += got;
    return got;
}

void TZipStream::DiscardBytes_(int count) {
    // Scratch space of this call: entries are read on several threads at once (decoding ahead).
    unsigned char discard_buffer[1024];
    while (count > 0) {
        int chunk = count > int(sizeof discard_buffer) ? int(sizeof discard_buffer) : count;
        int got = Read(discard_buffer, chunk);
        if (got <= 0) break;
        count -= got;
    }
}

int TZipStream::Seek(int pos) {
    if (!unzfile || pos == pos_) return pos_;
    if (pos < pos_) {
        if (_entry_open) unzCloseCurrentFile(Handle(unzfile));
        pos_ = 0;
        if (!OpenCurrentFile_()) {
            _damaged = true;
            DebugPrint(u"Zip entry \"" + _entry + u"\" in \"" + zipUrl + u"\": cannot be reopened");
            return pos_;
        }
    }
    DiscardBytes_(pos - pos_);
    return pos_;
}

int TZipStream::Write(const void*, int) {
    throw TRuntimeException("Stream is not writeable");
}

int TZipStream::Close() {
    if (!unzfile) return 0;
    // A partly read entry has nothing to check, and a fully read one was checked already.
    if (_entry_open) unzCloseCurrentFile(Handle(unzfile));
    _entry_open = false;
    unzClose(Handle(unzfile));
    unzfile = nullptr;
    return 0;
}

TStreamHandle TZipStreamFactory::CreateStream(const std::u16string&, const std::u16string& protocol,
                                              const std::u16string& path, int, int writeable) {
    if ((protocol != u"zip" && protocol != u"zip?") || writeable) return nullptr;
    auto split = path.find(u"//");
    if (split == std::u16string::npos) return nullptr;
    std::u16string archive_url = path.substr(0, split);
    std::u16string entry = path.substr(split + 2);

    if (auto archive = OpenForReading(archive_url)) {
        auto zip = std::make_shared<TZipStream>();
        if (zip->Open_(archive_url, entry, archive)) return CreateBufferedStream(zip, 4096);
        archive->Close();
    }
    if (protocol == u"zip?") return OpenForReading(entry);
    return nullptr;
}

} // namespace tonvella
