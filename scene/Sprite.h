// Sprites: one textured quad from -1 to 1, drawn facing the camera or with its own orientation.
#pragma once

#include "scene/Mesh.h"
#include "scene/Texture.h"

namespace tonvella {

class TCamera;

// Sprite view modes; any value but SPRITE_VIEW_FIXED draws as SPRITE_VIEW_FACECAMERA.
enum : int { SPRITE_VIEW_FACECAMERA = 1, SPRITE_VIEW_FIXED = 2 };

class TSprite : public TMesh {
public:
    float angle = 0; // roll after facing, degrees
    float scale_x = 1, scale_y = 1;
    float handle_x = 0, handle_y = 0;       // quad point placed at the entity position
    int view_mode = SPRITE_VIEW_FACECAMERA; // FIXED keeps the sprite's own orientation

    static std::shared_ptr<TSprite> CreateSprite(const std::shared_ptr<TEntity>& parent = nullptr);
    // Flags without TEX_ALPHA or TEX_MASKED make the sprite additive. A texture that cannot be
    // loaded leaves the quad white.
    static std::shared_ptr<TSprite> LoadSprite(const std::u16string& file,
                                               int tex_flags = TEX_COLOR,
                                               const std::shared_ptr<TEntity>& parent = nullptr);

    void RotateSprite(float angle) { this->angle = angle; }
    void ScaleSprite(float sx, float sy) { scale_x = sx, scale_y = sy; }
    void HandleSprite(float hx, float hy) { handle_x = hx, handle_y = hy; }
    void SpriteViewMode(int mode) { view_mode = mode; }

    // Computes mat_sp, the matrix the renderer draws the sprite with, for this camera.
    void UpdateSprite(const TCamera& camera);

    std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) override;
};

using TSpriteHandle = std::shared_ptr<TSprite>;

} // namespace tonvella
