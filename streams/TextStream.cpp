#include "streams/TextStream.h"

namespace tonvella {

namespace {
constexpr int kReplacement = 0xFFFD;
}

std::shared_ptr<TTextStream> TTextStream::Create(TStreamHandle stream, int encoding) {
    return std::make_shared<TTextStream>(std::move(stream), encoding);
}

int TTextStream::ReadChar() {
    switch (_encoding) {
    case UTF8: {
        int lead = ReadByte();
        if (lead < 0x80) return lead;
        // A continuation byte cannot start a character.
        if (lead < 0xC0) return kReplacement;
        if (lead < 0xE0) return ((lead - 0xC0) << 6) + (ReadByte() - 0x80);
        if (lead < 0xF0) {
            int b2 = ReadByte();
            int b3 = ReadByte();
            return ((lead - 0xE0) << 12) + ((b2 - 0x80) << 6) + (b3 - 0x80);
        }
        // Four bytes beyond the 16-bit plane; Append splits them into a surrogate pair.
        int b2 = ReadByte();
        int b3 = ReadByte();
        int b4 = ReadByte();
        int code = ((lead & 0x07) << 18) + ((b2 - 0x80) << 12) + ((b3 - 0x80) << 6) + (b4 - 0x80);
        return code <= 0x10FFFF && code >= 0x10000 ? code : kReplacement;
    }
    case UTF16BE: {
        int b0 = ReadByte();
        return (b0 << 8) | ReadByte();
    }
    case UTF16LE: {
        int b0 = ReadByte();
        return b0 | (ReadByte() << 8);
    }
    default:
        return ReadByte();
    }
}

void TTextStream::Append(std::u16string& text, int code) {
    if (code >= 0x10000) {
        code -= 0x10000;
        text.push_back(char16_t(0xD800 + (code >> 10)));
        text.push_back(char16_t(0xDC00 + (code & 0x3FF)));
    } else {
        text.push_back(char16_t(code & 0xFFFF));
    }
}

std::u16string TTextStream::ReadLine() {
    std::u16string line;
    while (!Eof()) {
        int c = ReadChar();
        if (c == 10 || c == 0) break;
        if (c != 13) Append(line, c);
    }
    return line;
}

std::u16string TTextStream::ReadFile() {
    std::u16string text;
    while (!Eof())
        Append(text, ReadChar());
    return text;
}

TStreamHandle TTextStreamFactory::CreateStream(const std::u16string&,
                                               const std::u16string& protocol,
                                               const std::u16string& path, int readable,
                                               int writeable) {
    int encoding = protocol == u"latin1"    ? TTextStream::LATIN1
                   : protocol == u"utf8"    ? TTextStream::UTF8
                   : protocol == u"utf16be" ? TTextStream::UTF16BE
                   : protocol == u"utf16le" ? TTextStream::UTF16LE
                                            : 0;
    if (!encoding) return nullptr;
    auto inner = OpenUrlStream(path, readable, writeable);
    if (!inner) return nullptr;
    return TTextStream::Create(inner, encoding);
}

} // namespace tonvella
