#include "tests/streams/TestSupport.h"

#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace tonvella::test {

void EnsureStreams() {
    static const bool done = [] {
        RegisterGameBlobs();
        InitStreamProtocols();
        return true;
    }();
    (void)done;
}

std::u16string RegisterTestBlob(const std::u16string& name, std::string bytes) {
    static std::deque<std::string> kept;
    kept.push_back(std::move(bytes));
    if (!RegisterEmbeddedResource(name, kept.back().data(), int(kept.back().size())))
        throw std::logic_error("test blob registered twice");
    return name;
}

std::string ReadAll(TStream& stream, int chunk) {
    std::string all;
    std::string block(size_t(chunk), '\0');
    for (int got; (got = stream.Read(block.data(), chunk)) > 0;)
        all.append(block, 0, size_t(got));
    return all;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SourcePath(const std::string& relative) {
    return std::string(TONVELLA_SOURCE_DIR) + "/" + relative;
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    auto dir = std::filesystem::temp_directory_path() / "tonvella-streams-test";
    std::filesystem::create_directories(dir);
    auto path = (dir / name).string();
    // The cases of a suite run as processes of their own at the same time, and each writes the
    // suite's files: a file written in place could be read while another truncates it.
    const std::string part = path + "." + std::to_string(getpid()) + ".part";
    std::ofstream(part, std::ios::binary | std::ios::trunc) << bytes;
    std::filesystem::rename(part, path);
    return path;
}

} // namespace tonvella::test
