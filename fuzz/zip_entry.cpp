// An archive from the input: every entry its central directory names is opened, read to the
// end, sought back and read again, the way the game reads its assets.
#include "fuzz/FuzzInput.h"
#include "media/Text.h"
#include "streams/Stream.h"

#include <cstring>
#include <set>
#include <string>

using namespace tonvella;

namespace {

// Names as the central directory headers give them; the unzip library finds them the same way.
std::set<std::string> EntryNames(const std::uint8_t* data, std::size_t size) {
    std::set<std::string> names{"Dir.lst"};
    for (std::size_t at = 0; at + 46 <= size && names.size() < 32; ++at) {
        if (std::memcmp(data + at, "PK\1\2", 4) != 0) continue;
        std::size_t length = data[at + 28] | (data[at + 29] << 8);
        if (at + 46 + length > size) continue;
        names.insert(std::string(reinterpret_cast<const char*>(data + at + 46), length));
    }
    return names;
}

void ReadEntry(const std::u16string& url) {
    TStreamHandle stream = OpenForReading(url);
    if (!stream) return;
    try {
        unsigned char block[3000];
        int total = 0;
        for (int got; (got = stream->Read(block, 1 + total % int(sizeof block))) > 0;)
            total += got;
        stream->Seek(stream->Size() / 2);
        while (stream->Read(block, sizeof block) > 0) {}
        stream->Seek(0);
        stream->ReadLine();
    } catch (const TStreamException&) {
        // A damaged entry reports itself as a read error; that is the expected outcome.
    }
    CloseFileHandle(stream);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"archive.zip");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    for (const std::string& name : EntryNames(data, size))
        ReadEntry(u"ZIP::fuzz::archive.zip//" + FromLatin1(name));
    return 0;
}
