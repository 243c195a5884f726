#include "game/Startup.h"

#include "Translator/Translation.h"
#include "game/Board.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/MainLoop.h"
#include "game/Notes.h"
#include "game/Opponent.h"
#include "game/Random.h"
#include "game/Room.h"
#include "game/WindowTitle.h"
#include "media/Graphics.h"
#include "media/Platform.h"
#include "media/draw/Draw2D.h"
#include "media/sound/SamplePrefetch.h"
#include "scene/DebugLog.h"
#include "scene/PixmapPrefetch.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"
#include "streams/Embedded.h"
#include "streams/Modules.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>

namespace tonvella {

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

void OpenGameWindow() {
    if (Graphics3D(kWindowWidth, kWindowHeight, 0, GRAPHICS3D_WINDOWED, 60) != 0)
        throw std::runtime_error("Cannot open the " + std::to_string(kWindowWidth) + " x " +
                                 std::to_string(kWindowHeight) + " window: " + GraphicsError());
    HalfWidth = ScreenWidth() / 2;
    WindowHeight = ScreenHeight();
    Aspect = float(ScreenWidth()) / float(ScreenHeight());
}

void LoadNoteSprites() {
    NoteSprite = LoadSprite(AssetBase + u"NotenAnti.png", TEX_ALPHA);
    WrongNoteSprite = LoadSprite(AssetBase + u"NotenFalsch.png", TEX_ALPHA);
    PositionEntity(NoteSprite, 0, 5, 5);
}

void CreateCameraAndHud() {
    Camera = CreateCamera();
    PositionEntity(Camera, 0, 8, -15);
    CameraZoom(Camera, 2.4f / Aspect);
    // The translucent strip behind the messages at the top of the view.
    HudPanel = CreateSprite(Camera);
    EntityAlpha(HudPanel, 0.35f);
    ScaleSprite(HudPanel, 0.75f, 0.15f);
    MoveEntity(HudPanel, 0, 0.66f, 2.0f);
}

// Every picture start-up loads, in the order it loads them (LoadFontsAndPictures, LoadNoteSprites,
// BuildRoom, BuildFloorAndWalls): decoded ahead while the window opens.
std::vector<std::u16string> PicturesOfStart() {
    std::vector<std::u16string> urls;
    for (const char16_t* name : {u"buch.png", u"NotenAnti.png", u"NotenFalsch.png", u"buche.png",
                                 u"intervallo.png", u"tatiti.png", u"teppich.png", u"tapete.png"})
        urls.push_back(AssetBase + name);
    return urls;
}

// A start-up that ends early, by an error, still waits for the pictures' thread.
struct TPicturesAhead {
    TPicturesAhead() { PrefetchPixmaps(PicturesOfStart()); }
    ~TPicturesAhead() { DropPrefetchedPixmaps(); }
};

} // namespace

void LoadFontsAndPictures() {
    ScoreFont = LoadFontFile(AssetBase + u"Digital Readout Upright.ttf", 60, FONT_BOLD);
    SmallFont = LoadFontFile(AssetBase + u"Comic.ttf", 20, FONT_SMOOTH);
    MediumFont = LoadFontFile(AssetBase + u"Comic.ttf", 30, FONT_SMOOTH);
    LargeFont = LoadFontFile(AssetBase + u"Comic.ttf", 50, FONT_SMOOTH);
    MenuImage = LoadPicture(AssetBase + u"buch.png");
    SelectFont(ScoreFont);
}

void RunGame() {
    ShareOneHeap(); // before the first thread
    // The scene engine reports pictures it cannot find or decode; the game shows those lines.
    InstallDebugLog(DebugPrint);
    RegisterGameBlobs();
    InitStreamProtocols();
    CreateTranslationCaches();
    Opponent = kHuman; // every start, also a second one in the same process, plays two people
    SeedRandom(Milliseconds()); // for the deal and the cards' colours
    FillLanguageTable();
    DebugPrint(u"hier");
    SetWindowTitle(250);
    // The first set's sounds and the pictures are decoded beside the opening of the window. The set
    // is loaded (and its lines printed) once both are done, before a window that failed is
    // reported.
    PrefetchSamples(SoundsOfNextLoad(CurrentSetFile));
    std::optional<TPicturesAhead> pictures_ahead(std::in_place);
    std::exception_ptr no_window;
    try {
        OpenGameWindow();
    } catch (const std::exception&) {
        no_window = std::current_exception();
    }
    AwaitPrefetch();
    LoadCardSet(CurrentSetFile);
    DropPrefetchedSamples();
    DealCards();
    if (no_window) std::rethrow_exception(no_window);
    LoadFontsAndPictures();
    LoadNoteSprites();
    AmbientLight(55, 55, 55);
    CreateNotes();
    HideEntity(NoteSprite);
    HideEntity(WrongNoteSprite);
    CreateCameraAndHud();
    CreateLights();
    CreateBoard();
    BuildRoom();
    BuildFloorAndWalls();
    CreateCards();
    pictures_ahead.reset();
    HidePointer();
    // Once more for the play, once everything is loaded: what it draws then depends on how long
    // loading took as well.
    SeedRandom(Milliseconds());
    PointEntity(Camera, Table, 0);
    // The textures' pixels, made beside the main thread, go to the driver before their memory
    // is handed back, not in the first frame.
    UploadTextures();
    ReturnFreedMemory();
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
