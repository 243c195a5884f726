// Where teachers' sets are found, and what the game does with files in a teacher's folder that
// are not what they claim: each is refused with a line, and nothing else happens.
#include "tests/game_sets/SetFixtures.h"

#include "game/sets/ExamineSet.h"
#include "game/sets/TeacherSets.h"
#include "media/Text.h"
#include "tests/media_sound/Fixtures.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tonvella;
using namespace settest;

namespace {

std::vector<std::string> Utf8(const std::vector<std::u16string>& texts) {
    std::vector<std::string> out;
    for (const auto& t : texts)
        out.push_back(ToUtf8(t));
    return out;
}

} // namespace

TEST(TeacherSetFolders, FromTheXdgVariablesOrTheirDefaults) {
    struct {
        const char* what;
        const char* home; // nullptr: unset
        const char* dirs;
        std::vector<std::string> folders;
    } cases[] = {
        {"defaults",
         nullptr,
         nullptr,
         {"/h/.local/share/tonvella/sets/", "/usr/local/share/tonvella/sets/",
          "/usr/share/tonvella/sets/"}},
        {"empty is unset",
         "",
         "",
         {"/h/.local/share/tonvella/sets/", "/usr/local/share/tonvella/sets/",
          "/usr/share/tonvella/sets/"}},
        {"given, with a trailing slash and a repeat",
         "/data/",
         "/school:/opt/x/:/school",
         {"/data/tonvella/sets/", "/school/tonvella/sets/", "/opt/x/tonvella/sets/"}},
        {"relative folders are left out", "rel/home", "share::/abs", {"/abs/tonvella/sets/"}},
    };
    const char* old_home = std::getenv("HOME");
    const std::string keep_home = old_home ? old_home : "";
    setenv("HOME", "/h", 1);
    for (const auto& c : cases) {
        TDataFolders scope(c.home ? c.home : "", c.dirs ? c.dirs : "");
        if (!c.home) unsetenv("XDG_DATA_HOME");
        if (!c.dirs) unsetenv("XDG_DATA_DIRS");
        EXPECT_EQ(Utf8(TeacherSetFolders()), c.folders) << c.what;
    }
    setenv("HOME", keep_home.c_str(), 1);
}

TEST(TeacherSetFolders, SetsOfBothKindsOfFolderSortedByName) {
    TTempFolder root;
    const fs::path home = root.path() / "home", school = root.path() / "school";
    const fs::path home_sets = home / "tonvella/sets", school_sets = school / "tonvella/sets";
    fs::create_directories(home_sets);
    fs::create_directories(school_sets);
    for (const char* name : {"b.Set", "A.set", "notes.txt", "Lied.ogg", ".Set"})
        WriteFile(home_sets / name, "");
    fs::create_directory(home_sets / "Ordner.Set"); // listed: the menu marks what it is
    for (const char* name : {"B.SET", "b.Set", "C.Set"})
        WriteFile(school_sets / name, "");
    const std::string home_text = home.string(), school_text = school.string();
    TDataFolders scope(home_text, (root.path() / "missing").string() + ":" + school_text);
    const std::string h = home_sets.string() + "/", s = school_sets.string() + "/";
    auto listing = [&] {
        std::vector<std::string> paths;
        for (auto& entry : fs::recursive_directory_iterator(root.path()))
            paths.push_back(entry.path().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    const std::vector<std::string> before = listing();
    // The home folder's "b.Set" hides the school's; "B.SET" is another name on this system.
    EXPECT_EQ(Utf8(FindTeacherSets()),
              (std::vector<std::string>{h + "A.set", s + "B.SET", h + "b.Set", s + "C.Set",
                                        h + "Ordner.Set"}));
    EXPECT_EQ(listing(), before) << "nothing is written, no missing folder made";
}

// Files that are not what their name says, as a set file and as a sound: refused with their
// reason, at once (a pipe or a device would never end a read), and the folder stays as it was.
TEST(TeacherSetFiles, HostileFilesAreRefusedWithTheirReason) {
    struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* set_reason;   // as a set file
        const char* sound_reason; // as a sound
    } cases[] = {
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
         "not a file", "not a file"},
        {"a link to a folder", [](const fs::path& p) { fs::create_directory_symlink("/", p); },
         "not a file", "not a file"},
        {"a pipe nobody writes", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "not a file", "not a file"},
        {"a link to nothing", [](const fs::path& p) { fs::create_symlink("/nonexistent", p); },
         "missing", "missing"},
        {"huge",
         [](const fs::path& p) {
             WriteFile(p, "");
             fs::resize_file(p, 40LL << 20); // sparse: nothing of it is ever read
         },
         "larger than 64 KiB", "larger than 32 MiB"},
        {"a WAV cut short",
         [](const fs::path& p) {
             std::string wav = ToneWav(440, 0.5);
             WriteFile(p, wav.substr(0, wav.size() / 2));
         },
         nullptr, "past the end of the file"},
        {"a WAV that claims 40 s",
         [](const fs::path& p) {
             tonvella::test::TWavLayout layout;
             layout.hertz = 8000;
             layout.data_length = 40 * 8000 * 2;
             layout.data.assign(1600, 0);
             auto wav = tonvella::test::MakeWav(layout);
             WriteFile(p, std::string(wav.begin(), wav.end()));
         },
         nullptr, "longer than 30 seconds"},
        {"no audio at all", [](const fs::path& p) { WriteFile(p, "%PDF-1.4 not a sound"); },
         nullptr, "unknown format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTempFolder folder;
        // As the set file itself.
        if (c.set_reason) {
            const fs::path set = folder.path() / "Feind.Set";
            c.make(set);
            const TSetReport report = ExamineCardSet(FromUtf8(set.string()), false);
            EXPECT_FALSE(report.playable);
            ASSERT_EQ(report.faults.size(), 1u);
            EXPECT_NE(ToUtf8(report.faults[0].text).find(c.set_reason), std::string::npos)
                << ToUtf8(report.faults[0].text);
            fs::remove(set);
        }
        // As the sound of pair 1 of an otherwise good set of nine pairs.
        TSetSpec spec = ToneSet(folder.path(), 9);
        fs::remove(folder.path() / spec.sounds[0]);
        c.make(folder.path() / spec.sounds[0]);
        const std::string path = WriteSet(folder.path(), "Satz.Set", spec);
        std::vector<std::string> before;
        for (auto& entry : fs::directory_iterator(folder.path()))
            before.push_back(entry.path().filename().string());
        const TSetReport report = ExamineCardSet(FromUtf8(path), true);
        EXPECT_TRUE(report.playable);
        EXPECT_EQ(report.usable_pairs, 8);
        ASSERT_EQ(report.faults.size(), 1u);
        EXPECT_NE(ToUtf8(report.faults[0].text).find(c.sound_reason), std::string::npos)
            << ToUtf8(report.faults[0].text);
        std::vector<std::string> after;
        for (auto& entry : fs::directory_iterator(folder.path()))
            after.push_back(entry.path().filename().string());
        EXPECT_EQ(after, before);
    }
}
