#include "tests/game_play/HeadlessGame.h"

#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/Notes.h"
#include "game/Random.h"
#include "media/Input.h"
#include "media/sound/Sound.h"
#include "scene/Camera.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tonvella {

void TakeFrustumAsAFrameWould(TCamera& camera) {
    const double aspect = 1024.0 / 768.0;
    const double fovy = 2.0 * std::atan(1.0 / (aspect * camera.zoom));
    const double n = camera.range_near, f = camera.range_far;
    const double top = n * std::tan(fovy / 2.0), right = top * aspect;
    float p[16] = {};
    p[0] = float(n / right);
    p[5] = float(n / top);
    p[10] = float(-(f + n) / (f - n));
    p[11] = -1;
    p[14] = float(-2 * f * n / (f - n));
    const TMatrix view = camera.mat.Inverse();
    camera.FrustumFromMatrices(p, &view.grid[0][0]);
}

int CardPixelX(int card) {
    return WindowX(CardGridX(card));
}

int CardPixelY(int card) {
    return WindowY(CardGridZ(card));
}

bool Gone(int card) {
    return EntityZ(Cards[card]) < -10;
}

void KeepFrustumCurrent() {
    static TMatrix seen;
    if (std::memcmp(&Camera->mat, &seen, sizeof seen) != 0) {
        TakeFrustumAsAFrameWould(*Camera);
        seen = Camera->mat;
    }
}

void SetUpHeadlessGame(const char16_t* audio_driver) {
    // A teacher's sets on this machine would join the menu's list; the games here have none.
    setenv("XDG_DATA_HOME", "/nonexistent/tonvella-test", 1);
    setenv("XDG_DATA_DIRS", "/nonexistent/tonvella-test", 1);
    RegisterGameBlobs();
    InitStreamProtocols();
    SelectAudioDriver(audio_driver);
    CreateTranslationCaches();
    FillLanguageTable();
    EnablePolledInput();
    SeedRandom(1);
    LoadCardSet(CurrentSetFile);
    DealCards();
    HalfWidth = 512;
    WindowHeight = 768;
    Aspect = 1024.0f / 768.0f;
    NoteSprite = CreateSprite();
    WrongNoteSprite = CreateSprite();
    CreateNotes();
    HideEntity(NoteSprite);
    HideEntity(WrongNoteSprite);
    Camera = CreateCamera();
    CameraViewport(Camera, 0, 0, 1024, 768);
    PositionEntity(Camera, 0, 8, -15);
    CameraZoom(Camera, 2.4f / Aspect);
    CreateBoard();
    Table = CreateCube(); // the camera looks at the table's centre
    PositionEntity(Table, -0.5f, -0.65f, 5);
    SettingsDrawer = CreatePivot();
    CreateCards();
    PointEntity(Camera, Table, 0);
}

} // namespace tonvella
