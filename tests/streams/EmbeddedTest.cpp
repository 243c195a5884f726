#include "streams/Embedded.h"
#include "media/Text.h"
#include "streams/Stream.h"
#include "tests/streams/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tonvella {
namespace {

std::u16string SwapAsciiCase(std::u16string name) {
    for (auto& c : name) {
        if (c >= u'a' && c <= u'z')
            c -= 0x20;
        else if (c >= u'A' && c <= u'Z')
            c += 0x20;
    }
    return name;
}

TEST(EmbeddedArchiveTest, StartsWithTheMarker) {
    test::EnsureStreams();
    const auto* data = static_cast<const char*>(EmbeddedResourcePointer(u"tt.zip"));
    ASSERT_NE(data, nullptr);
    ASSERT_GT(EmbeddedResourceSize(u"tt.zip"), 8);
    EXPECT_EQ(std::string(data, 6), "PK00PK");
}

// Every file of assets/ comes out of the program's own archive byte for byte, under its name in
// any letter case; a name the source tree writes in UTF-8 ("Gleiche Tonhöhe.Set") is found as the
// game spells it, one character per byte.
TEST(EmbeddedArchiveTest, EveryAssetReadsBackUnderAnyLetterCase) {
    test::EnsureStreams();
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("assets"))) {
        if (!entry.is_regular_file()) continue;
        const auto name = FromUtf8(entry.path().filename().string());
        SCOPED_TRACE(entry.path().filename().string());
        auto s = OpenFileForReading(u"ZIP::Incbin::tt.zip//" + SwapAsciiCase(name));
        ASSERT_NE(s, nullptr);
        const auto expected = test::ReadFileBytes(entry.path().string());
        EXPECT_EQ(s->Size(), int(expected.size()));
        EXPECT_TRUE(test::ReadAll(*s) == expected);
        EXPECT_TRUE(StreamAtEnd(s));
        CloseFileHandle(s);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace tonvella
