#include "fuzz/FuzzInput.h"

#include "streams/Modules.h"
#include "streams/RamStream.h"
#include "streams/StreamFactory.h"

#include <set>
#include <utility>

namespace tonvella::fuzz {

namespace {

const std::uint8_t* input_data = nullptr;
int input_size = 0;
std::set<std::u16string> fuzz_paths;
std::set<std::pair<std::u16string, std::u16string>> foreign_urls;

class TFuzzInputFactory : public TStreamFactory {
public:
    TStreamHandle CreateStream(const std::u16string&, const std::u16string& protocol,
                               const std::u16string& path, int readable, int writeable) override {
        if (writeable) return nullptr;
        const bool ours = protocol == u"fuzz" && (fuzz_paths.empty() || fuzz_paths.count(path));
        if (!ours && !foreign_urls.count({protocol, path})) return nullptr;
        // Read-only: the stream never writes into libFuzzer's buffer.
        return TRamStream::Create(const_cast<std::uint8_t*>(input_data), input_size, readable, 0);
    }
};

} // namespace

void InstallFuzzInput() {
    InitStreamProtocols();
    // Constructed after the game's factories, so it is asked first.
    static TFuzzInputFactory factory;
}

void SetFuzzInput(const std::uint8_t* data, std::size_t size) {
    input_data = data;
    // Stream sizes are ints; libFuzzer inputs stay far below that.
    input_size = size > 0x7fffffff ? 0x7fffffff : int(size);
}

void ServeInputAs(const std::u16string& path) {
    fuzz_paths.insert(path);
}

void ServeInputFor(const std::u16string& protocol, const std::u16string& path) {
    foreign_urls.insert({protocol, path});
}

} // namespace tonvella::fuzz
