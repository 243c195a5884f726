#include "tests/game_sets/SetFixtures.h"

#include "tests/media_sound/Fixtures.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace settest {

TTempFolder::TTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "settest-XXXXXX").string();
    _path = mkdtemp(pattern.data());
}

TTempFolder::~TTempFolder() {
    std::error_code ec;
    fs::remove_all(_path, ec);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ToneWav(double hz, double seconds, double peak, double silence) {
    const int rate = 8000;
    const int quiet = int(silence * rate), frames = quiet + int(seconds * rate);
    tonvella::test::TPcm pcm = tonvella::test::MakeSine(1, rate, frames, hz, peak * 32767);
    for (int i = 0; i < quiet; ++i)
        pcm.values[size_t(i)] = 0;
    tonvella::test::TWavLayout layout;
    layout.hertz = rate;
    for (std::int16_t v : pcm.values) {
        layout.data.push_back(std::uint8_t(v & 0xFF));
        layout.data.push_back(std::uint8_t((v >> 8) & 0xFF));
    }
    tonvella::test::TBytes wav = tonvella::test::MakeWav(layout);
    return std::string(wav.begin(), wav.end());
}

std::string TSetSpec::Text() const {
    std::string out = "[Text]\n";
    for (const std::string& line : text)
        out += line + "\n";
    out += "\n[Sounds]\n";
    for (size_t i = 0; i < sounds.size(); ++i)
        out += std::to_string(i + 1) + "=" + sounds[i] + "\n";
    out +=
        "\n[Connect]\nPaarungen=" + (announced.empty() ? std::to_string(pairs.size()) : announced) +
        "\n";
    for (size_t i = 0; i < pairs.size(); ++i)
        out += std::to_string(i + 1) + "=" + pairs[i] + "\n";
    for (const std::string& line : after)
        out += line + "\n";
    return out;
}

TSetSpec ToneSet(const fs::path& folder, int pairs) {
    TSetSpec spec;
    for (int k = 1; k <= pairs; ++k) {
        const double hz = 220.0 * (1 + 0.25 * k);
        for (const char* side : {"a", "b"}) {
            const std::string name = "T" + std::to_string(k) + "-" + side + ".wav";
            WriteFile(folder / name, ToneWav(hz));
            spec.sounds.push_back(name);
        }
        spec.pairs.push_back(std::to_string(2 * k - 1) + "x" + std::to_string(2 * k));
    }
    return spec;
}

std::string WriteSet(const fs::path& folder, const std::string& name, const TSetSpec& spec) {
    WriteFile(folder / name, spec.Text());
    return (folder / name).string();
}

TDataFolders::TDataFolders(const std::string& home, const std::string& dirs) {
    const char* old_home = std::getenv("XDG_DATA_HOME");
    const char* old_dirs = std::getenv("XDG_DATA_DIRS");
    _had_home = old_home != nullptr;
    _had_dirs = old_dirs != nullptr;
    if (old_home) _home = old_home;
    if (old_dirs) _dirs = old_dirs;
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("XDG_DATA_DIRS", dirs.c_str(), 1);
}

TDataFolders::~TDataFolders() {
    if (_had_home)
        setenv("XDG_DATA_HOME", _home.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    if (_had_dirs)
        setenv("XDG_DATA_DIRS", _dirs.c_str(), 1);
    else
        unsetenv("XDG_DATA_DIRS");
}

} // namespace settest
