#include "Startup.h"

#include "CardSets.h"
#include "GameState.h"
#include "MainLoop.h"
#include "Operations.h"
#include "Random.h"
#include "Translator/Translation.h"
#include "WindowTitle.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "media/Text.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace tonvella {

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

// Pieces of start-up that belong to subsystems still to come keep their place here.
void RegisterEmbeddedBlobs() {
    RegisterGameBlobs();
}
void InitStreamModules() {
    InitStreamProtocols();
}
void LoadMedia() {}
void CreateCameraAndHud() {}
void CreateLights() {}
void PointCameraAtTable() {}

void OpenGameWindow() {
    SetGraphicsDriverGL(GRAPHICS_BACKBUFFER);
    if (!OpenGraphics(kWindowWidth, kWindowHeight, 0, 60,
                      GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER | GRAPHICS_ACCUMBUFFER))
        throw std::runtime_error("Cannot open the " + std::to_string(kWindowWidth) + " x " +
                                 std::to_string(kWindowHeight) + " window: " + GraphicsError());
    HalfWidth = ScreenWidth() / 2;
    WindowHeight = ScreenHeight();
    Aspect = float(ScreenWidth()) / float(ScreenHeight());
}

} // namespace

void RunGame() {
    RegisterEmbeddedBlobs();
    InitStreamModules();
    CreateTranslationCaches();
    Version = u"1.21";
    SeedRandom(Milliseconds());
    AssetBase = u"ZIP::Incbin::tt.zip//";
    FillLanguageTable();
    DebugPrint(u"hier");
    SetWindowTitle(250);
    LoadCardSet(CurrentSetFile);
    DealCards();
    OpenGameWindow();
    LoadMedia();
    CreateNotes();
    CreateCameraAndHud();
    CreateLights();
    CreateBoard();
    BuildRoom();
    CreateCards();
    HidePointer();
    SeedRandom(Milliseconds());
    PointCameraAtTable();
    Scores[0] = Scores[1] = 0;
    DebugPrint(u"vor REPEAT");
    RunMainLoop();
}

int RunProgram() {
    try {
        RunGame();
        return 0;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.what());
        return -1;
    }
}

} // namespace tonvella
