// Frame time of a scene like the game's at 1024 x 768: a room, 16 cards with shadows, three
// lights, posters and 100 note sprites, with the score strip drawn in 2D on top.
// Run under a display, e.g. xvfb-run -a -s "-screen 0 1280x1024x24" ./bench/render_bench
#include "media/Graphics.h"
#include "media/draw/Draw2D.h"
#include "scene/Scene.h"
#include "tests/media_draw/FrameGrab.h"
#include "tests/scene_render/GameScene.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tonvella;

namespace {

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main() {
    if (Graphics3D(1024, 768, 0, 2, 60, -1) != 0) {
        std::fprintf(stderr, "render_bench: no graphics: %s\n", GraphicsError().c_str());
        return 1;
    }
    TGameScene scene = BuildGameScene(kAssetsDir);
    PointEntity(scene.camera, scene.cards[5]);
    TurnEntity(scene.camera, -10, 0, 0);

    const int warmup = 5, frames = 60;
    std::vector<double> scene_ms, frame_ms;
    for (int i = 0; i < warmup + frames; ++i) {
        StepGameScene(scene, i);
        const auto start = std::chrono::steady_clock::now();
        RenderWorld();
        glFinish();
        const auto rendered = std::chrono::steady_clock::now();
        BeginLumo2D();
        DrawGameHud();
        EndLumo2D();
        if (i == warmup) SaveScreenshot("render_bench", 1024, 768);
        PresentFrame(0);
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        if (i < warmup) continue;
        scene_ms.push_back(Ms(rendered - start));
        frame_ms.push_back(Ms(end - start));
    }
    auto report = [](const char* what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double x : v)
            sum += x;
        std::printf("%-28s mean %7.2f ms  median %7.2f ms  max %7.2f ms\n", what,
                    sum / double(v.size()), v[v.size() / 2], v.back());
    };
    std::printf("renderer: %s; %d frames at 1024 x 768\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), frames);
    report("3D scene (RenderWorld)", scene_ms);
    report("whole frame (3D, 2D, swap)", frame_ms);
    std::printf("screenshot: /tmp/render_bench.png\n");
    return 0;
}
