#include "streams/BufferedStream.h"
#include "streams/RamStream.h"
#include "tests/streams/TestSupport.h"
#include "tests/streams/ZipBuilder.h"

#include <gtest/gtest.h>

namespace tonvella {
namespace {

TEST(RamStreamTest, SeekClampsIntoTheBlock) {
    char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto s = TRamStream::Create(bytes, 8, 1, 0);
    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_FALSE(s->Eof());
    EXPECT_EQ(s->Seek(18), 8);
    EXPECT_TRUE(s->Eof());
    char c;
    EXPECT_EQ(s->Read(&c, 1), 0);
    EXPECT_EQ(s->Write(&c, 1), 0) << "a read-only block is never written";
}

TEST(RamStreamTest, ShortTypedReadThrowsAndConsumesWhatWasThere) {
    char bytes[6] = {0x78, 0x56, 0x34, 0x12, 'a', 'b'};
    auto s = TRamStream::Create(bytes, 6, 1, 0);
    EXPECT_EQ(s->ReadInt(), 0x12345678);
    EXPECT_THROW(s->ReadInt(), TStreamReadException);
    EXPECT_TRUE(s->Eof());
    try {
        s->Seek(4);
        s->SkipBytes(3);
        FAIL() << "skipping past the end must throw";
    } catch (const TStreamReadException& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
}

TEST(RamStreamTest, WritesStayInsideTheBlock) {
    char bytes[4] = {};
    auto s = TRamStream::Create(bytes, 4, 1, 1);
    s->Seek(2);
    EXPECT_EQ(s->Write("xyz", 3), 2);
    EXPECT_THROW(s->WriteByte(1), TStreamWriteException);
    EXPECT_EQ(std::string(bytes, 4), std::string("\0\0xy", 4));
}

// The window must give the inner stream's bytes whatever the mix of seeks and read sizes.
TEST(BufferedStreamTest, MatchesTheInnerBytesAcrossSeeksAndReadSizes) {
    std::string data = test::SampleText(10000, 3);
    auto inner = TRamStream::Create(data.data(), int(data.size()), 1, 0);
    auto s = CreateBufferedStream(inner, 1024);
    EXPECT_EQ(CreateBufferedStream(s, 4096), s) << "a window is not wrapped twice";
    struct Step {
        int seek; // -1: keep the position
        int count;
    };
    const Step steps[] = {{-1, 1},  {-1, 100},    {-1, 3000}, {50, 10},   {9000, 700},
                          {200, 1}, {5000, 1024}, {4990, 20}, {0, 10000}, {9999, 5}};
    for (const auto& step : steps) {
        if (step.seek >= 0) {
            ASSERT_EQ(s->Seek(step.seek), step.seek);
        }
        int from = s->Pos();
        std::string got(size_t(step.count), '\0');
        int n = s->Read(got.data(), step.count);
        got.resize(size_t(n > 0 ? n : 0));
        int expected = std::min(step.count, int(data.size()) - from);
        EXPECT_EQ(got, data.substr(size_t(from), size_t(expected))) << "from " << from;
        EXPECT_EQ(s->Pos(), from + expected);
    }
}

TEST(BufferedStreamTest, SeekPastTheEndReachesEof) {
    std::string data = test::SampleText(3000, 4);
    auto s = CreateBufferedStream(TRamStream::Create(data.data(), 3000, 1, 0), 1024);
    EXPECT_EQ(s->Seek(3500), 3000);
    EXPECT_TRUE(s->Eof());
    char c;
    EXPECT_EQ(s->Read(&c, 1), 0);
    EXPECT_EQ(s->Seek(-20), 0);
    EXPECT_EQ(s->ReadByte(), static_cast<unsigned char>(data[0]));
}

} // namespace
} // namespace tonvella
