// A card-set file and the set list "Dir.lst" from the input: the values the game asks for, the
// catalogue, and loading the set, whose sounds are missing.
#include "fuzz/FuzzInput.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/Random.h"
#include "media/sound/Sound.h"

using namespace tonvella;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"Dir.lst");
    fuzz::ServeInputAs(u"Fuzz.Set");
    AssetBase = u"fuzz::";
    SelectAudioDriver(u"Null");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    ReadSetValue(u"fuzz::Fuzz.Set", u"Text", u"Frage");
    ReadSetValue(u"fuzz::Fuzz.Set", u"Sounds", u"1");
    ReadSetCatalog();
    SetCatalog.fill(u"");
    // The same draw for the same input, so that findings reproduce.
    SeedRandom(int(size) + 1);
    LoadCardSet(u"Fuzz.Set");
    return 0;
}
