#include "media/Text.h"
#include "streams/Embedded.h"
#include "streams/Stream.h"
#include "tests/streams/TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tonvella {
namespace {

using test::ReadAll;

class UrlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::EnsureStreams();
        test::RegisterTestBlob(u"url-test/blob.bin", "memory bytes");
        loose_file = test::WriteTempFile("url-test.txt", "loose file");
    }
    static std::string loose_file;
};
std::string UrlTest::loose_file;

TEST_F(UrlTest, OpensWhatEachUrlNames) {
    const std::string dir_lst = test::ReadFileBytes(test::SourcePath("assets/Dir.lst"));
    const std::u16string file = FromUtf8(loose_file);
    std::u16string backslashed = file;
    for (auto& c : backslashed) {
        if (c == u'/') c = u'\\';
    }
    struct Case {
        std::u16string url;
        const char* expected; // nullptr: opens nothing
    };
    const Case cases[] = {
        {file, "loose file"},
        {backslashed, "loose file"},
        {u"incbin::url-test/blob.bin", "memory bytes"},
        {u"INCBIN::url-test/blob.bin", "memory bytes"},
        {u"Incbin::url-test/BLOB.bin", nullptr},
        {u"incbin::", nullptr},
        {u"incbin::url-test/missing", nullptr},
        {u"", nullptr},
        {u"::url-test/blob.bin", nullptr},
        {u"nosuch::url-test/blob.bin", nullptr},
        {u"latin1::incbin::url-test/blob.bin", "memory bytes"},
        {u"buf::incbin::url-test/blob.bin", "memory bytes"},
        {u"ZIP::Incbin::tt.zip//Dir.lst", dir_lst.c_str()},
        {u"zip::incbin::tt.zip//dir.LST", dir_lst.c_str()},
        {u"Zip::Incbin::tt.zip//DIR.LST", dir_lst.c_str()},
        {u"ZIP::Incbin::tt.zip//somewhere::Dir.lst", dir_lst.c_str()},
        {u"ZIP::Incbin::TT.ZIP//Dir.lst", nullptr},
        {u"ZIP::Incbin::tt.zip//Missing.lst", nullptr},
        {u"ZIP::Incbin::tt.zip", nullptr},
        {u"ZIP::Incbin::tt.zip//", nullptr},
        {u"ZIP::Incbin::tt.zip//" + file, nullptr},
        {u"zip?::Incbin::tt.zip//" + file, "loose file"},
        {u"zip?::Incbin::tt.zip//Dir.lst", dir_lst.c_str()},
        {FromUtf8(loose_file + "-missing"), nullptr},
        {FromUtf8(test::SourcePath("assets")), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.url));
        auto stream = OpenFileForReading(c.url);
        if (!c.expected) {
            EXPECT_EQ(stream, nullptr);
            continue;
        }
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(stream->Size(), int(std::string(c.expected).size()));
        EXPECT_EQ(ReadAll(*stream), c.expected);
        EXPECT_TRUE(StreamAtEnd(stream));
        CloseFileHandle(stream);
    }
}

TEST_F(UrlTest, ReadOnlyProtocolsDeclineWriting) {
    EXPECT_EQ(OpenUrlStream(u"incbin::url-test/blob.bin", 1, 1), nullptr);
    EXPECT_EQ(OpenForWriting(u"incbin::url-test/blob.bin"), nullptr);
    EXPECT_EQ(OpenUrlStream(u"ZIP::Incbin::tt.zip//Dir.lst", 0, 1), nullptr);
    EXPECT_EQ(OpenUrlStream(u"zip?::Incbin::tt.zip//Dir.lst", 0, 1), nullptr);
}

TEST_F(UrlTest, SecondRegistrationKeepsTheFirstBlob) {
    const int size = EmbeddedResourceSize(u"tt.zip");
    const void* data = EmbeddedResourcePointer(u"tt.zip");
    ASSERT_NE(data, nullptr);
    static const char other[] = "other";
    EXPECT_EQ(RegisterEmbeddedResource(u"tt.zip", other, 5), 0);
    EXPECT_EQ(EmbeddedResourcePointer(u"tt.zip"), data);
    EXPECT_EQ(EmbeddedResourceSize(u"tt.zip"), size);
    EXPECT_EQ(EmbeddedResourcePointer(u"not-registered"), nullptr);
    EXPECT_EQ(EmbeddedResourceSize(u"not-registered"), 0);
}

TEST_F(UrlTest, WrapperOfAnOpenStreamLeavesItOpenAndPositioned) {
    auto inner = OpenForReading(u"incbin::url-test/blob.bin");
    ASSERT_NE(inner, nullptr);
    auto wrapper = OpenUrlStream(inner, 1, 0);
    ASSERT_NE(wrapper, nullptr);
    ASSERT_NE(wrapper, inner);
    EXPECT_EQ(wrapper->ReadString(6), u"memory");
    CloseStreamHandle(wrapper);
    EXPECT_EQ(inner->Pos(), 6);
    EXPECT_EQ(ReadAll(*inner), " bytes");
}

// A plain path is read only when it names a regular file: a device never ends and a pipe would
// keep the open waiting for a writer, so both are refused at once, through links as well.
TEST_F(UrlTest, OnlyRegularFilesAreReadAsPlainFiles) {
    const std::string file = test::WriteTempFile("url-test-regular.bin", "regular");
    const std::string dir = file.substr(0, file.rfind('/') + 1);
    const std::string fifo = dir + "url-test-fifo";
    const std::string to_zero = dir + "url-test-zero-link";
    const std::string to_file = dir + "url-test-file-link";
    std::remove(fifo.c_str());
    std::remove(to_zero.c_str());
    std::remove(to_file.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", to_zero.c_str()), 0);
    ASSERT_EQ(symlink(file.c_str(), to_file.c_str()), 0);
    for (const std::string& refused :
         {std::string("/dev/zero"), std::string("/dev/null"), fifo, to_zero}) {
        EXPECT_EQ(OpenFileForReading(FromUtf8(refused)), nullptr) << refused;
    }
    auto linked = OpenFileForReading(FromUtf8(to_file));
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(ReadAll(*linked), "regular");
    CloseFileHandle(linked);
    for (const std::string& path : {fifo, to_zero, to_file})
        std::remove(path.c_str());
}

TEST_F(UrlTest, PlainFileWritesAndReadsBack) {
    const auto path = FromUtf8(test::WriteTempFile("url-test-write.bin", ""));
    auto out = OpenForWriting(path);
    ASSERT_NE(out, nullptr);
    out->WriteInt(-2);
    out->WriteShort(0xBEEF);
    EXPECT_TRUE(out->WriteLine(u"Zeile"));
    EXPECT_EQ(out->Size(), 13);
    CloseFileHandle(out);
    EXPECT_EQ(test::ReadFileBytes(ToUtf8(path)), std::string("\xFE\xFF\xFF\xFF\xEF\xBEZeile\r\n"));

    auto in = OpenFileForReading(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->ReadInt(), -2);
    EXPECT_EQ(in->ReadShort(), 0xBEEF);
    EXPECT_EQ(in->ReadLine(), u"Zeile");
    EXPECT_TRUE(in->Eof());
    EXPECT_THROW(in->ReadByte(), TStreamReadException);
    CloseFileHandle(in);
}

} // namespace
} // namespace tonvella
