#include "game/Room.h"

#include "game/GameState.h"
#include "scene/Scene.h"
#include "scene/Scene3D.h"

#include <array>

namespace tonvella {

namespace {

constexpr float w = 0.02f; // board thickness of the cabinet

TTextureHandle beech;
std::array<float, 3> drawer_home{}; // the settings drawer's place in the cabinet

TMeshHandle Cube(const TEntityHandle& parent, float sx, float sy, float sz, float mx, float my,
                 float mz) {
    TMeshHandle cube = CreateCube(parent);
    ScaleEntity(cube, sx, sy, sz);
    MoveEntity(cube, mx, my, mz);
    return cube;
}

TMeshHandle ScaledCubeAt(float sx, float sy, float sz, float x, float y, float z) {
    TMeshHandle cube = CreateCube();
    ScaleMesh(cube, sx, sy, sz);
    PositionEntity(cube, x, y, z);
    return cube;
}

void Beech(const TEntityHandle& entity) {
    EntityTexture(entity, beech);
}

TPivotHandle BuildCabinet() {
    TPivotHandle cabinet = CreatePivot();
    RotateTexture(beech, 90);
    auto left = Cube(cabinet, w, 1, 0.5f, -1.5f, 0, 0);
    EntityColor(left, 211, 211, 211);
    Beech(left);
    auto right = Cube(cabinet, w, 1, 0.5f, 1.5f, 0, 0);
    EntityColor(right, 191, 191, 191);
    Beech(right);
    Beech(Cube(cabinet, 1.6f, 2 * w, 0.55f, 0, 1, -0.05f));
    auto bottom = Cube(cabinet, 1.55f, w, 0.51f, 0, -1, 0);
    EntityColor(bottom, 111, 111, 111);
    Beech(bottom);
    EntityColor(Cube(cabinet, 1.5f, 0.97f, w, 0, 0, 0.5f), 11, 11, 11);
    TMeshHandle foot = CreateSphere(8, cabinet);
    ScaleEntity(foot, 0.1f, 0.1f, 0.1f);
    MoveEntity(foot, -1.4f, -1.1f, -0.4f);
    EntityColor(foot, 48, 33, 24);
    TEntityHandle other_foot = CopyEntity(foot, cabinet);
    MoveEntity(other_foot, 2.8f, 0, 0); // a copy keeps the colour
    return cabinet;
}

TEntityHandle Handle(const TEntityHandle& drawer, float sx, float sy, float sz) {
    TMeshHandle handle = CreateCylinder(16, 1, drawer);
    ScaleEntity(handle, sx, sy, sz);
    MoveEntity(handle, 0, 0, -0.1f);
    TurnEntity(handle, 90, 0, 0);
    return handle;
}

TPivotHandle BuildDrawer(const TEntityHandle& cabinet) {
    TPivotHandle drawer = CreatePivot(cabinet);
    MoveEntity(drawer, -0.76f, 0.625f, -0.55f);
    Beech(Cube(drawer, 0.75f, 0.3f, w, 0, 0, 0));
    TEntityHandle knob = Handle(drawer, 0.1f, 0.03f, 0.02f);
    EntityColor(knob, 48, 33, 24);
    EntityShininess(knob, 1.0f);
    auto left = Cube(drawer, w, 0.25f, 0.5f, -0.65f, 0, 0.5f);
    EntityColor(left, 211, 211, 211);
    Beech(left);
    TEntityHandle right = CopyEntity(left, drawer);
    MoveEntity(right, 1.3f, 0, 0);
    EntityColor(right, 169, 169, 188);
    auto bottom = Cube(drawer, 0.65f, w, 0.5f, 0, -0.25f, 0.5f);
    EntityColor(bottom, 151, 151, 151);
    Beech(bottom);
    auto back = Cube(drawer, 0.65f, 0.25f, w, 0, 0, 1);
    EntityColor(back, 111, 111, 91);
    Beech(back);
    return drawer;
}

void Poster(const char16_t* file, float mx, float my, float mz, float yaw) {
    auto poster = LoadSprite(AssetBase + file, TEX_MASKED);
    ScaleSprite(poster, 7, 7);
    SpriteViewMode(poster, SPRITE_VIEW_FIXED);
    MoveEntity(poster, mx, my, mz);
    if (yaw != 0) TurnEntity(poster, 0, yaw, 0);
}

} // namespace

void BuildRoom() {
    beech = LoadTexture(AssetBase + u"buche.png", TEX_COLOR);
    Table = ScaledCubeAt(7.5f, 0.6f, 7, -0.5f, -0.65f, 5);
    Beech(Table);
    Beech(ScaledCubeAt(0.7f, 24, 0.7f, -7, -25, -0.7f));
    Beech(ScaledCubeAt(0.7f, 24, 0.7f, 6.5f, -25, -0.6f));

    TPivotHandle cabinet = BuildCabinet();
    std::array<TEntityHandle, 12> drawers;
    drawers[0] = BuildDrawer(cabinet);
    const float moves[6][2] = {{1.52f, 0},  {0, -0.63f},     {1.52f, -0.63f},
                               {0, -1.26f}, {1.52f, -1.26f}, {0, 0}};
    for (int i = 1; i <= 6; ++i) {
        drawers[i] = CopyEntity(drawers[0], cabinet);
        if (i < 6) // the seventh copy stays where drawer 0 is
            MoveEntity(drawers[i], moves[i - 1][0], moves[i - 1][1], 0);
    }
    ScaleEntity(cabinet, 10, 10, 10);
    MoveEntity(cabinet, 24, -3.5f, 32.5f);
    // The settings drawer: the middle one of the left column, with a red handle.
    TEntityHandle red = Handle(drawers[2], 0.15f, 0.035f, 0.025f);
    EntityColor(red, 255, 5, 5);
    EntityShininess(red, 1.0f);
    SettingsDrawer = drawers[2];
    drawer_home = {EntityX(SettingsDrawer), EntityY(SettingsDrawer), EntityZ(SettingsDrawer)};

    Poster(u"intervallo.png", 35, 18, 39.8f, 0);
    Poster(u"tatiti.png", -14.95f, 14, 17, 90);
}

void BuildFloorAndWalls() {
    Floor = ScaledCubeAt(95, 0.1f, 120, 25, -14.8f, 0);
    CarpetTexture = LoadTexture(AssetBase + u"teppich.png", TEX_COLOR);
    ScaleTexture(CarpetTexture, 0.02f, 0.02f);
    EntityTexture(Floor, CarpetTexture, 0, 0);

    Walls = CreateCube();
    ScaleMesh(Walls, 30, 21, 40);
    FlipMesh(Walls); // faces point inwards
    PositionEntity(Walls, 15, 0, 0);
    EntityColor(Walls, 255, 255, 255);
    WallpaperTexture = LoadTexture(AssetBase + u"tapete.png", TEX_COLOR);
    ScaleTexture(WallpaperTexture, 0.03f, 0.1f);
    EntityTexture(Walls, WallpaperTexture, 0, 0);
}

void CreateLights() {
    Light1 = CreateLight(LIGHT_POINT);
    LightRange(Light1, 100);
    PositionEntity(Light1, -50, 150, 5);
    Light2 = CreateLight(LIGHT_POINT);
    LightRange(Light2, 10);
    LightColor(Light2, 255, 111, 111);
    PositionEntity(Light2, 10, 10, 15);
    Light3 = CreateLight(LIGHT_POINT);
    LightRange(Light3, 10);
    LightColor(Light3, 111, 111, 255);
    PositionEntity(Light3, -5, 0, -5);
}

void MoveSettingsDrawer(float dz) {
    MoveEntity(SettingsDrawer, 0, 0, dz);
}

void ReturnSettingsDrawer() {
    PositionEntity(SettingsDrawer, drawer_home[0], drawer_home[1], drawer_home[2]);
}

} // namespace tonvella
