// Build-time converter for the translation table: UTF-8 text (LF or CR LF lines, optional
// byte-order mark) to UTF-16LE with byte-order mark FF FE and CR LF line ends.
//   tonvella_utf16le <input.txt> <output.ini>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool Fail(const char* path, long line, const char* reason) {
    std::fprintf(stderr, "%s:%ld: %s\n", path, line, reason);
    return false;
}

void PutUnit(std::string& out, unsigned unit) {
    out.push_back(char(unit & 0xFF));
    out.push_back(char(unit >> 8));
}

bool Convert(const char* path, const std::string& in, std::string& out) {
    size_t i = 0;
    if (in.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
    PutUnit(out, 0xFEFF);
    long line = 1;
    while (i < in.size()) {
        unsigned lead = static_cast<unsigned char>(in[i]);
        int extra = lead < 0x80                   ? 0
                    : lead >= 0xC2 && lead < 0xE0 ? 1
                    : lead >= 0xE0 && lead < 0xF0 ? 2
                    : lead >= 0xF0 && lead < 0xF5 ? 3
                                                  : -1;
        if (extra < 0) return Fail(path, line, "not UTF-8");
        if (i + size_t(extra) >= in.size() && extra > 0)
            return Fail(path, line, "cut-off character");
        unsigned code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned next = static_cast<unsigned char>(in[i + k]);
            if ((next & 0xC0) != 0x80) return Fail(path, line, "not UTF-8");
            code = (code << 6) | (next & 0x3F);
        }
        i += size_t(extra) + 1;
        static const unsigned kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return Fail(path, line, "not UTF-8");
        if (code == '\r') continue; // every line end becomes CR LF below
        if (code == '\n') {
            PutUnit(out, '\r');
            ++line;
        }
        if (code >= 0x10000) {
            PutUnit(out, 0xD800 + ((code - 0x10000) >> 10));
            PutUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            PutUnit(out, code);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <input.txt> <output.ini>\n", argv[0]);
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::fprintf(stderr, "%s: cannot open\n", argv[1]);
        return 1;
    }
    std::string in((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    std::string out;
    if (!Convert(argv[1], in, out)) return 1;
    std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
    if (!output.write(out.data(), std::streamsize(out.size()))) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
