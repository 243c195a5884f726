#include "game/Board.h"

#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/Notes.h"
#include "game/Opponent.h"
#include "game/Random.h"
#include "game/Rules.h"
#include "media/sound/Sound.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"

#include <algorithm>
#include <cmath>

namespace tonvella {

namespace {

constexpr int kCards = 16;
constexpr float kPi = 3.14159265358979f;

// Not the engine's SinDeg: that works in double, and the shadow of a rocking card has always been
// computed in float; the double result differs in the last bits and would move the shadows.
float SinDegrees(float degrees) {
    return std::sin(degrees * kPi / 180.0f);
}

void PlaceShadowUnderCard(int i) {
    const TEntityHandle& shadow = CardShadows[i];
    EntityColor(shadow, 55, 55, 55);
    PositionEntity(shadow, EntityX(Cards[i]) + 0.06f, -0.05f, EntityZ(Cards[i]) - 0.03f);
    ScaleEntity(shadow, 1, 0.0005f, 1);
    EntityAlpha(shadow, 0.9f);
    EntityFX(shadow, FX_FLATSHADED);
}

// Every field of the game state record that a new game sets, whoever starts it: start-up, or the
// menu's restart, set, behaviour and opponent. Nothing of the last game goes on in the new one;
// a pair still fading, say, would take two cards of the new deal off the table and score them.
void ResetForNewGame() {
    Scores[0] = Scores[1] = 0;
    CameraStep = -0.15f; // player 1's side
    CurrentPlayer = 0;
    PartnerCard = FirstCard = WrongCard = -1;
    MatchedCard = MatchedFirstCard = -1;
    MatchFade = 1.0f;
    PlayerArrived = 0;
    OpponentNewGame(); // the computer forgets what it heard, its hand rests
}

} // namespace

float CardGridX(int card) {
    return float(3 * (card % 4) - 5);
}

float CardGridZ(int card) {
    return float(3 * (card / 4));
}

void CreateBoard() {
    CardTemplate = CreateCube();
    ScaleMesh(CardTemplate, 1, 0.05f, 1);
    HideEntity(CardTemplate);
    CardBrush = CreateBrush(255, 255, 255);
    BrushShininess(CardBrush, 1.0f);
    ShadowTemplate = CreateCube();
    ScaleMesh(ShadowTemplate, 1, 0.0005f, 1);
    HideEntity(ShadowTemplate);
    Pointer = CreateCube();
    ScaleMesh(Pointer, 0.2f, 0.02f, 0.2f);
    PositionEntity(Pointer, 5, 1, 5);
    PointerShadow = CreateCube();
    ScaleMesh(PointerShadow, 0.3f, 0.0005f, 0.3f);
    PositionEntity(PointerShadow, 5, 0.2f, 5);
    EntityColor(PointerShadow, 55, 55, 55);
    EntityAlpha(PointerShadow, 0.2f);
    EntityFX(PointerShadow, FX_FLATSHADED);
}

void CreateCards() {
    for (int i = 0; i < kCards; ++i) {
        // Drawn one by one: the order of function arguments is not fixed in C++.
        int red = RandomInt(0, 255);
        int green = RandomInt(0, 255);
        int blue = RandomInt(0, 255);
        BrushColor(CardBrush, float(red), float(green), float(blue));
        Cards[i] = CopyEntity(CardTemplate);
        PaintEntity(Cards[i], CardBrush);
        PositionEntity(Cards[i], CardGridX(i), 0, CardGridZ(i));
        EntityAlpha(Cards[i], 1.0f);
        CardShadows[i] = CopyEntity(ShadowTemplate);
        PlaceShadowUnderCard(i);
    }
}

void DealCards() {
    std::fill(CardSound.begin(), CardSound.begin() + kCards, -1);
    for (int i = 0; i < kCards; ++i) {
        int v;
        do
            v = RandomInt(0, 15);
        while (std::find(CardSound.begin(), CardSound.begin() + kCards, v) !=
               CardSound.begin() + kCards);
        CardSound[i] = v;
    }
    ResetForNewGame();
}

float TableX(int window_x) {
    return float(window_x) / 50.0f - 10.0f;
}

float TableZ(int window_y) {
    return -float(window_y) / 35.0f + 18.0f;
}

int WindowX(float table_x) {
    return int((table_x + 10) * 50);
}

int WindowY(float table_z) {
    return int((18 - table_z) * 35);
}

bool InDrawerRegion(float x, float z) {
    return x > 5 && z > 10;
}

void PlacePointer() {
    if (!(CursorX >= -8)) CursorX = -8;
    if (!(CursorZ >= -2)) CursorZ = -2;
    if (!InDrawerRegion(CursorX, CursorZ)) { // outside it the pointer stays on the table
        if (CursorX > 7)
            CursorX = 7;
        else if (CursorZ > 12)
            CursorZ = 12;
    }
    PositionEntity(Pointer, CursorX, 0.4f, CursorZ);
    PositionEntity(PointerShadow, EntityX(Pointer) + 0.2f, 0.12f, EntityZ(Pointer));
}

int NearestCard() {
    float best = 999.0f;
    int result = -1;
    for (int i = 0; i < kCards; ++i) {
        if (!CardShadows[i]) continue;
        float d = EntityDistance(Pointer, CardShadows[i]);
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

void PickCard() {
    SelectedCard = NearestCard();
    if (SelectedCard == -1) return;
    // Cards of found pairs have left the view, so they cannot be picked.
    if (int(EntityInView(Camera, Cards[SelectedCard])) <= 0 || !JudgePick()) {
        SelectedCard = -1;
        return;
    }
    LiftState = kLifting;
    if (SoundVolume > 0.01f) StopSoundChannel(SoundChannel);
    SoundChannel = PlaySoundOn(PairSounds[CardSound[SelectedCard]]);
    SoundVolume = 1.0f;
    SetSoundVolume(SoundChannel, 1.0f);
    CardPlayedAloud(SelectedCard);
    HideEntity(Pointer);
    HideEntity(PointerShadow);
    RespawnNotes();
}

void AnimateHeldCard() {
    if (SelectedCard < 0) return; // the pointer passed the drawer region with the button held
    const TEntityHandle& card = Cards[SelectedCard];
    const TEntityHandle& shadow = CardShadows[SelectedCard];
    switch (LiftState) {
    case kLifting: {
        MoveEntity(card, 0, 0.1f, 0);
        float y = EntityY(card);
        TranslateEntity(shadow, 0.15f, 0.02f, -0.06f, ENTITY_GLOBAL);
        ScaleEntity(shadow, 1 + y / 4, 0.0005f, 1 + y / 5);
        EntityAlpha(shadow, 1 - y / 1.1f);
        if (y > 1) {
            PositionEntity(card, EntityX(card), 1.0f, EntityZ(card));
            LiftState = RandomInt(kRockPitchDown, kRockRollRight);
        }
        break;
    }
    case kRockPitchDown:
    case kRockPitchUp: {
        TurnEntity(card, LiftState == kRockPitchDown ? 5.0f : -5.0f, 0, 0);
        float y = EntityY(card);
        float tilt = std::fabs(SinDegrees(EntityPitch(card) + 60)) + 0.1f;
        ScaleEntity(shadow, 1 + y / 4, 0.0005f, tilt * (1 + y / 5));
        break;
    }
    case kRockRollLeft:
    case kRockRollRight: {
        TurnEntity(card, 0, 0, LiftState == kRockRollLeft ? 5.0f : -5.0f);
        float y = EntityY(card);
        float tilt = std::fabs(SinDegrees(EntityRoll(card) + 60)) + 0.1f;
        ScaleEntity(shadow, tilt * (1 + y / 4), 0.0005f, 1 + y / 5);
        break;
    }
    default:
        break;
    }
    Dirty = 1;
}

void PutDownCard() {
    const TEntityHandle& card = Cards[SelectedCard];
    const TEntityHandle& shadow = CardShadows[SelectedCard];
    RotateEntity(card, 0, 0, 0);
    PositionEntity(card, EntityX(card), 0, EntityZ(card));
    // The last card of a found pair is still the selected one and is put down on every release
    // step; its hidden shadow stays where the card lay. Moved along on each step, it would come
    // to lie over another card, which presses would then take for the card that has gone.
    if (EntityZ(card) <= -10) return;
    float shadow_z = EntityZ(card) - 0.03f;
    PositionEntity(shadow, EntityX(card) + 0.06f, -0.05f, shadow_z);
    ScaleEntity(shadow, 1, 0.0005f, 1);
    EntityAlpha(shadow, 0.7f);
}

void FadeCardSound() {
    if (SoundVolume > 0.01f) {
        SoundVolume *= 0.96f;
        SetSoundVolume(SoundChannel, SoundVolume);
    } else if (SoundVolume > 0.001f) {
        StopSoundChannel(SoundChannel);
        SoundVolume = 0;
    }
}

bool RestartBoard() {
    // The set is loaded first: a set that is refused leaves the game in progress untouched.
    if (!LoadCardSet(CurrentSetFile)) return false;
    StartNewGame();
    return true;
}

void StartNewGame() {
    for (int i = 0; i < kCards; ++i) {
        RotateEntity(Cards[i], 0, 0, 0);
        PositionEntity(Cards[i], CardGridX(i), 0, CardGridZ(i));
        EntityAlpha(Cards[i], 1.0f);
        PlaceShadowUnderCard(i);
        ShowEntity(CardShadows[i]); // a found pair's shadows were hidden as it faded
    }
    DealCards();
}

} // namespace tonvella
