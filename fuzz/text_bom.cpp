// Text with or without a byte-order mark, read whole and line by line through each decoder.
#include "fuzz/FuzzInput.h"
#include "streams/Stream.h"

using namespace tonvella;

namespace {

void ReadLines(const std::u16string& url) {
    TStreamHandle stream = OpenForReading(url);
    if (!stream) return;
    try {
        while (!StreamAtEnd(stream))
            ReadTextLine(stream);
    } catch (const TStreamReadException&) {
        // A character cut off by the end of the data.
    }
    CloseFileHandle(stream);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"text");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    try {
        LoadWholeText(u"fuzz::text");
    } catch (const TStreamReadException&) {}
    for (const char16_t* decoder : {u"latin1::", u"utf8::", u"utf16be::", u"utf16le::"})
        ReadLines(decoder + std::u16string(u"fuzz::text"));
    return 0;
}
