// Graphics, cameras, lights, sprites and rendering as free functions that take the object first
// and forward to its class. A none handle makes an operation do nothing (readers give 0).
#pragma once

#include "scene/Camera.h"
#include "scene/Graphics3D.h"
#include "scene/Light.h"
#include "scene/Sprite.h"

namespace tonvella {

// Graphics: flags -1 ask for back, depth and accumulation buffers; 0 on success.
int Graphics3D(int width, int height, int depth = 0, int mode = 0, int rate = 60, int flags = -1);
void AmbientLight(float red, float green, float blue); // 0..255
int RenderWorld();
// Around the 2D drawing of a frame, after RenderWorld and before presenting.
void BeginLumo2D();
void EndLumo2D();

// Cameras (viewport from the window's top-left corner; colours 0..255)
TCameraHandle CreateCamera(const TEntityHandle& parent = nullptr);
void CameraViewport(const TCameraHandle& camera, int x, int y, int width, int height);
void CameraClsColor(const TCameraHandle& camera, float red, float green, float blue);
void CameraClsMode(const TCameraHandle& camera, int color, int zbuffer);
void CameraRange(const TCameraHandle& camera, float near_range, float far_range);
void CameraZoom(const TCameraHandle& camera, float zoom);
void CameraProjMode(const TCameraHandle& camera, int mode);
void CameraFogMode(const TCameraHandle& camera, int mode);
void CameraFogColor(const TCameraHandle& camera, float red, float green, float blue);
void CameraFogRange(const TCameraHandle& camera, float near_range, float far_range);
// > 0 when the entity was in view in the camera's last rendered pass.
float EntityInView(const TCameraHandle& camera, const TEntityHandle& entity);

// Lights: a LIGHT_* type; none while eight exist.
TLightHandle CreateLight(int type = LIGHT_DIRECTIONAL, const TEntityHandle& parent = nullptr);
void LightRange(const TLightHandle& light, float range);
void LightColor(const TLightHandle& light, float red, float green, float blue);
void LightConeAngles(const TLightHandle& light, float inner, float outer);

// Sprites: SPRITE_VIEW_FIXED keeps the sprite's own orientation, any other mode faces the camera.
TSpriteHandle CreateSprite(const TEntityHandle& parent = nullptr);
TSpriteHandle LoadSprite(const std::u16string& file, int tex_flags = TEX_COLOR,
                         const TEntityHandle& parent = nullptr);
void RotateSprite(const TSpriteHandle& sprite, float angle);
void ScaleSprite(const TSpriteHandle& sprite, float sx, float sy);
void HandleSprite(const TSpriteHandle& sprite, float hx, float hy);
void SpriteViewMode(const TSpriteHandle& sprite, int mode);

} // namespace tonvella
