#include "tests/game_menu/MenuSupport.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "game/Manual.h"
#include "game/Menu.h"
#include "media/Platform.h"
#include "media/Text.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using namespace tonvella;
using namespace menutest;
namespace fs = std::filesystem;

namespace {

constexpr int kEsc = 27, kF1 = 112, kF7 = 118;

class ManualTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGame();
        for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
            const char* value = std::getenv(name);
            saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
            UnsetEnv(name);
        }
        SetEnv("TEMP", temp.path().string());
    }
    void TearDown() override {
        for (auto& [name, value] : saved)
            value ? SetEnv(name, *value) : UnsetEnv(name);
        StopGame();
    }
    fs::path CopyIn(const fs::path& dir, const std::string& language) {
        return dir / (ToUtf8(StripDirAndExt(ProgramPath())) + " " + language + ".PDF");
    }

    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    TScratchDir temp;
    TFakeOpener opener;
};

} // namespace

TEST_F(ManualTest, TemporaryDirectoryComesFromTempTmpTmpdirOrTmp) {
    struct {
        const char *temp, *tmp, *tmpdir; // nullptr: unset
        const char* expected;
    } cases[] = {
        {"/a", "/b", "/c", "/a"},
        {nullptr, "/b", "/c", "/b"},
        {"", "/b", nullptr, "/b"},
        {nullptr, nullptr, "/c", "/c"},
        {nullptr, nullptr, nullptr, "/tmp"},
        {"/a/", nullptr, nullptr, "/a"},
        {"", "", "", "/tmp"},
    };
    for (auto& c : cases) {
        c.temp ? SetEnv("TEMP", c.temp) : UnsetEnv("TEMP");
        c.tmp ? SetEnv("TMP", c.tmp) : UnsetEnv("TMP");
        c.tmpdir ? SetEnv("TMPDIR", c.tmpdir) : UnsetEnv("TMPDIR");
        EXPECT_EQ(ToUtf8(TempDirectory()), c.expected)
            << "TEMP=" << (c.temp ? c.temp : "(unset)") << " TMP=" << (c.tmp ? c.tmp : "(unset)");
    }
}

TEST_F(ManualTest, F1InEachLanguageOpensACopyOfItsManual) {
    Script().keys = {kF1, kF7, kF1, kF7, kF1, kEsc, kEsc};
    RunMenu();
    std::vector<std::string> opened = opener.WaitForAddresses(3);
    ASSERT_EQ(opened.size(), 3u);
    const char* languages[] = {"Deutsch", "English", "Czech"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(languages[i]);
        fs::path copy = CopyIn(temp.path(), languages[i]);
        std::string manual = ArchiveEntry(std::string(languages[i]) + ".pdf");
        ASSERT_GT(manual.size(), 1000u);
        EXPECT_EQ(manual.rfind("%PDF", 0), 0u);
        EXPECT_TRUE(ReadFile(copy) == manual) << "the copy differs from the archive entry";
        EXPECT_EQ(opened[i].rfind("file://", 0), 0u) << opened[i];
        EXPECT_EQ(PathOfFileUrl(opened[i]), copy.string());
    }
}

