#include "scene/Sprite.h"

#include "scene/Camera.h"
#include "scene/Texture.h"

namespace tonvella {

std::shared_ptr<TSprite> TSprite::CreateSprite(const std::shared_ptr<TEntity>& parent) {
    auto sprite = std::make_shared<TSprite>();
    sprite->Register(u"Sprite", parent);
    const std::shared_ptr<TSurface> quad = sprite->CreateSurface();
    quad->AddVertex(-1, -1, 0, 0, 1);
    quad->AddVertex(-1, 1, 0, 0, 0);
    quad->AddVertex(1, 1, 0, 1, 0);
    quad->AddVertex(1, -1, 0, 1, 1);
    quad->AddTriangle(0, 1, 2);
    quad->AddTriangle(0, 2, 3);
    sprite->EntityFX(FX_FULLBRIGHT);
    return sprite;
}

std::shared_ptr<TSprite> TSprite::LoadSprite(const std::u16string& file, int tex_flags,
                                             const std::shared_ptr<TEntity>& parent) {
    std::shared_ptr<TSprite> sprite = CreateSprite(parent);
    sprite->EntityTexture(TTexture::LoadTexture(file, tex_flags), 0, 0);
    if (!(tex_flags & TEX_ALPHA) && !(tex_flags & TEX_MASKED)) sprite->EntityBlend(BLEND_ADD);
    return sprite;
}

void TSprite::UpdateSprite(const TCamera& camera) {
    if (view_mode == SPRITE_VIEW_FIXED) {
        mat_sp.Overwrite(mat);
        if (scale_x != 1 || scale_y != 1) mat_sp.Scale(scale_x, scale_y, 1);
        return;
    }
    const float x = mat.grid[3][0], y = mat.grid[3][1], z = mat.grid[3][2];
    mat.Overwrite(camera.mat);
    mat.grid[3][0] = x, mat.grid[3][1] = y, mat.grid[3][2] = z;
    mat_sp.Overwrite(mat);
    if (angle != 0) mat_sp.RotateRoll(angle);
    if (scale_x != 1 || scale_y != 1) mat_sp.Scale(scale_x, scale_y, 1);
    if (handle_x != 0 || handle_y != 0) mat_sp.Translate(-handle_x, -handle_y, 0);
}

std::shared_ptr<TEntity> TSprite::CopyEntity(const std::shared_ptr<TEntity>& parent) {
    auto copy = std::make_shared<TSprite>();
    CopyMeshBase(*copy, parent, false);
    copy->reset_bounds = 1;
    copy->mat_sp.Overwrite(mat_sp);
    copy->angle = angle;
    copy->scale_x = scale_x, copy->scale_y = scale_y;
    copy->handle_x = handle_x, copy->handle_y = handle_y;
    copy->view_mode = view_mode;
    return copy;
}

} // namespace tonvella
