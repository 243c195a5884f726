#include "game/Menu.h"

#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/Manual.h"
#include "game/Opponent.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "media/draw/Draw2D.h"
#include "scene/Scene3D.h"

namespace tonvella {

namespace {

constexpr int kSetsPerPage = 8;

constexpr int kRedrawMs = 500;
constexpr int kIdleCloseMs = 30000;
constexpr int kShortPageMs = 3000;
constexpr int kCardPageMs = 12000;

enum TPage {
    kNone = 0,
    kManualPage = 1,
    kBehaviourPage = 2,
    kRestartPage = 3,
    kOpponentPage = 4,
    kAboutPage = 5,
    kCardPage = 6
};

int shown_page = 0;
bool running = false;
// The card page shows SetCatalog[card_first + 1 ..], eight at a time; digits choose from it.
int card_first = 0;
// Why the set just chosen could not be played, shown on the card page until the next key.
TSetRefusal shown_refusal;
bool manual_opened = false; // what the manual page reports
// The window's close button, seen while the menu runs: the menu closes and so does the program.
bool close_seen = false;

bool CloseSeen() {
    if (CloseRequested()) close_seen = true;
    return close_seen;
}

// The left page: the key is drawn as it is, the German label goes through the table.
struct TMenuLine {
    const char16_t* key;
    const char16_t* label;
    int y;
};
const TMenuLine kMenuLines[] = {
    {u"", u"Einstellungen", 110},       {u"F1...", u"Kurz-Anleitung", 180},
    {u"F2...", u"Spielverhalten", 210}, {u"F3...", u"Neustart", 240},
    {u"F4...", u"Ende", 270},           {u"F5...", u"About", 300},
    {u"F6...", u"andere Karten", 330},  {u"F7...", u"Sprache", 360},
    {u"F8...", u"Gegner", 390},         {u"ESC....", u"Zurück zum Spiel", 450},
};

const char16_t* const kCredits[] = {
    u"Sounds: FluidR3_GM (MIT)",
    u"Fonts: Comic Neue, DSEG (OFL)",
    u"Made with SDL2, OpenGL, FreeType",
};

void DrawLeftPage() {
    SelectFont(SmallFont);
    SetDrawColour(1, 1, 1);
    for (const TMenuLine& line : kMenuLines) {
        std::u16string text = line.key + TranslateText(line.label);
        if (line.y == 360) text += u": " + Language;
        if (line.y == 390) text += u": " + TranslateText(OpponentName(Opponent));
        DrawString(text, 170, float(line.y));
    }
}

// The text cut at its end, with "...", so that it is at most `width` pixels wide.
std::u16string FitToWidth(std::u16string text, int width) {
    if (StringWidth(text) <= width) return text;
    while (!text.empty() && StringWidth(text + u"...") > width)
        text.pop_back();
    return text + u"...";
}

void DrawCardPage() {
    SetDrawColour(250, 247, 222);
    FillRect(520, 70, 300, 470);
    SetDrawColour(1, 1, 1);
    SelectFont(MediumFont);
    DrawString(TranslateText(u"Karten-Auswahl"), 570, 110);
    SelectFont(SmallFont);
    for (const TCardPageLine& line : CardPageLines()) {
        if (line.kind == TCardLineKind::kGreyed) SetDrawColour(150, 140, 125);
        if (line.kind == TCardLineKind::kNotice) SetDrawColour(150, 30, 20);
        DrawString(line.text, line.x, line.y);
        SetDrawColour(1, 1, 1);
    }
}

void DrawRightPage(int page) {
    switch (page) {
    case kManualPage: {
        SelectFont(MediumFont);
        DrawString(u"Spiel-Anleitung", 590, 120);
        SelectFont(SmallFont);
        const std::array<std::u16string, 2> lines = ManualPageText();
        for (int i = 0; i < 2; ++i)
            DrawString(lines[i], 570, float(270 + 30 * i));
        break;
    }
    case kBehaviourPage:
        SelectFont(MediumFont);
        DrawString(TranslateText(u"Verhalten bei Richtig"), 550, 120);
        SelectFont(SmallFont);
        DrawString(TranslateText(u"Gewinner darf nochmal"), 590, 210);
        DrawString(TranslateText(u"Jeder darf nur 1x"), 590, 270);
        DrawString(u"->", 550, float(210 + 60 * Behaviour));
        break;
    case kOpponentPage:
        SelectFont(MediumFont);
        DrawString(TranslateText(u"Gegner"), 590, 120);
        SelectFont(SmallFont);
        for (int choice = kHuman; choice <= kComputerHard; ++choice)
            DrawString(TranslateText(OpponentName(choice)), 590, float(210 + 50 * choice));
        DrawString(u"->", 550, float(210 + 50 * Opponent));
        break;
    case kRestartPage:
        SelectFont(MediumFont);
        DrawString(TranslateText(u"Neustart"), 590, 120);
        SelectFont(SmallFont);
        DrawString(TranslateText(u"Alle Karten wurden "), 570, 270);
        DrawString(TranslateText(u"zurückgesetzt."), 570, 300);
        break;
    case kAboutPage:
        SelectFont(MediumFont);
        DrawString(TranslateText(u"Tonvella"), 590, 150);
        DrawString(u" Quorvane", 610, 120);
        SelectFont(SmallFont);
        DrawString(u"Music Education Software ", 550, 270);
        DrawString(kCredits[0], 570, 300);
        DrawString(kCredits[1], 590, 390);
        DrawString(kCredits[2], 570, 420);
        break;
    case kCardPage:
        DrawCardPage();
        break;
    default:
        break;
    }
}

// A digit chooses the set at its place on the card page shown, or, when another page is shown,
// on the first card page. A place without a set does nothing; a set that cannot be loaded leaves
// the set in play as it is and says why on the card page.
void ChooseSet(int digit, int& page) {
    if (page != kCardPage) card_first = 0;
    const int place = card_first + digit;
    if (place > SetCount || place >= int(SetCatalog.size())) return;
    const std::u16string set = SetCatalog[place];
    if (set.empty()) return;
    page = kCardPage;
    MenuTimeout = Milliseconds() + kCardPageMs;
    ExamineTeacherSets(card_first + 1, kSetsPerPage);
    const std::u16string in_play = CurrentSetFile;
    CurrentSetFile = set;
    if (!RestartBoard()) {
        CurrentSetFile = in_play;
        shown_refusal = LastSetRefusal();
    }
}

// F6 shows the card page; on the card page it turns to the next eight sets, and from the last
// page back to the first.
void ShowCardPage(int& page) {
    const bool turn = page == kCardPage && card_first + kSetsPerPage < SetCount;
    card_first = turn ? card_first + kSetsPerPage : 0;
    page = kCardPage;
    MenuTimeout = Milliseconds() + kCardPageMs;
    ExamineTeacherSets(card_first + 1, kSetsPerPage);
}

// Acts on one key; true when the menu is to close.
bool ActOnKey(int key, int& page) {
    const int now = Milliseconds();
    shown_refusal = {};
    switch (key) {
    case KEY_F1:
        page = kManualPage;
        manual_opened = OpenManual();
        return false;
    case KEY_F2:
        Behaviour = Behaviour == kFinderPlaysOn ? kTurnAlwaysPasses : kFinderPlaysOn;
        RestartBoard();
        page = kBehaviourPage;
        MenuTimeout = now + kShortPageMs;
        return false;
    case KEY_F3:
        RestartBoard();
        page = kRestartPage;
        MenuTimeout = now + kShortPageMs;
        return false;
    case KEY_F4:
        ExitProgram();
    case KEY_F5:
        page = kAboutPage;
        MenuTimeout = now + kShortPageMs;
        return false;
    case KEY_F6:
        ShowCardPage(page);
        return false;
    case KEY_F7:
        NextLanguage();
        TranslateQuestion();
        return false;
    case KEY_F8:
        NextOpponent();
        RestartBoard();
        page = kOpponentPage;
        MenuTimeout = now + kShortPageMs;
        return false;
    case KEY_ESCAPE: {
        // The main loop must not see this press too: it would end the program.
        while (KeyHitCount(KEY_ESCAPE) != 0) {}
        bool close = page == kNone;
        page = kNone;
        return close;
    }
    default:
        if (key >= KEY_1 && key <= KEY_8) {
            ChooseSet(key - KEY_1 + 1, page);
            return false;
        }
        if (key >= KEY_NUM1 && key <= KEY_NUM8) {
            ChooseSet(key - KEY_NUM1 + 1, page);
            return false;
        }
        page = kNone;
        return false;
    }
}

} // namespace

std::vector<TCardPageLine> CardPageLines() {
    std::vector<TCardPageLine> lines;
    for (int i = 1; i <= kSetsPerPage; ++i) {
        const int place = card_first + i;
        if (place >= int(SetCatalog.size())) break;
        const std::u16string& set = SetCatalog[place];
        DebugPrint(IntToText(i) + u" " + set + u"!");
        if (set.find(u'.') == std::u16string::npos || place > SetCount) break;
        const float y = float(150 + 30 * i);
        std::u16string text = IntToText(i) + u"..... " + TranslateOrKeep(SetDisplayName(set));
        // A set that cannot be played is greyed and flagged; choosing it says why.
        const bool unplayable = SetRefusalOf(set) != nullptr;
        if (unplayable) text += u" (!)";
        if (IsTeacherSet(set) || unplayable) text = FitToWidth(text, 245);
        lines.push_back(
            {text, 570, y, unplayable ? TCardLineKind::kGreyed : TCardLineKind::kPlain});
        if (set == CurrentSetFile) lines.push_back({u"->", 550, y, TCardLineKind::kPlain});
    }
    if (SetCount > kSetsPerPage)
        lines.push_back(
            {u"F6..." + TranslateText(u"weitere Karten"), 570, 440, TCardLineKind::kPlain});
    if (!shown_refusal.Empty()) {
        const std::u16string why =
            TranslateText(shown_refusal.label) + u": " + shown_refusal.detail;
        lines.push_back({FitToWidth(why, 280), 535, 490, TCardLineKind::kNotice});
    }
    return lines;
}

int PollAnyKey() {
    for (int key = 1; key <= 255; ++key) {
        if (KeyHitCount(key) > 0) {
            while (IsKeyDown(key) && !CloseSeen())
                SleepMs(1);
            return key;
        }
    }
    SleepMs(5);
    return 0;
}

std::array<std::u16string, 2> ManualPageText() {
    if (manual_opened) return {u"wird als PDF-Dokument ", u"geöffnet."};
    return {TranslateText(u"Die Anleitung konnte "), TranslateText(u"nicht geöffnet werden.")};
}

bool MenuRunning() {
    return running;
}

int ShownMenuPage() {
    return shown_page;
}

void DrawMenu(int page) {
    shown_page = page;
    BeginLumo2D();
    SetDrawColour(255, 255, 255);
    DrawPicture(MenuImage, 100, 50, 0);
    DrawLeftPage();
    DrawRightPage(page);
    EndLumo2D();
    PresentFrame(PRESENT_VSYNC);
}

void RunMenu() {
    int page = kNone;
    int next_draw = 0;
    bool closed = false;
    // Keys pressed while the game was played were meant for the game, not for the menu.
    ClearKeys();
    close_seen = false;
    running = true;
    card_first = 0;
    shown_refusal = {};
    ReadSetCatalog();
    MenuTimeout = Milliseconds() + kIdleCloseMs;
    while (!closed) {
        if (Passed(next_draw)) {
            next_draw = Milliseconds() + kRedrawMs;
            DrawMenu(page);
        }
        int key = PollAnyKey();
        if (CloseSeen()) {
            EndRequested = 1;
            break;
        }
        if (key > 0) {
            closed = ActOnKey(key, page);
            DrawMenu(page);
        }
        if (Passed(MenuTimeout)) {
            if (page > kNone) {
                MenuTimeout = Milliseconds() + kIdleCloseMs;
                page = kNone;
                DrawMenu(kNone);
            } else {
                closed = true;
            }
        }
    }
    running = false;
    SelectFont(ScoreFont);
}

} // namespace tonvella
