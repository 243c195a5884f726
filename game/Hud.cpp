#include "game/Hud.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "media/Digest.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Text.h"
#include "media/draw/Draw2D.h"
#include "scene/Scene3D.h"

namespace tonvella {

namespace {

std::u16string TwoDigits(int score) {
    std::u16string text = IntToText(score);
    return text.size() == 1 ? u"0" + text : text;
}

// Everything the strip shows that can change; drawing and its signature both read it from here.
struct THudContent {
    std::u16string score[2];
    std::u16string message;
    bool grey = false;
    std::u16string question;
};

// Text with the current font, centred on (x, y).
void DrawCentred(int x, int y, const std::u16string& text) {
    DrawString(text, float(x - StringWidth(text) / 2), float(y - FontHeight() / 2));
}

THudContent HudContent() {
    THudContent c;
    c.score[0] = TwoDigits(Scores[0]);
    c.score[1] = TwoDigits(Scores[1]);
    c.message = StatusMessage(IsMouseDown(MOUSE_LEFT) != 0 || KeyButtonHeld, &c.grey);
    c.question = QuestionText;
    return c;
}

} // namespace

std::u16string StatusMessage(bool button_held, bool* grey) {
    *grey = false;
    if (PartnerCard == -1) {
        if (Scores[0] + Scores[1] > 15) {
            if (Scores[0] > Scores[1]) return u"<--- " + TranslateText(u"Sieger Spieler") + u" 1!";
            if (Scores[1] > Scores[0])
                return u"    " + TranslateText(u"Sieger Spieler") + u" 2! --->";
            return TranslateText(u"beide sind Sieger!");
        }
        if (MatchedFirstCard != -1 && Behaviour == kFinderPlaysOn)
            return TranslateText(u"nochmal!");
        if (PlayerArrived == 0) {
            *grey = true;
            return TranslateText(u"leider nicht richtig");
        }
        return TranslateText(u"neuer Spieler");
    }
    if (MatchedCard != -1) return TranslateText(u"Gewonnen");
    if (WrongCard != -1) return TranslateText(button_held ? u"2.Karte gewählt" : u"leider falsch");
    return TranslateText(button_held ? u"1.Karte gewählt" : u"jetzt 2.Karte finden");
}

void DrawHud() {
    const THudContent content = HudContent();
    BeginLumo2D();
    SetBlendMode(BLEND2D_ALPHA);
    SelectFont(ScoreFont);
    for (int i = 0; i < 8; ++i) { // two small bevelled bars
        SetDrawColour(30 * i, 30 * i, 30 * i);
        FillRect(float(HalfWidth - 250 + i), 0, float(20 - 2 * i), 10);
        FillRect(float(HalfWidth + 250 + i), 0, float(20 - 2 * i), 10);
    }
    SetDrawColour(140, 140, 140); // the unlit segments
    DrawCentred(HalfWidth - 300, 100, u"88");
    DrawCentred(HalfWidth + 300, 100, u"88");
    SetDrawColour(80, 80, 80);
    DrawCentred(HalfWidth - 300, 100, content.score[0]);
    DrawCentred(HalfWidth + 300, 100, content.score[1]);

    SelectFont(LargeFont);
    SetDrawColour(80, 80, 80);
    if (content.grey) SetDrawColour(99, 99, 99);
    DrawCentred(HalfWidth, 100, content.message);

    SelectFont(MediumFont);
    SetDrawColour(80, 80, 80);
    DrawCentred(HalfWidth, 40, content.question);

    HidePointer();
    SetDrawColour(255, 255, 255);
    EndLumo2D();
}

std::uint64_t HudSignature() {
    const THudContent content = HudContent();
    TDigest d;
    d.AddAll(HalfWidth, ScoreFont.get(), LargeFont.get(), MediumFont.get(), content.score[0],
             content.score[1], content.message, content.grey, content.question);
    return d.Value();
}

} // namespace tonvella
