// The text of a card-set file as the game reads it: its lines, the value of an entry, and a pair
// line. The built-in sets and the teachers' sets are read by these rules alike.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tonvella {

// Splits a set file into lines as a stream reads them: LF or a zero byte ends a line, CR is
// dropped anywhere, and a last line without an end counts. With `utf8_allowed`, bytes that are
// valid UTF-8 are read as UTF-8 (a teacher's editor writes it; a byte-order mark is skipped);
// otherwise every byte is one character.
std::vector<std::u16string> SplitSetLines(std::string_view bytes, bool utf8_allowed);

// Gives the next line of a set file; false when there is none.
using TNextSetLine = std::function<bool(std::u16string& line)>;

// The value of the first entry `key` of `[section]`, or the empty string. A line beginning with
// "'" is a comment; an entry line that contains "[" ends the search; a later section header does
// not end the section. `line_number` (from 1) is set to the entry's line, 0 when not found.
std::u16string FindSetValue(const TNextSetLine& next, const std::u16string& section,
                            const std::u16string& key, int* line_number = nullptr);
std::u16string FindSetValue(const std::vector<std::u16string>& lines, const std::u16string& section,
                            const std::u16string& key, int* line_number = nullptr);

// A pair line: a + "x" + b, two numbers of the set's sounds. a is read from the text before the
// first "x", b from at most the two characters after it. False when the line has no "x".
struct TPairLine {
    int a = 0, b = 0;
};
bool ParsePairLine(const std::u16string& line, TPairLine& pair);

} // namespace tonvella
