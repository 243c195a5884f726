#include "streams/Stream.h"
#include "streams/TextStream.h"

#include <vector>

namespace tonvella {

namespace {

// Closes the stream however the reading ends.
struct TCloseOnExit {
    TStreamHandle stream;
    ~TCloseOnExit() {
        try {
            stream->Close();
        } catch (...) {}
    }
};

} // namespace

std::u16string LoadWholeText(const std::u16string& url) {
    auto stream = OpenForReading(url);
    if (!stream) throw TStreamReadException();
    TCloseOnExit guard{stream};

    std::vector<unsigned char> head;
    if (!stream->Eof()) head.push_back(static_cast<unsigned char>(stream->ReadByte()));
    if (!stream->Eof()) head.push_back(static_cast<unsigned char>(stream->ReadByte()));
    int encoding = 0;
    if (head.size() == 2) {
        if (head[0] == 0xFE && head[1] == 0xFF) encoding = TTextStream::UTF16BE;
        if (head[0] == 0xFF && head[1] == 0xFE) encoding = TTextStream::UTF16LE;
        if (head[0] == 0xEF && head[1] == 0xBB && !stream->Eof()) {
            head.push_back(static_cast<unsigned char>(stream->ReadByte()));
            if (head[2] == 0xBF) encoding = TTextStream::UTF8;
        }
    }
    if (encoding) {
        // The text stream only borrows the stream; the guard closes it.
        auto text = TTextStream::Create(stream, encoding);
        auto whole = text->ReadFile();
        text->SetStream(nullptr);
        return whole;
    }

    std::u16string text(head.begin(), head.end());
    std::vector<unsigned char> block(1024);
    for (int got; (got = stream->Read(block.data(), int(block.size()))) > 0;) {
        text.append(block.begin(), block.begin() + got);
        if (got == int(block.size())) block.resize(block.size() * 2);
    }
    return text;
}

} // namespace tonvella
