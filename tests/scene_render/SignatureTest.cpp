// The scene signature decides whether a frame would repeat the picture on screen: drawing must
// not change it, every change that alters the picture must, and undoing a change must give the
// old one back.
#include "scene/SceneSignature.h"
#include "tests/scene_render/GameScene.h"
#include "tests/scene_render/RenderFixture.h"

#include <functional>

namespace tonvella {
namespace {

class TSignatureTest : public TRenderTest {};

TEST_F(TSignatureTest, DrawingLeavesItAsItWas) {
    TGameScene scene = BuildGameScene(kAssetsDir);
    // The first frame uploads textures, computes bounds, fades and sprite matrices.
    const auto before = SceneSignature();
    Frame();
    EXPECT_EQ(SceneSignature(), before);
    Frame();
    EXPECT_EQ(SceneSignature(), before);
    StepGameScene(scene, 1);
    EXPECT_NE(SceneSignature(), before);
}

TEST_F(TSignatureTest, EveryChangeOfThePictureChangesIt) {
    TPivotHandle parent = CreatePivot();
    TMeshHandle cube = CreateCube(parent);
    PositionEntity(cube, 0, 0, 5);
    TMeshHandle copy = std::static_pointer_cast<TMesh>(CopyEntity(cube));
    TSpriteHandle sprite = CreateSprite();
    PositionEntity(sprite, 1, 0, 4);
    TLightHandle light = CreateLight(2);
    TTextureHandle texture =
        LoadTexture(WriteTexture("t.png", {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}}));
    ASSERT_NE(texture, nullptr);
    TBrushHandle brush = CreateBrush(10, 200, 30);
    TSurfaceHandle surface = GetSurface(cube, 1);
    Frame();

    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"parent moved", [&] { MoveEntity(parent, 0.5f, 0, 0); }},
        {"parent hidden", [&] { HideEntity(parent); }},
        {"parent shown", [&] { ShowEntity(parent); }},
        {"shown again after changes while hidden",
         [&] {
             HideEntity(cube);
             TurnEntity(cube, 0, 10, 0);
             EntityColor(cube, 0, 0, 255);
             ShowEntity(cube);
         }},
        {"turned", [&] { TurnEntity(cube, 0, 10, 0); }},
        {"scaled", [&] { ScaleEntity(cube, 1, 2, 1); }},
        {"colour", [&] { EntityColor(cube, 255, 0, 0); }},
        {"alpha", [&] { EntityAlpha(cube, 0.5f); }},
        {"shininess", [&] { EntityShininess(cube, 0.3f); }},
        {"blend", [&] { EntityBlend(cube, 3); }},
        {"effects", [&] { EntityFX(cube, 16); }},
        {"texture", [&] { EntityTexture(cube, texture); }},
        {"texture scaled", [&] { ScaleTexture(texture, 0.5f, 0.5f); }},
        {"texture moved", [&] { PositionTexture(texture, 0.25f, 0); }},
        {"texture turned", [&] { RotateTexture(texture, 30); }},
        {"texture blend", [&] { TextureBlend(texture, 3); }},
        {"painted", [&] { PaintEntity(cube, brush); }},
        {"surface painted (the copy shows it too)", [&] { PaintSurface(surface, brush); }},
        {"vertex colour", [&] { VertexColor(surface, 0, 1, 2, 3); }},
        {"vertex added", [&] { AddVertex(surface, 0, 0, 0); }},
        {"vertex normal", [&] { VertexNormal(surface, 1, 0, 1, 0); }},
        {"vertex texture coordinates", [&] { VertexTexCoords(surface, 1, 0.5f, 0.5f); }},
        {"triangle added", [&] { AddTriangle(surface, 0, 1, 2); }},
        {"mesh scaled", [&] { ScaleMesh(cube, 1, 1.5f, 1); }},
        {"mesh flipped", [&] { FlipMesh(cube); }},
        {"normals made", [&] { UpdateNormals(cube); }},
        {"copy moved", [&] { PositionEntity(copy, 3, 0, 5); }},
        {"sprite scaled", [&] { ScaleSprite(sprite, 2, 1); }},
        {"sprite turned", [&] { RotateSprite(sprite, 45); }},
        {"sprite handle", [&] { HandleSprite(sprite, 0.5f, 0); }},
        {"sprite view mode", [&] { SpriteViewMode(sprite, 2); }},
        {"camera zoom", [&] { CameraZoom(camera, 2); }},
        {"camera clear colour", [&] { CameraClsColor(camera, 1, 2, 3); }},
        {"camera viewport", [&] { CameraViewport(camera, 0, 0, 100, 100); }},
        {"camera fog", [&] { CameraFogMode(camera, 1); }},
        {"camera moved", [&] { MoveEntity(camera, 0, 0.1f, 0); }},
        {"light colour", [&] { LightColor(light, 10, 20, 30); }},
        {"light range", [&] { LightRange(light, 3); }},
        {"light hidden", [&] { HideEntity(light); }},
        {"ambient light", [&] { AmbientLight(1, 2, 3); }},
        {"mesh created", [&] { CreateCube(); }},
        {"copy freed", [&] { FreeEntity(copy); }},
        // Made where the one freed was, perhaps at the same address, with other vertices.
        {"mesh replaced",
         [&] {
             FreeEntity(cube);
             cube = CreateCube(parent);
             ScaleMesh(cube, 1, 3, 1);
         }},
    };
    for (const auto& c : cases) {
        const auto before = SceneSignature();
        c.change();
        EXPECT_NE(SceneSignature(), before) << c.what;
        Frame();
    }
}

TEST_F(TSignatureTest, UndoingAChangeGivesTheOldOneBack) {
    TMeshHandle cube = CreateCube();
    PositionEntity(cube, 0, 0, 5);
    EntityColor(cube, 200, 100, 0);
    Frame();
    const auto rest = SceneSignature();
    PositionEntity(cube, 1, 0, 5);
    EntityColor(cube, 0, 100, 0);
    Frame();
    PositionEntity(cube, 0, 0, 5);
    EntityColor(cube, 200, 100, 0);
    EXPECT_EQ(SceneSignature(), rest);
}

} // namespace
} // namespace tonvella
