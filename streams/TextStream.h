// Characters decoded from an inner byte stream.
#pragma once

#include "streams/StreamFactory.h"
#include "streams/StreamWrapper.h"

namespace tonvella {

class TTextStream : public TStreamWrapper {
public:
    enum { LATIN1 = 1, UTF8 = 2, UTF16BE = 3, UTF16LE = 4 };

    static std::shared_ptr<TTextStream> Create(TStreamHandle stream, int encoding);
    TTextStream(TStreamHandle stream, int encoding)
        : TStreamWrapper(std::move(stream)), _encoding(encoding) {}

    // One code point; throws TStreamReadException when a character is cut off by the end.
    int ReadChar();
    // Up to character 10 or 0 (consumed, not stored); character 13 is dropped.
    std::u16string ReadLine() override;
    // Everything up to the end.
    std::u16string ReadFile();

private:
    void Append(std::u16string& text, int code);

    int _encoding;
};

// "latin1::", "utf8::", "utf16be::", "utf16le::" over the stream the rest of the URL opens.
class TTextStreamFactory : public TStreamFactory {
public:
    TStreamHandle CreateStream(const std::u16string& url, const std::u16string& protocol,
                               const std::u16string& path, int readable, int writeable) override;
};

} // namespace tonvella
