// Small zip archives made in memory, with the offsets of the fields the tests damage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonvella::test {

struct TZipEntrySpec {
    std::string name; // bytes as stored in the archive
    std::string data;
    bool deflate = true;
};

struct TBuiltEntry {
    size_t local_header; // offsets into TBuiltZip::bytes
    size_t data;
    size_t data_size;
    size_t central_header;
};

struct TBuiltZip {
    std::string bytes;
    std::vector<TBuiltEntry> entries;
};

// Offsets inside the archive are counted from after `prefix`, the way a marker put in front of
// a finished archive leaves them.
TBuiltZip BuildZip(const std::vector<TZipEntrySpec>& entries, const std::string& prefix = "");

// Little-endian 32-bit field at `offset`.
void Put32(std::string& bytes, size_t offset, std::uint32_t value);

// Compressible text that does not simply repeat.
std::string SampleText(size_t size, unsigned seed);

// Offsets of fields inside the local and central headers.
constexpr size_t kLocalCrc = 14, kLocalCompressed = 18, kLocalSize = 22;
constexpr size_t kCentralCrc = 16, kCentralCompressed = 20, kCentralSize = 24;

} // namespace tonvella::test
