// The shipped table: every text the game shows, in the three languages it offers.
#include "Translator/Translation.h"
#include "media/Text.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <gtest/gtest.h>

using namespace tonvella;

TEST(ShippedTable, HasEveryGameTextInEachLanguage) {
    RegisterGameBlobs();
    InitStreamProtocols();
    CreateTranslationCaches();
    FillLanguageTable();
    struct Row {
        const char16_t *german, *english, *czech;
    };
    const Row rows[] = {
        {u"Sprache", u"Language", u"Jazyk"},
        {u"Sieger Spieler", u"Winner Player", u"Vítězný hráč"},
        {u"beide sind Sieger!", u"both are winners!", u"oba jsou vítězové!"},
        {u"nochmal!", u"again!", u"znovu!"},
        {u"leider nicht richtig", u"sorry, Not correct", u"bohužel, nesprávně"},
        {u"neuer Spieler", u"Next player", u"Další hráč"},
        {u"Gewonnen", u"You won", u"Jste vítěz"},
        {u"2.Karte gewählt", u"2nd card selected", u"druhá karta vybrána"},
        {u"leider falsch", u"sorry, wrong", u"bohužel, špatně"},
        {u"1.Karte gewählt", u"1st card selected", u"první karta vybrána"},
        {u"jetzt 2.Karte finden", u"now find the 2nd card", u"nyní najděte druhou kartu"},
        {u"Einstellungen", u"Settings", u"Nastavení"},
        {u"Kurz-Anleitung", u"Short Manual", u"Krátký návod"},
        {u"Spielverhalten", u"Game behavior", u"Režim hry"},
        {u"Neustart", u"Restart", u"Restart"},
        {u"About", u"About", u"O"},
        {u"andere Karten", u"other cards", u"další karty"},
        {u"Zurück zum Spiel", u"back To game", u"zpět do hry"},
        {u"Verhalten bei Richtig", u"Behavior on 'correct'", u"Režim pro 'správně'"},
        {u"Gewinner darf nochmal", u"winner turns again", u"vítěz to znovu otočí"},
        {u"Jeder darf nur 1x", u"each player once only", u"každý hráč jen jednou"},
        {u"Karten-Auswahl", u"Cards Selection", u"Volba karet"},
        {u"Alle Karten wurden ", u"all cards ", u"všechny karty jsou "},
        {u"zurückgesetzt.", u"resetted.", u"položeny zpět."},
        {u"Ende", u"Quit", u"Konec"},
        {u"Intervalle Leicht", u"Easy Intervals", u"Snadné intervaly"},
        {u"Intervalle Schwer", u"Hard Intervals", u"Těžké intervaly"},
        {u"Gleicher Beat", u"Same Rhythm", u"Stejný rytmus"},
        {u"Gleiches Instrument", u"Same Instrument", u"Stejný nástroj"},
        {u"Genau das Gleiche", u"Exactly the Same", u"Zcela stejné"},
        {u"Gleiches Tempo", u"Same Tempo", u"Stejné tempo"},
        {u"Schlag-Instrumente", u"Percussion", u"Bicí nástroje"},
        {u"Gleiche Melodie", u"Same Melody", u"Stejná melodie"},
        {u"Suche die gleiche Melodie", u"Find the same melody", u"Najdi stejnou melodii"},
        {u"Suche den gleichen Beat", u"Find the same rhythm", u"Najdi stejný rytmus"},
        {u"Suche gleiche Instrumente", u"Find the same instrument", u"Najdi stejný nástroj"},
        {u"Suche das gleiche Tempo", u"Find the same tempo", u"Najdi stejné tempo"},
        {u"Suche das gleiche Intervall", u"Find the same interval", u"Najdi stejný interval"},
        {u"Suche das umgekehrt gespielte Intervall", u"Find the same interval going down",
         u"Najdi stejný interval směrem dolů"},
        {u"Suche das gleiche Schlaginstrument", u"Find the same percussion instrument",
         u"Najdi stejný bicí nástroj"},
        {u"Suche genau das Gleiche", u"Find exactly the same", u"Najdi úplně stejný zvuk"},
        {u"Gleicher Akkord", u"Same Chord", u"Stejný akord"},
        {u"Gleiche Tonhöhe", u"Same Pitch", u"Stejná výška tónu"},
        {u"Ta und Ti-Ti", u"Ta and Ti-Ti", u"Ta a ti-ti"},
        {u"Suche den gleichen Akkord", u"Find the same chord", u"Najdi stejný akord"},
        {u"Suche die gleiche Tonhöhe", u"Find the same pitch", u"Najdi stejnou výšku tónu"},
        {u"Suche den gleichen Rhythmus", u"Find the same rhythm", u"Najdi stejný rytmus"},
        {u"Tonvella", u"Tonvella", u"Tonvella"},
    };
    for (int language = 0; language < 3; ++language) {
        for (const Row& row : rows) {
            const char16_t* expected = language == 0   ? row.german
                                       : language == 1 ? row.english
                                                       : row.czech;
            EXPECT_EQ(ToUtf8(TranslateText(row.german)), ToUtf8(expected))
                << ToUtf8(row.german) << " in " << ToUtf8(Language);
        }
        NextLanguage();
    }
    // Swedish is in the table but not among the languages the game offers.
    EXPECT_FALSE(LookupTranslationValue(kTranslationTableUrl, u"Swedish", u"1").empty());
}
