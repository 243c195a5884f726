#include "tests/game_menu/MenuSupport.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "media/Events.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/sound/Sound.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"
#include "streams/Stream.h"
#include "tests/support/SimulatedClock.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace tonvella;
namespace fs = std::filesystem;

namespace menutest {

namespace {

// Loading a sound gives a silent one at once, so that restarts cost nothing.
class TSilentDriver : public TAudioDriver {
public:
    std::u16string Name() override { return u"MenuTestSilence"; }
    TSoundHandle LoadSound(const std::u16string&, int) override {
        return std::make_shared<TSound>();
    }
};

TSimulatedClock fake_clock;
TKeyScript script;
int held_key = 0;
int released_at = 0;
int next_press = 0;

void Send(int id, int data) {
    TEvent e;
    e.id = id;
    e.data = data;
    EmitEvent(e);
}

void ScriptedKeyboard() {
    if (held_key) {
        if (fake_clock.now < released_at) return;
        Send(EVENT_KEYUP, held_key);
        held_key = 0;
        next_press = fake_clock.now + script.gap;
        return;
    }
    if (script.keys.empty() || fake_clock.now < next_press) return;
    if (script.before_press) script.before_press();
    held_key = script.keys.front();
    script.keys.pop_front();
    released_at = fake_clock.now + script.hold;
    Send(EVENT_KEYDOWN, held_key);
}

} // namespace

int Now() {
    return fake_clock.now;
}

TKeyScript& Script() {
    return script;
}

void StartGame() {
    static bool once = [] {
        RegisterGameBlobs();
        InitStreamProtocols();
        new TSilentDriver; // registers itself and lives for the whole run
        return true;
    }();
    (void)once;
    SelectAudioDriver(u"MenuTestSilence");
    // Teachers' sets of this machine stay out of the menu; a test that wants some makes its own.
    SetEnv("XDG_DATA_HOME", "/nonexistent/tonvella-test");
    SetEnv("XDG_DATA_DIRS", "/nonexistent/tonvella-test");
    CreateTranslationCaches();
    FillLanguageTable();
    AssetBase = u"ZIP::Incbin::tt.zip//";
    CurrentSetFile = u"Genau das Gleiche.Set";
    SetCatalog.fill(u"");
    Behaviour = 0;
    script = TKeyScript{};
    held_key = 0;
    fake_clock.now = 1000;
    next_press = 0;
    InstallClock(&fake_clock);
    EnablePolledInput();
    UseScriptedKeyboard();
}

void UseScriptedKeyboard() {
    InstallPollFunction(ScriptedKeyboard);
}

void StopGame() {
    InstallPollFunction(nullptr);
    InstallClock(nullptr);
}

TScratchDir::TScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "menutest-XXXXXX").string();
    _path = mkdtemp(pattern.data());
}

TScratchDir::~TScratchDir() {
    std::error_code ec;
    fs::permissions(_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(_path, ec);
}

TFakeOpener::TFakeOpener() {
    const fs::path log = _dir.path() / "opened.log";
    const fs::path opener = _dir.path() / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >>'" << log.string() << "'\n";
    fs::permissions(opener, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    _old_path = path ? path : "";
    SetEnv("PATH", _dir.path().string() + ":" + _old_path);
}

TFakeOpener::~TFakeOpener() {
    SetEnv("PATH", _old_path);
}

std::vector<std::string> TFakeOpener::WaitForAddresses(size_t count) {
    // The opener runs as a process of its own, so its line may come a little later.
    std::vector<std::string> lines;
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    do {
        lines.clear();
        std::ifstream in(_dir.path() / "opened.log");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() >= count) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < give_up);
    return lines;
}

void SetEnv(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

void UnsetEnv(const char* name) {
    unsetenv(name);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ArchiveEntry(const std::string& name) {
    TStreamHandle stream = OpenFileForReading(u"ZIP::Incbin::tt.zip//" + FromUtf8(name));
    if (!stream) return "";
    std::string bytes;
    char block[4096];
    for (int n; (n = stream->Read(block, sizeof block)) > 0;)
        bytes.append(block, size_t(n));
    CloseFileHandle(stream);
    return bytes;
}

std::string PathOfFileUrl(const std::string& url) {
    if (url.rfind("file://", 0) != 0) return "";
    std::string path;
    for (size_t i = 7; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            path += char(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

} // namespace menutest
