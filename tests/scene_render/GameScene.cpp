#include "tests/scene_render/GameScene.h"

#include "media/Graphics.h"
#include "media/draw/Draw2D.h"
#include "scene/Scene.h"

#include <cmath>

namespace tonvella {

const std::u16string kAssetsDir = u"" TONVELLA_ASSETS_U16;

namespace {

TMeshHandle Quad(const TEntityHandle& parent = nullptr) {
    TMeshHandle mesh = CreateMesh(parent);
    TSurfaceHandle s = CreateSurface(mesh);
    AddVertex(s, -1, 0, 1, 0, 0);
    AddVertex(s, 1, 0, 1, 1, 0);
    AddVertex(s, 1, 0, -1, 1, 1);
    AddVertex(s, -1, 0, -1, 0, 1);
    for (int v = 0; v < 4; ++v)
        VertexNormal(s, v, 0, 1, 0);
    AddTriangle(s, 0, 1, 2);
    AddTriangle(s, 0, 2, 3);
    return mesh;
}

} // namespace

TGameScene BuildGameScene(const std::u16string& dir) {
    TGameScene scene;
    AmbientLight(55, 55, 55);
    scene.camera = CreateCamera();
    const float aspect = float(ScreenWidth()) / float(ScreenHeight());
    CameraZoom(scene.camera, 2.4f / aspect);
    CameraClsColor(scene.camera, 20, 20, 30);
    PositionEntity(scene.camera, 0, 8, -15);

    TSpriteHandle panel = CreateSprite(scene.camera);
    PositionEntity(panel, 0, 1.0f, 3);
    ScaleSprite(panel, 2.2f, 0.25f);
    SpriteViewMode(panel, 2);
    EntityColor(panel, 250, 247, 222);
    EntityAlpha(panel, 0.6f);

    const float lights[3][3] = {{-6, 9, -6}, {6, 9, -6}, {0, 9, 8}};
    for (const auto& p : lights) {
        TLightHandle light = CreateLight(2);
        PositionEntity(light, p[0], p[1], p[2]);
        LightRange(light, 12);
        LightColor(light, 230, 220, 200);
    }

    TMeshHandle walls = CreateCube();
    ScaleEntity(walls, 20, 10, 20);
    PositionEntity(walls, 0, 9, 0);
    FlipMesh(walls);
    TTextureHandle wallpaper = LoadTexture(dir + u"/tapete.png", 1);
    ScaleTexture(wallpaper, 0.2f, 0.2f);
    EntityTexture(walls, wallpaper);

    TMeshHandle floor = Quad();
    ScaleEntity(floor, 20, 1, 20);
    PositionEntity(floor, 0, -0.99f, 0);
    TTextureHandle carpet = LoadTexture(dir + u"/teppich.png", 1);
    ScaleTexture(carpet, 0.25f, 0.25f);
    EntityTexture(floor, carpet);

    TMeshHandle table = CreateCube();
    ScaleEntity(table, 6, 0.3f, 5);
    PositionEntity(table, 0, 2, 0);
    EntityTexture(table, LoadTexture(dir + u"/buche.png", 1));

    TSpriteHandle poster1 = LoadSprite(dir + u"/intervallo.png", 4);
    SpriteViewMode(poster1, 2);
    PositionEntity(poster1, -8, 7, 19.9f);
    ScaleSprite(poster1, 3, 3);
    TSpriteHandle poster2 = LoadSprite(dir + u"/tatiti.png", 4);
    SpriteViewMode(poster2, 2);
    PositionEntity(poster2, 8, 7, 19.9f);
    ScaleSprite(poster2, 3, 3);

    TBrushHandle card_brush = CreateBrush(240, 240, 255);
    BrushShininess(card_brush, 0.3f);
    TMeshHandle card_template = CreateCube();
    ScaleMesh(card_template, 1, 0.06f, 1.0f);
    PaintMesh(card_template, card_brush);
    TMeshHandle shadow_template = Quad();
    ScaleMesh(shadow_template, 1.1f, 1, 1.1f);
    EntityColor(shadow_template, 0, 0, 0);
    EntityAlpha(shadow_template, 0.45f);
    for (int i = 0; i < 16; ++i) {
        const float x = -3.6f + 2.4f * float(i % 4), z = -3.45f + 2.3f * float(i / 4);
        auto card = std::static_pointer_cast<TMesh>(CopyEntity(card_template));
        PositionEntity(card, x, 2.45f, z);
        EntityColor(card, 255, 230 - 8 * i, 200 + 3 * i);
        scene.cards[i] = card;
        TEntityHandle shadow = CopyEntity(shadow_template);
        PositionEntity(shadow, x + 0.15f, 2.31f, z - 0.1f);
    }
    HideEntity(card_template);
    HideEntity(shadow_template);

    TSpriteHandle note = LoadSprite(dir + u"/NotenAnti.png", 2);
    for (int i = 0; i < 100; ++i) {
        auto copy = std::static_pointer_cast<TSprite>(CopyEntity(note));
        ScaleSprite(copy, 0.4f, 0.4f);
        EntityColor(copy, float(100 + (i * 37) % 155), float(100 + (i * 71) % 155),
                    float(100 + (i * 13) % 155));
        scene.notes[i] = copy;
    }
    HideEntity(note);
    StepGameScene(scene, 0);
    return scene;
}

void StepGameScene(TGameScene& scene, int step) {
    for (int i = 0; i < 100; ++i) {
        const float a = float(i) * 0.63f + float(step) * 0.05f;
        PositionEntity(scene.notes[i], 5.5f * std::cos(a), 3 + float((i * 7 + step) % 50) * 0.1f,
                       5.5f * std::sin(a) * 0.8f);
    }
}

void DrawGameHud() {
    static TImageFontHandle score =
        LoadFontFile(kAssetsDir + u"/Digital Readout Upright.ttf", 60, 1);
    static TImageFontHandle large = LoadFontFile(kAssetsDir + u"/Comic.ttf", 50, 4);
    static TImageFontHandle medium = LoadFontFile(kAssetsDir + u"/Comic.ttf", 30, 4);
    const int half = ScreenWidth() / 2;
    auto centred = [](int x, int y, const std::u16string& text) {
        DrawString(text, float(x - StringWidth(text) / 2), float(y - FontHeight() / 2));
    };
    SetBlendMode(3);
    SelectFont(score);
    for (int i = 0; i < 8; ++i) {
        SetDrawColour(30 * i, 30 * i, 30 * i);
        FillRect(float(half - 250 + i), 0, float(20 - 2 * i), 10);
        FillRect(float(half + 250 + i), 0, float(20 - 2 * i), 10);
    }
    SetDrawColour(140, 140, 140);
    centred(half - 300, 100, u"88");
    centred(half + 300, 100, u"88");
    SetDrawColour(80, 80, 80);
    centred(half - 300, 100, u"04");
    centred(half + 300, 100, u"02");
    SelectFont(large);
    centred(half, 100, u"neuer Spieler");
    SelectFont(medium);
    centred(half, 40, u"Suche die gleiche Melodie");
    SetDrawColour(255, 255, 255);
}

} // namespace tonvella
