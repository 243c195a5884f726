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
        {u"Intervalle Leicht", u"Interval Easy", u"Interval Snadný"},
        {u"Intervalle Schwer", u"Interval Difficult", u"Interval Obtížný"},
        {u"Gleicher Beat", u"Same Beat", u"Stejný takt"},
        {u"Gleiches Instrument", u"Same Instrument", u"Stejný nástroj"},
        {u"Genau das Gleiche", u"Exactly the Same", u"Zcela stejné"},
        {u"Gleiches Tempo", u"Same Speed", u"Stejná rychlost"},
        {u"Schlag-Instrumente", u"Percussion", u"Perkusní nástroje"},
        {u"Gleiche Melodie", u"Same Melody", u"Stejná melodie"},
        {u"Suche die gleiche Melodie", u"Search For the same melody", u"Najít stejnou melodii"},
        {u"Suche den gleichen Beat", u"Search For the same beat", u"Najít stejný takt"},
        {u"Suche gleiche Instrumente", u"Search For the same instrument", u"Najít stejný nástroj"},
        {u"Suche das gleiche Tempo", u"Search For the same speed", u"Najít stejnou rychlost"},
        {u"Suche das gleiche Intervall", u"Search For the same interval", u"Najít stejný interval"},
        {u"Suche das umgekehrt gespielte Intervall", u"Search For the reverse interval",
         u"Najít převrácený interval"},
        {u"Suche das gleiche Schlaginstrument", u"Search For the same percussion instrument",
         u"Najít stejný perkusní nástroj"},
        {u"Suche genau das Gleiche", u"Search For exactly the same", u"Najít zcela stejné"},
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
