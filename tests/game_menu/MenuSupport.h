// What the menu and manual tests share: simulated time, a scripted keyboard, a sound driver
// that loads nothing, and a stand-in for the desktop's opener.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace menutest {

// Simulated time: sleeping advances it, nothing else does.
int Now();

// Keys typed by the scripted user: each press comes no earlier than `gap` ms after the previous
// one, and is held for `hold` ms. `before_press` runs just before each
// press, so a test can see what the previous key did.
struct TKeyScript {
    std::deque<int> keys;
    int gap = 50;
    int hold = 0; // ms a key stays down; 0: until the next poll
    std::function<void()> before_press;
};
TKeyScript& Script();

// Stream protocols, translations, the scripted keyboard and the clock installed; German, the
// first set, behaviour 0. Call from SetUp.
void StartGame();
void StopGame(); // TearDown
// Takes the keyboard back from an opened window, whose events then wait.
void UseScriptedKeyboard();

// A directory of its own for one test, removed with the object.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    const std::filesystem::path& path() const { return _path; }

private:
    std::filesystem::path _path;
};

// An "xdg-open" first on PATH that writes each address it is given to a log, one per line.
class TFakeOpener {
public:
    TFakeOpener();
    ~TFakeOpener();
    // The addresses recorded so far, after waiting (real time) until at least `count` arrived.
    std::vector<std::string> WaitForAddresses(size_t count);

private:
    TScratchDir _dir;
    std::string _old_path;
};

void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);
std::string ReadFile(const std::filesystem::path& path);
// The bytes of an entry of the embedded archive.
std::string ArchiveEntry(const std::string& name);
// The path a "file://" address stands for ("%20" and the like decoded).
std::string PathOfFileUrl(const std::string& url);

} // namespace menutest
