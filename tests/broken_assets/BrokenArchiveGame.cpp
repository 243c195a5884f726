// The real game over another asset archive: the archive file named on the command line takes
// the place of the embedded one, and an optional card-set file name replaces the first set.
#include "game/GameState.h"
#include "game/Startup.h"
#include "media/Text.h"
#include "streams/Embedded.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    using namespace tonvella;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ARCHIVE [SET FILE]\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    static const std::vector<char> archive{std::istreambuf_iterator<char>(file), {}};
    if (!file.good() && !file.eof()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    // Registered first, so the game's own registration of the name leaves this one in use.
    RegisterEmbeddedResource(u"tt.zip", archive.data(), int(archive.size()));
    if (argc > 2) CurrentSetFile = FromUtf8(argv[2]);
    return RunProgram();
}
