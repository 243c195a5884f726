#include "Translator/Translation.h"
#include "media/Text.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <gtest/gtest.h>

using namespace tonvella;

namespace {

// A small table in the embedded table's format: UTF-16LE with byte-order mark, CR LF.
const char16_t* const kTable = u"\uFEFF"
                               u"[Deutsch]\r\n"
                               u"1=Einstellungen\r\n"
                               u"2=1.Karte gewählt\r\n"
                               u"3=Ende\r\n"
                               u"4=Nur Englisch\r\n"
                               u" 5=Mit Leerzeichen\r\n"
                               u"6=Alle Karten wurden \r\n"
                               u"7=Klammer\r\n"
                               u"8=Gleich=Zeichen\r\n"
                               u"9=Ende\r\n"
                               u"\r\n"
                               u"[English]\r\n"
                               u"1=Settings\r\n"
                               u"2=1st card selected\r\n"
                               u"3=Quit\r\n"
                               u"4=English only\r\n"
                               u"5=With blank\r\n"
                               u"6=all cards \r\n"
                               u"8=equals=sign\r\n"
                               u"7=a [bracket] ends the section\r\n"
                               u"9=never reached\r\n"
                               u"[Swedish]\r\n"
                               u"1=Inställningar\r\n"
                               u"[Czech]\r\n"
                               u"1=Nastavení\r\n"
                               u"2=první karta vybrána\r\n"
                               u"3=Konec\r\n"
                               u"6=všechny karty jsou \r\n"
                               u"8=rovná se=znak\r\n"
                               u"trailing text without CR LF";

std::string table_bytes;

class TranslationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::u16string text = kTable;
        for (char16_t c : text) {
            table_bytes += char(c & 0xFF);
            table_bytes += char(c >> 8);
        }
        InitStreamProtocols();
        RegisterEmbeddedResource(u"../Translator/translation.ini", table_bytes.data(),
                                 int(table_bytes.size()));
    }
    void SetUp() override {
        CreateTranslationCaches();
        FillLanguageTable();
    }
    static std::string T(const std::u16string& text) { return ToUtf8(TranslateText(text)); }
};

} // namespace

TEST_F(TranslationTest, LanguagesCycleGermanEnglishCzech) {
    const char* expected[] = {"Einstellungen", "Settings", "Nastavení", "Einstellungen"};
    const char* manual[] = {"Deutsch", "English", "Czech", "Deutsch"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(T(u"Einstellungen"), expected[i]) << i;
        EXPECT_EQ(ToUtf8(ManualLanguage), manual[i]);
        EXPECT_EQ(ToUtf8(Language), manual[i]);
        NextLanguage();
    }
}

TEST_F(TranslationTest, LookupCases) {
    NextLanguage(); // English
    struct {
        const char16_t* text;
        const char* english;
    } cases[] = {
        {u"1.Karte gewählt", "1st card selected"}, // searched for, not read as key 1
        {u"Ende", "Quit"},
        {u"Alle Karten wurden ", "all cards "}, // trailing blank is part of the value
        {u"Gleich=Zeichen", "equals=sign"},     // only the first "=" splits
        {u"Tonvella", ""},                      // no German entry
        {u"Einstellungen ", ""},                // comparisons are exact
        {u"einstellungen", ""},
        {u"Mit Leerzeichen", ""}, // its key has a leading blank, so it has no key number
        {u"Klammer", ""},         // the English value with "[" ends the section
        {u"Ende", "Quit"},        // key 3 wins over key 9, which lies beyond that "["
        {u"", ""},
        {u"5000 Noten", ""},
    };
    for (auto& c : cases)
        EXPECT_EQ(T(c.text), c.english) << ToUtf8(c.text);
}

TEST_F(TranslationTest, MissingCzechEntryFallsBackToEnglish) {
    NextLanguage();
    NextLanguage(); // Czech
    EXPECT_EQ(T(u"Nur Englisch"), "English only");
    EXPECT_EQ(T(u"1.Karte gewählt"), "první karta vybrána");
    EXPECT_EQ(T(u"Alle Karten wurden "), "všechny karty jsou ");
    EXPECT_EQ(T(u"Ende"), "Konec");
}

