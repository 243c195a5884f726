#include "media/Text.h"

#include <gtest/gtest.h>

using namespace tonvella;

TEST(Text, Utf8RoundTripKeepsCzechAndGermanLetters) {
    std::u16string text = u"Vítězný hráč, zurückgesetzt ß \U0001F3B5";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"ä"), "\xC3\xA4");
}

TEST(Text, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(FromUtf8("\x80z"), u"\uFFFDz");
    EXPECT_EQ(FromUtf8("\xE2\x28\xA1"), u"\uFFFD(\uFFFD");
}

TEST(Text, Latin1IsOneCharacterPerByte) {
    EXPECT_EQ(FromLatin1("Zur\xFC"
                         "ck"),
              u"Zurück");
    EXPECT_EQ(ToLatin1(u"Zurück"), "Zur\xFC"
                                   "ck");
}

TEST(Text, TextToIntReadsLeadingNumber) {
    struct {
        std::u16string text;
        int value;
    } cases[] = {{u"28", 28}, {u"  7x", 7}, {u"-3", -3},    {u"+4", 4},
                 {u"", 0},    {u"x1", 0},   {u"12x34", 12}, {u"99999999999", 2147483647}};
    for (auto& c : cases)
        EXPECT_EQ(TextToInt(c.text), c.value) << ToUtf8(c.text);
}

TEST(Text, CaseFoldingChangesOnlyAsciiLetters) {
    // Set files, driver names and URL prefixes are matched this way; umlauts and the letters
    // around A-Z in the code table must come through as they are.
    EXPECT_EQ(UpperAscii(u"test.set [Zürich] @`{"), u"TEST.SET [ZüRICH] @`{");
    EXPECT_EQ(LowerAscii(u"DirectSound ÄÖÜ @[`"), u"directsound ÄÖÜ @[`");
}
