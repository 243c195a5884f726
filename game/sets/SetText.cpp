#include "game/sets/SetText.h"

#include "media/Text.h"

namespace tonvella {

namespace {

bool IsValidUtf8(std::string_view bytes) {
    return ToUtf8(FromUtf8(bytes)) == bytes;
}

} // namespace

std::vector<std::u16string> SplitSetLines(std::string_view bytes, bool utf8_allowed) {
    const bool utf8 = utf8_allowed && IsValidUtf8(bytes);
    if (utf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::vector<std::u16string> lines;
    std::string line;
    auto end_line = [&] {
        lines.push_back(utf8 ? FromUtf8(line) : FromLatin1(line));
        line.clear();
    };
    for (char c : bytes) {
        if (c == '\n' || c == '\0') {
            end_line();
        } else if (c != '\r') {
            line += c;
        }
    }
    // Anything after the last line end makes one more line, even a lone CR, as a stream reads it.
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\0') end_line();
    return lines;
}

std::u16string FindSetValue(const TNextSetLine& next, const std::u16string& section,
                            const std::u16string& key, int* line_number) {
    const std::u16string header = u"[" + section + u"]";
    bool in_section = false;
    std::u16string line;
    int number = 0;
    if (line_number) *line_number = 0;
    while (next(line)) {
        ++number;
        if (!line.empty() && line[0] == u'\'') continue;
        size_t eq = line.find(u'=');
        if (eq != std::u16string::npos) {
            if (in_section && line.find(u'[') != std::u16string::npos) break;
            if (in_section && line.compare(0, eq, key) == 0) {
                if (line_number) *line_number = number;
                return line.substr(eq + 1);
            }
        } else if (line == header) {
            in_section = true;
        }
    }
    return u"";
}

std::u16string FindSetValue(const std::vector<std::u16string>& lines, const std::u16string& section,
                            const std::u16string& key, int* line_number) {
    size_t at = 0;
    return FindSetValue(
        [&](std::u16string& line) {
            if (at == lines.size()) return false;
            line = lines[at++];
            return true;
        },
        section, key, line_number);
}

bool ParsePairLine(const std::u16string& line, TPairLine& pair) {
    size_t x = line.find(u'x');
    if (x == std::u16string::npos) return false;
    pair.a = TextToInt(line.substr(0, x));
    pair.b = TextToInt(line.substr(x + 1, 2));
    return true;
}

} // namespace tonvella
