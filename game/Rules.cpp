#include "game/Rules.h"

#include "game/Board.h"
#include "game/GameState.h"
#include "game/Notes.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"

#include <cmath>

namespace tonvella {

namespace {

int PartnerSlot(int slot) {
    return slot % 2 == 0 ? slot + 1 : slot - 1;
}

void PassTurn() {
    CameraStep = -CameraStep;
    CurrentPlayer = 1 - CurrentPlayer;
}

void FadePair() {
    HideEntity(CardShadows[MatchedCard]);
    HideEntity(CardShadows[MatchedFirstCard]);
    EntityAlpha(Cards[MatchedCard], MatchFade);
    EntityAlpha(Cards[MatchedFirstCard], MatchFade);
    MatchFade *= 0.98f;
    if (MatchFade >= 0.3f) return;
    // Off the table and out of the camera's view.
    MoveEntity(Cards[MatchedCard], 0, 0, -22);
    MoveEntity(Cards[MatchedFirstCard], 0, 0, -22);
    Scores[CurrentPlayer] += 2;
    MatchedCard = -1;
    MatchFade = 1.0f;
    PartnerCard = -1;
    if (Behaviour == kTurnAlwaysPasses) {
        FirstCard = WrongCard = -1;
        PassTurn();
    }
}

void MoveCamera() {
    if (Scores[0] + Scores[1] > 15) { // the game is over: back to the middle
        float x = EntityX(Camera);
        if (std::fabs(x) > 0.3f)
            TranslateEntity(Camera, x > 0 ? -0.15f : 0.15f, 0, 0, ENTITY_GLOBAL);
        else
            CameraStep = 0;
    } else if (CameraStep > 0) {
        if (EntityX(Camera) < 5) {
            TranslateEntity(Camera, CameraStep, 0, 0);
            Dirty = 1;
        } else {
            PlayerArrived = 1;
        }
    } else {
        if (EntityX(Camera) > -6) {
            TranslateEntity(Camera, CameraStep, 0, 0);
            Dirty = 1;
        } else {
            PlayerArrived = 1;
        }
    }
    PointEntity(Camera, Table, 0);
    TurnEntity(Camera, -10, 0, 0);
}

} // namespace

bool JudgePick() {
    const int c = SelectedCard;
    if (PartnerCard == -1) {
        MatchedFirstCard = -1;
        int partner_slot = PartnerSlot(CardSound[c]);
        for (int i = 0; i < 16; ++i) {
            if (CardSound[i] == partner_slot) {
                PartnerCard = i;
                break;
            }
        }
        FirstCard = c;
    } else if (MatchedCard != -1 && (c == MatchedCard || c == MatchedFirstCard)) {
        // The pair is already found and fading: pressing either of its cards changes nothing.
        return false;
    } else if (c == PartnerCard) {
        PlayerArrived = 0;
        MatchedCard = c;
        MatchedFirstCard = FirstCard;
        FirstCard = -1;
        WrongCard = -1;
    } else if (c != FirstCard && c != WrongCard) {
        PlayerArrived = 0;
        WrongCard = c;
    }
    return true;
}

void ReleaseStep() {
    if (MatchedCard != -1) {
        FadePair();
    } else if (WrongCard != -1) {
        // A wrong card picked while a pair faded leaves that pair's first card behind; the strip
        // would then say "nochmal!" to the player who just lost the turn.
        PartnerCard = FirstCard = WrongCard = MatchedFirstCard = -1;
        PassTurn();
    }
    FadeCardSound();
    MoveCamera();
    DriftNotes();
    if (SelectedCard > -1) PutDownCard();
    LiftState = kLiftAtRest;
    ShowEntity(Pointer);
    ShowEntity(PointerShadow);
}

} // namespace tonvella
