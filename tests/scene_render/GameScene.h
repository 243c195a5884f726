// A scene like the game's: a textured room, a table with 16 cards and their shadows, three point
// lights, two posters, a panel before the camera and 100 floating note sprites; and a score
// strip like the game's in 2D.
#pragma once

#include "scene/Scene3D.h"

#include <string>

namespace tonvella {

extern const std::u16string kAssetsDir;

struct TGameScene {
    TCameraHandle camera;
    TMeshHandle cards[16];
    TSpriteHandle notes[100];
};

// Uses the graphics already open (1024 x 768 in the game).
TGameScene BuildGameScene(const std::u16string& assets_dir);
// Moves the notes a little, as the game does between frames.
void StepGameScene(TGameScene& scene, int step);
// Between BeginLumo2D and EndLumo2D.
void DrawGameHud();

} // namespace tonvella
