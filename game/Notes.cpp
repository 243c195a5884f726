#include "game/Notes.h"

#include "game/GameState.h"
#include "game/Random.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"

namespace tonvella {

namespace {

// Notes are visible only in this band of heights; below the table top they travel hidden.
constexpr float kLowest = 0.9f;
constexpr float kHighest = 9.0f;

std::shared_ptr<TSprite> CopySprite(const std::shared_ptr<TSprite>& sprite) {
    return std::static_pointer_cast<TSprite>(CopyEntity(sprite));
}

void ColourRandomly(const std::shared_ptr<TSprite>& sprite) {
    int red = RandomInt(255, 1);
    int green = RandomInt(255, 1);
    int blue = RandomInt(255, 1);
    EntityColor(sprite, float(red), float(green), float(blue));
}

void PlaceUnderCard(TNoten& note, const TEntityHandle& card) {
    float y = float(RandomFloat(-30, 0.9));
    PositionEntity(note.Bild, EntityX(card), y, EntityZ(card));
    HideEntity(note.Bild);
}

} // namespace

void CreateNotes() {
    for (TNoten& note : Notes) {
        note = TNoten{};
        note.Bild = CopySprite(NoteSprite);
        note.DeltaX = float(RandomFloat(0.16, 0) - 0.08);
        note.DeltaY = float(RandomFloat(0.04, 0) + 0.04);
        note.DeltaZ = float(RandomFloat(0.22, 0) - 0.21);
        note.X = 5.0f;
        note.Y = float(RandomFloat(-30, -0.9));
        note.Z = 10.0f;
        MoveEntity(note.Bild, note.X, note.Y, note.Z);
        ScaleSprite(note.Bild, 0.7f, 0.7f);
        ColourRandomly(note.Bild);
    }
}

void RespawnNotes() {
    const TEntityHandle& card = Cards[SelectedCard];
    for (TNoten& note : Notes) {
        FreeEntity(note.Bild);
        if (WrongCard != -1) {
            note.Bild = CopySprite(WrongNoteSprite);
            EntityColor(note.Bild, 99, 99, 99);
        } else {
            note.Bild = CopySprite(NoteSprite);
            ColourRandomly(note.Bild);
        }
        PlaceUnderCard(note, card);
    }
}

void RiseNotes() {
    const TEntityHandle& card = Cards[SelectedCard];
    for (TNoten& note : Notes) {
        float y = EntityY(note.Bild, ENTITY_GLOBAL);
        if (y < kLowest) {
            MoveEntity(note.Bild, 0, note.DeltaY, 0);
            HideEntity(note.Bild);
        } else if (y > kHighest) {
            PlaceUnderCard(note, card); // back into the stream under the held card
        } else {
            ShowEntity(note.Bild);
            MoveEntity(note.Bild, note.DeltaX, note.DeltaY, note.DeltaZ);
        }
    }
}

void DriftNotes() {
    for (TNoten& note : Notes) {
        float y = EntityY(note.Bild, ENTITY_GLOBAL);
        if (y < kLowest || y > kHighest) {
            HideEntity(note.Bild);
        } else {
            MoveEntity(note.Bild, note.DeltaX, note.DeltaY, note.DeltaZ);
            Dirty = 1;
        }
    }
}

} // namespace tonvella
