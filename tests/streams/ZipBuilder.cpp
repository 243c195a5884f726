#include "tests/streams/ZipBuilder.h"

#include <stdexcept>
#include <zlib.h>

namespace tonvella::test {

namespace {

void Add16(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

void Add32(std::string& out, std::uint32_t v) {
    Add16(out, v & 0xFFFF);
    Add16(out, v >> 16);
}

std::string RawDeflate(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace

void Put32(std::string& bytes, size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

TBuiltZip BuildZip(const std::vector<TZipEntrySpec>& entries, const std::string& prefix) {
    TBuiltZip zip;
    std::string& out = zip.bytes;
    out = prefix;
    std::string central;
    std::vector<size_t> central_starts;
    for (const auto& e : entries) {
        std::uint32_t crc =
            crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), uInt(e.data.size()));
        std::string stored = e.deflate ? RawDeflate(e.data) : e.data;
        unsigned method = e.deflate ? 8 : 0;
        TBuiltEntry built{};
        built.local_header = out.size();
        auto header = [&](std::string& to, bool is_central) {
            Add32(to, is_central ? 0x02014b50 : 0x04034b50);
            if (is_central) Add16(to, 20);
            Add16(to, 20);
            Add16(to, 0);      // flags
            Add16(to, method); // method
            Add16(to, 0);      // time
            Add16(to, 0x21);   // date: 1980-01-01
            Add32(to, crc);
            Add32(to, std::uint32_t(stored.size()));
            Add32(to, std::uint32_t(e.data.size()));
            Add16(to, unsigned(e.name.size()));
            Add16(to, 0); // extra
            if (is_central) {
                Add16(to, 0); // comment
                Add16(to, 0); // disk
                Add16(to, 0); // internal attributes
                Add32(to, 0); // external attributes
                Add32(to, std::uint32_t(built.local_header - prefix.size()));
            }
            to += e.name;
        };
        header(out, false);
        built.data = out.size();
        built.data_size = stored.size();
        out += stored;
        central_starts.push_back(central.size());
        header(central, true);
        zip.entries.push_back(built);
    }
    size_t central_offset = out.size();
    for (size_t i = 0; i < zip.entries.size(); ++i)
        zip.entries[i].central_header = central_offset + central_starts[i];
    out += central;
    Add32(out, 0x06054b50);
    Add16(out, 0);
    Add16(out, 0);
    Add16(out, unsigned(entries.size()));
    Add16(out, unsigned(entries.size()));
    Add32(out, std::uint32_t(central.size()));
    Add32(out, std::uint32_t(central_offset - prefix.size()));
    Add16(out, 0);
    return zip;
}

std::string SampleText(size_t size, unsigned seed) {
    static const char* const kWords[] = {"Melodie ", "Beat ",  "Tempo ",   "Quinte\n",  "Terz ",
                                         "Oktave ",  "Sexte ", "Trommel ", "Banjo\r\n", "Harfe "};
    std::string text;
    unsigned state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += kWords[(state >> 16) % 10];
        if ((state >> 8) % 7 == 0) text += std::to_string(state % 1000);
    }
    text.resize(size);
    return text;
}

} // namespace tonvella::test
