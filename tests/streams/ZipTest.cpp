#include "media/Text.h"
#include "streams/Stream.h"
#include "streams/ZipStream.h"
#include "tests/streams/TestSupport.h"
#include "tests/streams/ZipBuilder.h"

#include <gtest/gtest.h>

namespace tonvella {
namespace {

class ZipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::EnsureStreams();
        big = test::SampleText(50000, 1);
        small = "klein";
        auto zip = test::BuildZip({{"Big.txt", big, true},
                                   {"Stored.bin", small, false},
                                   {"\xC4rger.txt", "umlaut", true},
                                   {"big.TXT", "second of that name", true}},
                                  "PK00");
        test::RegisterTestBlob(u"zip-test.zip", zip.bytes);
    }
    static TStreamHandle Open(const std::u16string& entry) {
        return OpenFileForReading(u"zip::incbin::zip-test.zip//" + entry);
    }
    static std::string big, small;
};
std::string ZipTest::big, ZipTest::small;

TEST_F(ZipTest, SeeksBackAndForthGiveTheOriginalBytes) {
    auto s = Open(u"Big.txt");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Size(), int(big.size()));
    // Inside the window, just past it, far forward, far back (re-inflation), to 0, at the end.
    const int targets[] = {150, 100, 4000, 4500, 30000, 29000, 2000, 0, 49990, 12345, 49999};
    for (int target : targets) {
        SCOPED_TRACE(target);
        ASSERT_EQ(s->Seek(target), target);
        int count = std::min(300, int(big.size()) - target);
        std::string got(size_t(count), '\0');
        ASSERT_EQ(s->ReadBytes(got.data(), count), count);
        EXPECT_EQ(got, big.substr(size_t(target), size_t(count)));
        EXPECT_EQ(s->Pos(), target + count);
    }
    EXPECT_EQ(s->Seek(int(big.size()) + 100), int(big.size())) << "past the end clamps";
    EXPECT_TRUE(StreamAtEnd(s));
    EXPECT_EQ(s->Seek(-7), 0);
    EXPECT_EQ(test::ReadAll(*s, 777), big);
    EXPECT_TRUE(StreamAtEnd(s));
    s->Seek(0);
    EXPECT_EQ(test::ReadAll(*s, 1), big) << "byte by byte through the window";
    CloseFileHandle(s);
}

TEST_F(ZipTest, StoredEntryAndSeveralOpenEntriesAtOnce) {
    auto a = Open(u"stored.BIN");
    auto b = Open(u"BIG.txt");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->ReadString(8), FromLatin1(big.substr(0, 8)));
    EXPECT_EQ(test::ReadAll(*a), small);
    EXPECT_EQ(test::ReadAll(*b), big.substr(8));
    CloseFileHandle(a);
    CloseFileHandle(b);
    CloseFileHandle(b);
}

TEST_F(ZipTest, NamesIgnoreOnlyAsciiLetterCase) {
    auto first = Open(u"BIG.TXT");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Size(), int(big.size())) << "the first match in directory order wins";
    CloseFileHandle(first);

    auto umlaut = Open(u"\u00C4RGER.txt");
    ASSERT_NE(umlaut, nullptr);
    EXPECT_EQ(test::ReadAll(*umlaut), "umlaut");
    CloseFileHandle(umlaut);
    EXPECT_EQ(Open(u"\u00E4rger.txt"), nullptr) << "a non-ASCII letter matches only itself";
    EXPECT_EQ(Open(std::u16string(300, u'a')), nullptr);
}

TEST_F(ZipTest, WritingAnEntryIsMisuse) {
    auto s = Open(u"Stored.bin");
    ASSERT_NE(s, nullptr);
    try {
        s->Write("x", 1);
        FAIL() << "an entry must not be writeable";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.error, "Stream is not writeable");
    }
    CloseFileHandle(s);
}

TEST_F(ZipTest, ZlibCodesBecomeTheirMessages) {
    const std::pair<int, const char*> codes[] = {
        {-1, "Zip file error"},   {-2, "Zip stream error"}, {-3, "Zip data error"},
        {-4, "Zip memory error"}, {-5, "Zip buffer error"}, {-6, "Zip version error"}};
    for (auto [code, text] : codes) {
        try {
            TZipStream::CheckZLibError(code);
            ADD_FAILURE() << code << " must throw";
        } catch (const TZipStreamReadException& e) {
            EXPECT_EQ(e.msg, text);
            EXPECT_STREQ(e.what(), text);
        }
    }
    EXPECT_EQ(TZipStream::CheckZLibError(0), 0);
    EXPECT_EQ(TZipStream::CheckZLibError(-105), 0);
}

} // namespace
} // namespace tonvella
