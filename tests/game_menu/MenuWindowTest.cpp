#include "tests/game_menu/MenuSupport.h"

#include "game/GameState.h"
#include "game/Menu.h"
#include "game/Startup.h"
#include "media/Graphics.h"
#include "media/KeyCodes.h"
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
    LoadFontsAndPictures();
    ASSERT_TRUE(ScoreFont && SmallFont && MediumFont && MenuImage);
    SelectFont(SmallFont);
    UseScriptedKeyboard();

    const int keys[] = {KEY_F6, KEY_0 + 3, KEY_F2, KEY_F3,     KEY_F5,
                        KEY_F7, KEY_F7,    KEY_F7, KEY_ESCAPE, KEY_ESCAPE};
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
