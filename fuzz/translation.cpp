// The embedded translation table replaced by the input: direct lookups, and translations in
// every language of the menu, which search the table for the German text first.
#include "Translator/Translation.h"
#include "fuzz/FuzzInput.h"
#include "streams/Stream.h"

using namespace tonvella;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"table");
    fuzz::ServeInputFor(u"incbin", u"../Translator/translation.ini");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    try {
        // Another url first: the table is cached by url, and each input must be read afresh.
        LookupTranslationValue(u"fuzz::table", u"Deutsch", u"1");
        LookupTranslationValue(u"fuzz::table", u"English", u"Sprache");
        CreateTranslationCaches();
        FillLanguageTable();
        // A text is searched for under every key before it counts as missing: once is enough.
        TranslateText(u"1.Karte gew\u00e4hlt");
        for (int language = 0; language < 3; ++language) {
            TranslateText(u"12");
            NextLanguage();
        }
    } catch (const TStreamReadException&) {
        // A table cut off inside a UTF-16 character is a read error, as documented.
    }
    return 0;
}
