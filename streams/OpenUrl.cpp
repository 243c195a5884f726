#include "streams/CStream.h"
#include "streams/RamStream.h"
#include "streams/Stream.h"
#include "streams/StreamFactory.h"
#include "streams/StreamWrapper.h"

#include <vector>

namespace tonvella {

TStreamHandle OpenUrlStream(const std::u16string& url, int readable, int writeable) {
    std::u16string protocol;
    std::u16string path;
    if (!url.empty()) {
        auto split = url.find(u"::");
        // Plain paths never reach a factory, even when they contain "//".
        if (split == std::u16string::npos) return TCStream::OpenFile(url, readable, writeable);
        protocol = LowerProtocol(std::u16string_view(url).substr(0, split));
        path = url.substr(split + 2);
    }
    for (auto* factory = FirstStreamFactory(); factory; factory = factory->_succ) {
        if (auto stream = factory->CreateStream(url, protocol, path, readable, writeable))
            return stream;
    }
    return nullptr;
}

TStreamHandle OpenUrlStream(const TStreamHandle& stream, int, int) {
    if (!stream) return nullptr;
    return TStreamStream::Create(stream);
}

TStreamHandle OpenForReading(const std::u16string& url) {
    return OpenUrlStream(url, 1, 0);
}

TStreamHandle OpenForWriting(const std::u16string& url) {
    return OpenUrlStream(url, 0, 1);
}

TStreamHandle OpenSeekableStream(const std::u16string& url, int readable, int writeable) {
    auto stream = OpenUrlStream(url, readable, writeable);
    if (!stream || stream->Pos() != -1) return stream;
    std::vector<unsigned char> bank;
    unsigned char block[4096];
    for (int got; (got = stream->Read(block, sizeof block)) > 0;)
        bank.insert(bank.end(), block, block + got);
    stream->Close();
    return std::make_shared<TBankStream>(std::move(bank));
}

TStreamHandle OpenFileForReading(const std::u16string& url) {
    return OpenSeekableStream(url, 1, 0);
}

std::u16string ReadTextLine(const TStreamHandle& stream) {
    return stream->ReadLine();
}

int StreamAtEnd(const TStreamHandle& stream) {
    return stream->Eof();
}

void CloseStreamHandle(const TStreamHandle& stream) {
    if (stream) stream->Close();
}

void CloseFileHandle(const TStreamHandle& stream) {
    CloseStreamHandle(stream);
}

} // namespace tonvella
