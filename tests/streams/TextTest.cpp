#include "media/Text.h"
#include "streams/Stream.h"
#include "tests/streams/TestSupport.h"
#include "tests/streams/ZipBuilder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tonvella {
namespace {

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureStreams(); }
    // Each blob gets a name of its own; the registry never forgets one.
    static std::u16string Blob(std::string bytes) {
        static int counter = 0;
        return u"incbin::" +
               test::RegisterTestBlob(u"text-test/" + IntToText(++counter), std::move(bytes));
    }
};

TEST_F(TextTest, WholeTextFollowsTheByteOrderMark) {
    std::string long_latin1 = test::SampleText(5000, 9) + "\xE4";
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"empty", "", u""},
        {"one byte", "A", u"A"},
        {"one byte of a mark", "\xFF", u"\u00FF"},
        {"half a UTF-8 mark", "\xEF\xBB\x41", u"\u00EF\u00BB\u0041"},
        {"two bytes of a UTF-8 mark only", "\xEF\xBB", u"\u00EF\u00BB"},
        {"Latin-1 without mark",
         "Gr\xFC\xDF"
         "e\r\n",
         u"Gr\u00FC\u00DFe\r\n"},
        {"UTF-8 without mark reads as bytes", "\xC3\xA4", u"\u00C3\u00A4"},
        {"UTF-8 with mark",
         "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC",
         u"Grüße €"},
        {"UTF-8 beyond 16 bits", "\xEF\xBB\xBF\xF0\x9D\x84\x9E!", u"\U0001D11E!"},
        {"UTF-16LE", std::string("\xFF\xFE[\0D\0\r\0\n\0\xAC\x20", 12), u"[D\r\n€"},
        {"UTF-16BE", std::string("\xFE\xFF\0[\0D\x20\xAC", 8), u"[D€"},
        {"mark only", "\xFF\xFE", u""},
        {"longer than the first buffers", long_latin1,
         std::u16string(long_latin1.begin(), long_latin1.end() - 1) + u"\u00E4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadWholeText(Blob(c.bytes)), c.text);
    }
}

TEST_F(TextTest, WholeTextRefusesWhatItCannotOpenOrDecode) {
    EXPECT_THROW(LoadWholeText(u"incbin::text-test/never-registered"), TStreamReadException);
    // A UTF-16 character cut off by the end of data is an error, not a dropped byte.
    EXPECT_THROW(LoadWholeText(Blob(std::string("\xFF\xFEX\0Y", 5))), TStreamReadException);
}

TEST_F(TextTest, LinesEndAtLfOrNulAndLoseEveryCr) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::u16string> lines; // then Eof
    };
    const Case cases[] = {
        {"CR LF", "a\r\nb", {u"a", u"b"}},
        {"LF with final line end", "eins\nzwei\n", {u"eins", u"zwei"}},
        {"NUL ends a line", std::string("x\0y", 3), {u"x", u"y"}},
        {"lone CR does not", "a\rb\r\n", {u"ab"}},
        {"empty lines", "\n\r\n\n", {u"", u"", u""}},
        {"bytes stay bytes", "\xE4\xF6\xFC", {u"\u00E4\u00F6\u00FC"}},
        {"UTF-16 splits at every zero byte", std::string("A\0B\0", 4), {u"A", u"B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = OpenFileForReading(Blob(c.bytes));
        ASSERT_NE(s, nullptr);
        for (const auto& line : c.lines) {
            EXPECT_FALSE(StreamAtEnd(s));
            EXPECT_EQ(ReadTextLine(s), line);
        }
        EXPECT_TRUE(StreamAtEnd(s));
        EXPECT_EQ(ReadTextLine(s), u"") << "reading on at the end gives empty lines";
        CloseFileHandle(s);
    }
}

TEST_F(TextTest, ArchiveEntryReadsLineByLineLikeTheSourceFile) {
    std::istringstream source(test::ReadFileBytes(test::SourcePath("assets/Dir.lst")));
    auto s = OpenFileForReading(u"ZIP::Incbin::tt.zip//Dir.lst");
    ASSERT_NE(s, nullptr);
    int lines = 0;
    for (std::string expected; std::getline(source, expected); ++lines) {
        if (!expected.empty() && expected.back() == '\r') expected.pop_back();
        ASSERT_FALSE(StreamAtEnd(s));
        EXPECT_EQ(ReadTextLine(s), FromLatin1(expected));
    }
    EXPECT_GT(lines, 0);
    EXPECT_TRUE(StreamAtEnd(s));
    CloseFileHandle(s);
}

TEST_F(TextTest, EmbeddedTranslationTableIsTheSourceInUtf16) {
    std::string source = test::ReadFileBytes(test::SourcePath("Translator/translation.txt"));
    std::u16string expected;
    for (char16_t c : FromUtf8(source)) {
        if (c == u'\r') continue;
        if (c == u'\n') expected += u'\r';
        expected += c;
    }
    if (expected.rfind(u"\uFEFF", 0) == 0) expected.erase(0, 1);

    auto raw = OpenForReading(u"Incbin::../Translator/translation.ini");
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->ReadShort(), 0xFEFF) << "byte-order mark FF FE";
    EXPECT_EQ(raw->Size(), 2 + 2 * int(expected.size()));
    CloseFileHandle(raw);

    auto text = LoadWholeText(u"Incbin::../Translator/translation.ini");
    EXPECT_EQ(text.rfind(u"[Deutsch]\r\n", 0), 0u);
    EXPECT_EQ(text, expected);
}

} // namespace
} // namespace tonvella
