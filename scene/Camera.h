// Cameras: viewport, clearing, projection from the zoom factor, fog, and the view frustum
// against which entities are tested.
#pragma once

#include "scene/Entity.h"

namespace tonvella {

// Projection modes; any other mode sets up no projection.
enum : int { PROJ_PERSPECTIVE = 1, PROJ_ORTHOGRAPHIC = 2 };
// Fog modes; below FOG_LINEAR the camera draws without fog.
enum : int { FOG_NONE = 0, FOG_LINEAR = 1 };

class TCamera : public TEntity {
public:
    int vx = 0, vy = 0; // viewport origin with OpenGL's bottom-left origin
    int vwidth = 0, vheight = 0;
    float cls_r = 0, cls_g = 0, cls_b = 0;
    int cls_color = 1, cls_zbuffer = 1;
    float range_near = 1, range_far = 1000;
    float zoom = 1;
    int proj_mode = PROJ_PERSPECTIVE;
    int fog_mode = FOG_NONE;
    float fog_r = 0, fog_g = 0, fog_b = 0;
    float fog_range_near = 1, fog_range_far = 1000;
    double mod_mat[16] = {};
    double proj_mat[16] = {};
    int viewport[4] = {};
    float frustum[6][4] = {}; // right, left, bottom, top, far, near

    static std::shared_ptr<TCamera> CreateCamera(const std::shared_ptr<TEntity>& parent = nullptr);

    // x, y from the window's top-left corner.
    void CameraViewport(int x, int y, int width, int height);
    void CameraClsColor(float red, float green, float blue); // 0..255
    void CameraClsMode(int color, int zbuffer);
    void CameraRange(float near_range, float far_range);
    void CameraZoom(float zoom);
    void CameraProjMode(int mode);
    void CameraFogMode(int mode);
    void CameraFogColor(float red, float green, float blue); // 0..255
    void CameraFogRange(float near_range, float far_range);

    // The pass set-up: viewport, clearing, fog, projection, view matrix, frustum.
    void Update() override;
    void ExtractFrustum();
    // The clip planes of a projection and a modelview matrix (column-major, as OpenGL keeps
    // them): what ExtractFrustum reads back from the driver.
    void FrustumFromMatrices(const float projection[16], const float modelview[16]);
    // How far the entity's bounding sphere reaches in front of the near plane; 0 when it lies
    // outside the frustum of the last set-up.
    float EntityInFrustum(TEntity& entity) const;
    // As EntityInFrustum, with a mesh's bounds brought up to date first.
    float EntityInView(TEntity& entity) const;

    std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) override;
    void FreeEntity() override;
};

using TCameraHandle = std::shared_ptr<TCamera>;

// Cameras in rendering order.
TList<TCamera>& CameraList();

} // namespace tonvella
