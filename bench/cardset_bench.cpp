// Time of loading each shipped card set (26 lookups and 16 decodes) and the memory its sixteen
// sounds hold.
#include "Translator/Translation.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/Random.h"
#include "media/Text.h"
#include "media/sound/DirectSound.h"
#include "media/sound/Sound.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <chrono>
#include <cstdio>

using namespace tonvella;

namespace {

long long SoundBytes(const TSoundHandle& sound) {
    auto* ds = dynamic_cast<TDirectSoundSound*>(sound.get());
    if (!ds || !ds->_buffer) return 0;
    int bytes = 0;
    ds->_buffer->Lock(bytes);
    ds->_buffer->Unlock();
    return bytes;
}

} // namespace

int main() {
    RegisterGameBlobs();
    InitStreamProtocols();
    CreateTranslationCaches();
    FillLanguageTable();
    std::fflush(stdout);
    std::FILE* real_stdout = std::freopen("/dev/null", "w", stdout); // silence the diagnostics
    (void)real_stdout;
    ReadSetCatalog();
    struct Row {
        std::u16string name;
        double ms;
        long long bytes;
    };
    std::vector<Row> rows;
    const int runs = 5;
    for (int i = 1; i < 99 && !SetCatalog[i].empty(); ++i) {
        double total = 0;
        for (int r = 0; r < runs; ++r) {
            SeedRandom(r + 1);
            auto start = std::chrono::steady_clock::now();
            LoadCardSet(SetCatalog[i]);
            total +=
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
        long long bytes = 0;
        for (int s = 0; s < 16; ++s)
            bytes += SoundBytes(PairSounds[s]);
        rows.push_back({SetCatalog[i], total / runs, bytes});
    }
    std::freopen("/dev/tty", "w", stdout) || std::freopen("/proc/self/fd/2", "w", stdout);
    std::fprintf(stderr, "%-28s %10s %12s\n", "set", "load ms", "sound MiB");
    for (const Row& row : rows)
        std::fprintf(stderr, "%-28s %10.1f %12.2f\n", ToUtf8(row.name).c_str(), row.ms,
                     double(row.bytes) / (1024.0 * 1024.0));
    std::printf("%s", "");
    return 0;
}
