#include "scene/Scene3D.h"

#include "media/Graphics.h"

namespace tonvella {

int Graphics3D(int width, int height, int depth, int mode, int rate, int flags) {
    return TGlobal::Graphics3D(width, height, depth, mode, rate, flags);
}

void AmbientLight(float red, float green, float blue) {
    TGlobal::AmbientLight(red, green, blue);
}

// Without open graphics there is no GL context to draw into: frames are skipped, so that the
// game's logic also runs where no window is (tests, a failed start).
int RenderWorld() {
    return CurrentGraphics() ? TGlobal::RenderWorld() : 0;
}

void BeginLumo2D() {
    if (CurrentGraphics()) TOverlay2D::BeginLumo2D();
}

void EndLumo2D() {
    if (CurrentGraphics()) TOverlay2D::EndLumo2D();
}

TCameraHandle CreateCamera(const TEntityHandle& parent) {
    return TCamera::CreateCamera(parent);
}

void CameraViewport(const TCameraHandle& camera, int x, int y, int width, int height) {
    if (camera) camera->CameraViewport(x, y, width, height);
}

void CameraClsColor(const TCameraHandle& camera, float red, float green, float blue) {
    if (camera) camera->CameraClsColor(red, green, blue);
}

void CameraClsMode(const TCameraHandle& camera, int color, int zbuffer) {
    if (camera) camera->CameraClsMode(color, zbuffer);
}

void CameraRange(const TCameraHandle& camera, float near_range, float far_range) {
    if (camera) camera->CameraRange(near_range, far_range);
}

void CameraZoom(const TCameraHandle& camera, float zoom) {
    if (camera) camera->CameraZoom(zoom);
}

void CameraProjMode(const TCameraHandle& camera, int mode) {
    if (camera) camera->CameraProjMode(mode);
}

void CameraFogMode(const TCameraHandle& camera, int mode) {
    if (camera) camera->CameraFogMode(mode);
}

void CameraFogColor(const TCameraHandle& camera, float red, float green, float blue) {
    if (camera) camera->CameraFogColor(red, green, blue);
}

void CameraFogRange(const TCameraHandle& camera, float near_range, float far_range) {
    if (camera) camera->CameraFogRange(near_range, far_range);
}

float EntityInView(const TCameraHandle& camera, const TEntityHandle& entity) {
    return camera && entity ? camera->EntityInView(*entity) : 0.0f;
}

TLightHandle CreateLight(int type, const TEntityHandle& parent) {
    return TLight::CreateLight(type, parent);
}

void LightRange(const TLightHandle& light, float range) {
    if (light) light->LightRange(range);
}

void LightColor(const TLightHandle& light, float red, float green, float blue) {
    if (light) light->LightColor(red, green, blue);
}

void LightConeAngles(const TLightHandle& light, float inner, float outer) {
    if (light) light->LightConeAngles(inner, outer);
}

TSpriteHandle CreateSprite(const TEntityHandle& parent) {
    return TSprite::CreateSprite(parent);
}

TSpriteHandle LoadSprite(const std::u16string& file, int tex_flags, const TEntityHandle& parent) {
    return TSprite::LoadSprite(file, tex_flags, parent);
}

void RotateSprite(const TSpriteHandle& sprite, float angle) {
    if (sprite) sprite->RotateSprite(angle);
}

void ScaleSprite(const TSpriteHandle& sprite, float sx, float sy) {
    if (sprite) sprite->ScaleSprite(sx, sy);
}

void HandleSprite(const TSpriteHandle& sprite, float hx, float hy) {
    if (sprite) sprite->HandleSprite(hx, hy);
}

void SpriteViewMode(const TSpriteHandle& sprite, int mode) {
    if (sprite) sprite->SpriteViewMode(mode);
}

} // namespace tonvella