TEST_F(TranslationTest, UnknownTextsNeverAnswerForEachOther) {
    NextLanguage(); // English
    // "3" is not a German text, but as a key it names "Quit"; that must not stick to
    // other unknown texts.
    EXPECT_EQ(T(u"3"), "Quit");
    EXPECT_EQ(T(u"Tonvella"), "");
    EXPECT_EQ(T(u"SchlagInstrumente"), "");
}

TEST_F(TranslationTest, DuplicateGermanTextsTakeTheLowestKey) {
    NextLanguage();
    NextLanguage(); // Czech: key 3 has "Konec", key 9 has no entry anywhere
    EXPECT_EQ(T(u"Ende"), "Konec");
}

TEST_F(TranslationTest, LookupTranslationValueReadsSections) {
    const std::u16string url = u"Incbin::../Translator/translation.ini";
    EXPECT_EQ(ToUtf8(LookupTranslationValue(url, u"Swedish", u"1")), "Inställningar");
    EXPECT_EQ(LookupTranslationValue(url, u"Swedish", u"2"), u"");
    EXPECT_EQ(LookupTranslationValue(url, u"Klingon", u"1"), u"");
    EXPECT_EQ(LookupTranslationValue(url, u"Czech", u"trailing text without CR LF"), u"");
    // The German section ends at the English heading, which contains "[".
    EXPECT_EQ(LookupTranslationValue(url, u"Deutsch", u"8"), u"Gleich=Zeichen");
}

TEST_F(TranslationTest, TablesLongerThanAThousandLinesAreReadInFull) {
    static std::string big;
    std::u16string text = u"\uFEFF[Deutsch]\r\n";
    for (int i = 1; i <= 1500; ++i)
        text += u"x" + IntToText(i) + u"=filler\r\n";
    text += u"998=Ganz unten\r\n[English]\r\n998=At the very bottom\r\n";
    for (char16_t c : text) {
        big += char(c & 0xFF);
        big += char(c >> 8);
    }
    RegisterEmbeddedResource(u"big.ini", big.data(), int(big.size()));
    EXPECT_EQ(LookupTranslationValue(u"Incbin::big.ini", u"Deutsch", u"998"), u"Ganz unten");
    EXPECT_EQ(LookupTranslationValue(u"Incbin::big.ini", u"English", u"998"),
              u"At the very bottom");
    // Switching back to the game's table reloads it.
    EXPECT_EQ(T(u"Ende"), "Ende");
}

// Teachers' set names and questions: what the table holds is translated, anything else is shown
// as written, in every language, and is never taken for a key number.
TEST_F(TranslationTest, TranslateOrKeepShowsUnknownTextsAsWritten) {
    struct {
        const char16_t* text;
        const char* german;
        const char* english;
        const char* czech;
    } cases[] = {
        {u"Einstellungen", "Einstellungen", "Settings", "Nastavení"},
        {u"1.Karte gewählt", "1.Karte gewählt", "1st card selected", "první karta vybrána"},
        {u"Nur Englisch", "Nur Englisch", "English only", "English only"},
        {u"Lieder der 3b", "Lieder der 3b", "Lieder der 3b", "Lieder der 3b"},
        {u"3", "3", "3", "3"}, // TranslateText would answer with key 3
        {u"", "", "", ""},
    };
    for (int round = 0; round < 3; ++round) {
        for (const auto& c : cases) {
            const char* expected = round == 0 ? c.german : round == 1 ? c.english : c.czech;
            // Twice: the second answer comes from what the first one learnt.
            EXPECT_EQ(ToUtf8(TranslateOrKeep(c.text)), expected) << ToUtf8(c.text);
            EXPECT_EQ(ToUtf8(TranslateOrKeep(c.text)), expected) << ToUtf8(c.text);
        }
        NextLanguage();
    }
}
