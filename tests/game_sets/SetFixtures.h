// Teachers' card sets made by the tests: a folder of their own, tone sounds written as WAV, and a
// set file put together from its parts so that a test can spoil one part at a time.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace settest {

namespace fs = std::filesystem;

// A folder of its own, removed with the object.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const fs::path& path() const { return _path; }
    std::string operator/(const std::string& name) const { return (_path / name).string(); }

private:
    fs::path _path;
};

void WriteFile(const fs::path& path, const std::string& bytes);

// A mono 16-bit WAV at 8000 Hz: `silence` seconds of nothing, then `seconds` of a sine.
std::string ToneWav(double hz, double seconds = 0.5, double peak = 0.3, double silence = 0);

// The parts of a set file.
struct TSetSpec {
    std::vector<std::string> text = {"Frage=Suche den gleichen Ton"}; // lines of [Text]
    std::vector<std::string> sounds;                                  // [Sounds] 1, 2, ...
    std::vector<std::string> pairs;                                   // [Connect] 1, 2, ...
    std::string announced;          // "Paarungen"; empty: the number of pairs
    std::vector<std::string> after; // lines after [Connect]
    std::string Text() const;
};

// `pairs` pairs of tones in `folder`: pair k is "T<k>-a.wav" and "T<k>-b.wav", one pitch, each
// pair another pitch. Returns the set's parts; write them with WriteSet.
TSetSpec ToneSet(const fs::path& folder, int pairs);
// Writes the set file and returns its path.
std::string WriteSet(const fs::path& folder, const std::string& name, const TSetSpec& spec);

// Points $XDG_DATA_HOME and $XDG_DATA_DIRS where a test wants them, and back when it ends.
class TDataFolders {
public:
    TDataFolders(const std::string& home, const std::string& dirs);
    ~TDataFolders();

private:
    std::string _home, _dirs;
    bool _had_home, _had_dirs;
};

} // namespace settest
