#include "media/Text.h"
#include "streams/Stream.h"
#include "streams/ZipStream.h"
#include "tests/streams/TestSupport.h"
#include "tests/streams/ZipBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace tonvella {
namespace {

// What a damaged archive gave the reader.
enum class TOutcome { NotOpened, Failed, Original, WrongData };

class BrokenZipTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureStreams(); }

    // Opens the entry of `bytes` (registered under a fresh name) and reads it whole.
    static TOutcome Read(std::string bytes, const std::string& original,
                         const std::u16string& entry = u"Data.txt") {
        static int counter = 0;
        auto name =
            test::RegisterTestBlob(u"broken-" + IntToText(++counter) + u".zip", std::move(bytes));
        auto s = OpenFileForReading(u"ZIP::Incbin::" + name + u"//" + entry);
        if (!s) return TOutcome::NotOpened;
        TOutcome outcome;
        try {
            outcome = test::ReadAll(*s, 512) == original ? TOutcome::Original : TOutcome::WrongData;
        } catch (const TZipStreamReadException&) {
            outcome = TOutcome::Failed;
        }
        CloseFileHandle(s);
        return outcome;
    }

    static std::string Original() { return test::SampleText(6000, 7); }
    static test::TBuiltZip Archive() { return test::BuildZip({{"Data.txt", Original(), true}}); }
};

TEST_F(BrokenZipTest, TruncatedArchiveNeverOpens) {
    const auto zip = Archive();
    // Failure messages go to standard output too, so the outcomes are checked after capturing.
    std::vector<std::pair<size_t, TOutcome>> outcomes;
    testing::internal::CaptureStdout();
    for (size_t length = 0; length < zip.bytes.size(); ++length)
        outcomes.emplace_back(length, Read(zip.bytes.substr(0, length), Original()));
    testing::internal::GetCapturedStdout();
    // Inside the end record the unzip library reads missing bytes as zero; what still opens then
    // must be the intact entry.
    const size_t end_record = zip.bytes.size() - 22;
    for (auto [length, outcome] : outcomes) {
        if (length < end_record)
            EXPECT_EQ(outcome, TOutcome::NotOpened) << "cut at " << length;
        else
            EXPECT_TRUE(outcome == TOutcome::NotOpened || outcome == TOutcome::Original)
                << "cut at " << length;
    }
}

// A damaged byte either leaves the data intact (unused padding bits) or is reported; it never
// yields other bytes than the original.
TEST_F(BrokenZipTest, CorruptedDeflatedByteIsAnErrorNotData) {
    const auto zip = Archive();
    const auto& e = zip.entries[0];
    std::vector<TOutcome> outcomes;
    testing::internal::CaptureStdout();
    for (size_t at = e.data; at < e.data + e.data_size; ++at) {
        std::string bytes = zip.bytes;
        bytes[at] = char(bytes[at] ^ 0x10);
        outcomes.push_back(Read(bytes, Original()));
    }
    testing::internal::GetCapturedStdout();
    int failures = 0;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_TRUE(outcomes[i] == TOutcome::Failed || outcomes[i] == TOutcome::Original)
            << "byte " << i << " of " << e.data_size;
        failures += outcomes[i] == TOutcome::Failed;
    }
    EXPECT_GT(failures, int(e.data_size) / 2);
}

TEST_F(BrokenZipTest, LyingSizeOrChecksumIsReportedNamingTheEntry) {
    const auto zip = Archive();
    const auto& e = zip.entries[0];
    const std::uint32_t size = std::uint32_t(Original().size());
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
    };
    const Case cases[] = {
        {"size too large in both headers",
         [&](std::string& b) {
             test::Put32(b, e.local_header + test::kLocalSize, size + 100);
             test::Put32(b, e.central_header + test::kCentralSize, size + 100);
         }},
        {"size too small in both headers",
         [&](std::string& b) {
             test::Put32(b, e.local_header + test::kLocalSize, size - 100);
             test::Put32(b, e.central_header + test::kCentralSize, size - 100);
         }},
        {"checksum wrong in both headers",
         [&](std::string& b) {
             test::Put32(b, e.local_header + test::kLocalCrc, 0x12345678);
             test::Put32(b, e.central_header + test::kCentralCrc, 0x12345678);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = zip.bytes;
        c.damage(bytes);
        testing::internal::CaptureStdout();
        auto outcome = Read(bytes, Original());
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(outcome, TOutcome::Failed);
        EXPECT_NE(printed.find("Data.txt"), std::string::npos) << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    }
}

TEST_F(BrokenZipTest, HeadersThatDisagreeOpenNothing) {
    auto zip = Archive();
    test::Put32(zip.bytes, zip.entries[0].central_header + test::kCentralSize, 10);
    EXPECT_EQ(Read(zip.bytes, Original()), TOutcome::NotOpened);
}

TEST_F(BrokenZipTest, EntriesClaimingTooMuchAreRefused) {
    auto zip = Archive();
    const auto& e = zip.entries[0];
    test::Put32(zip.bytes, e.local_header + test::kLocalSize, 100u << 20);
    test::Put32(zip.bytes, e.central_header + test::kCentralSize, 100u << 20);
    testing::internal::CaptureStdout();
    auto outcome = Read(zip.bytes, Original());
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(outcome, TOutcome::NotOpened);
    EXPECT_NE(printed.find("Data.txt"), std::string::npos) << printed;

    // 2 MiB of zeros deflate to a few kilobytes: far beyond any ratio a real asset has.
    const std::string zeros(2 << 20, '\0');
    auto bomb = test::BuildZip({{"Data.txt", zeros, true}, {"Small.txt", std::string(4096, 0)}});
    testing::internal::CaptureStdout();
    outcome = Read(bomb.bytes, zeros);
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(outcome, TOutcome::NotOpened);
    EXPECT_NE(printed.find("ratio"), std::string::npos) << printed;
    EXPECT_EQ(Read(bomb.bytes, std::string(4096, 0), u"Small.txt"), TOutcome::Original)
        << "small entries may compress as well as they like";
}

} // namespace
} // namespace tonvella