TEST_F(ManualTest, SecondOpenOverwritesTheCopy) {
    fs::path copy = CopyIn(temp.path(), "Deutsch");
    std::ofstream(copy) << "an older copy that a viewer may still show";
    ASSERT_TRUE(OpenManual());
    ASSERT_TRUE(OpenManual());
    EXPECT_TRUE(ReadFile(copy) == ArchiveEntry("Deutsch.pdf"));
    EXPECT_EQ(opener.WaitForAddresses(2).size(), 2u);
    // Nothing but the copy is left behind in the directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

TEST_F(ManualTest, TmpServesWhenTempIsUnset) {
    TScratchDir tmp;
    UnsetEnv("TEMP");
    SetEnv("TMP", tmp.path().string());
    ASSERT_TRUE(OpenManual());
    EXPECT_TRUE(ReadFile(CopyIn(tmp.path(), "Deutsch")) == ArchiveEntry("Deutsch.pdf"));
    EXPECT_FALSE(fs::exists(CopyIn(temp.path(), "Deutsch")));
}

TEST_F(ManualTest, PlantedLinkIsReplacedNotFollowed) {
    TScratchDir elsewhere;
    fs::path victim = elsewhere.path() / "precious.txt";
    std::ofstream(victim) << "must stay";
    fs::path copy = CopyIn(temp.path(), "Deutsch");
    fs::create_symlink(victim, copy);
    ASSERT_TRUE(OpenManual());
    EXPECT_EQ(ReadFile(victim), "must stay");
    EXPECT_FALSE(fs::is_symlink(copy));
    EXPECT_TRUE(ReadFile(copy) == ArchiveEntry("Deutsch.pdf"));
}

TEST_F(ManualTest, FailedCopyIsReportedOnceAndNotOpened) {
    TScratchDir place;
    fs::path file = place.path() / "a-file";
    std::ofstream(file) << "x";
    fs::path locked = place.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    struct {
        const char* what;
        std::string temp;
    } cases[] = {
        {"missing directory", (place.path() / "gone").string()},
        {"a file, not a directory", file.string()},
        {"a directory without write permission", locked.string()},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.temp == locked.string() && geteuid() == 0) continue; // root writes anyway
        SetEnv("TEMP", c.temp);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(OpenManual());
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_NE(out.find("Cannot copy"), std::string::npos) << out;
        EXPECT_NE(out.find(c.temp), std::string::npos) << out;
    }
    // Had a failed copy been handed to the opener, its address would come first in the log.
    SetEnv("TEMP", temp.path().string());
    ASSERT_TRUE(OpenManual());
    std::vector<std::string> opened = opener.WaitForAddresses(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(PathOfFileUrl(opened[0]), CopyIn(temp.path(), "Deutsch").string());
}

TEST_F(ManualTest, ThePageSaysWhenTheManualCouldNotBeOpened) {
    struct {
        const char16_t* language;
        const char* failed;
    } cases[] = {
        {u"Deutsch", "Die Anleitung konnte nicht geöffnet werden."},
        {u"English", "The manual could not be opened."},
        {u"Czech", "Návod se nepodařilo otevřít."},
    };
    TScratchDir place;
    for (auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.language));
        while (Language != c.language)
            NextLanguage();
        auto page_after_f1 = [] {
            Script().keys = {kF1, kEsc};
            testing::internal::CaptureStdout();
            RunMenu();
            testing::internal::GetCapturedStdout();
            std::array<std::u16string, 2> lines = ManualPageText();
            return ToUtf8(lines[0] + lines[1]);
        };
        SetEnv("TEMP", (place.path() / "gone").string());
        EXPECT_EQ(page_after_f1(), c.failed);
        SetEnv("TEMP", temp.path().string());
        EXPECT_EQ(page_after_f1(), "wird als PDF-Dokument geöffnet.");
    }
    opener.WaitForAddresses(3);
}

TEST_F(ManualTest, ManualMissingFromTheArchiveIsNotOpened) {
    ManualLanguage = u"Klingonisch";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenManual());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Klingonisch.PDF"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(CopyIn(temp.path(), "Klingonisch")));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 0)
        << "no half-written file may stay behind";
}

TEST_F(ManualTest, ShellGetsWebAddressesAsTheyAreAndLocalFilesAsFileAddresses) {
    fs::path doc = temp.path() / "a b ä.pdf";
    std::ofstream(doc) << "x";
    fs::path cwd = fs::current_path();
    fs::current_path(temp.path());
    struct {
        std::string given;
        bool opened;
        std::string address;
    } cases[] = {
        {"http://example.org/x", true, "http://example.org/x"},
        {"HTTPS://example.org/x#y", true, "HTTPS://example.org/x#y"},
        {"File:///somewhere", true, "File:///somewhere"},
        {doc.string(), true, "file://" + temp.path().string() + "/a%20b%20%C3%A4.pdf"},
        {"a b ä.pdf#page=2", true, "file://" + temp.path().string() + "/a%20b%20%C3%A4.pdf#page=2"},
        {"no such file.pdf", false, ""},
        {"www.example.org", false, ""},
    };
    size_t expected = 0;
    for (auto& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(OpenWithShell(FromUtf8(c.given)), c.opened);
        if (!c.opened) continue;
        std::vector<std::string> opened = opener.WaitForAddresses(++expected);
        ASSERT_EQ(opened.size(), expected);
        EXPECT_EQ(opened.back(), c.address);
    }
    fs::current_path(cwd);
}
