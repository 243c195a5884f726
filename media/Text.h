// Conversions between the program's 16-bit text and the byte strings of the C runtime.
#pragma once

#include <string>
#include <string_view>

namespace tonvella {

// UTF-16 code units to UTF-8 (lone surrogates become U+FFFD).
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);
// One character per byte, the way byte data becomes text.
std::u16string FromLatin1(std::string_view bytes);
// The low 8 bits of each character.
std::string ToLatin1(std::u16string_view text);
// Decimal text of a number.
std::u16string IntToText(long long value);
// Leading blanks skipped, optional sign, digits up to the first other character; none gives 0.
int TextToInt(std::u16string_view text);
// ASCII upper and lower case (other characters unchanged).
std::u16string UpperAscii(std::u16string_view text);
std::u16string LowerAscii(std::u16string_view text);

} // namespace tonvella
