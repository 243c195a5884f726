#include "tests/game_menu/MenuSupport.h"

#include "game/GameState.h"
#include "game/Menu.h"
#include "media/Graphics.h"
#include "media/Text.h"
#include "media/draw/Draw2D.h"
#include "scene/Scene3D.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace tonvella;
using namespace menutest;

// The whole menu drawn with the game's fonts and book in a real window.
TEST(MenuWindowTest, DrawsEveryPageAndGivesTheScoreFontBack) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    StartGame();
    ASSERT_EQ(Graphics3D(1024, 768, 0, 2, 60, -1), 0) << GraphicsError();
    ScoreFont = LoadFontFile(AssetBase + u"Digital Readout Upright.ttf", 60, 1);
    SmallFont = LoadFontFile(AssetBase + u"Comic.ttf", 20, 4);
    MediumFont = LoadFontFile(AssetBase + u"Comic.ttf", 30, 4);
    MenuImage = LoadPicture(AssetBase + u"buch.png", -1);
    ASSERT_TRUE(ScoreFont && SmallFont && MediumFont && MenuImage);
    SelectFont(SmallFont);
    UseScriptedKeyboard();

    const int keys[] = {117, '3', 113, 114, 116, 118, 118, 118, 27, 27};
    Script().keys.assign(std::begin(keys), std::end(keys));
    int frames = FramesPresented();
    RunMenu();
    // Once on entry and once after each key, at least.
    EXPECT_GE(FramesPresented() - frames, int(std::size(keys)) + 1);
    EXPECT_EQ(CurrentLumo2D()->image_font, ScoreFont);
    EXPECT_EQ(ToUtf8(CurrentSetFile), "Gleicher Beat.Set");
    CloseGraphics();
    StopGame();
}
