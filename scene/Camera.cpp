#include "scene/Camera.h"

#include "scene/Graphics3D.h"
#include "scene/Mesh.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace tonvella {

TList<TCamera>& CameraList() {
    static TList<TCamera> cameras;
    return cameras;
}

std::shared_ptr<TCamera> TCamera::CreateCamera(const std::shared_ptr<TEntity>& parent) {
    auto camera = std::make_shared<TCamera>();
    camera->CameraViewport(0, 0, TGlobal::graphics_width, TGlobal::graphics_height);
    camera->Register(u"Camera", parent);
    InsertByOrder(CameraList(), camera);
    return camera;
}

void TCamera::CameraViewport(int x, int y, int width, int height) {
    vx = x;
    vy = TGlobal::graphics_height - height - y;
    vwidth = width;
    vheight = height;
}

void TCamera::CameraClsColor(float red, float green, float blue) {
    cls_r = red / 255.0f, cls_g = green / 255.0f, cls_b = blue / 255.0f;
}

void TCamera::CameraClsMode(int color, int zbuffer) {
    cls_color = color, cls_zbuffer = zbuffer;
}

void TCamera::CameraRange(float near_range, float far_range) {
    range_near = near_range, range_far = far_range;
}

void TCamera::CameraZoom(float z) {
    zoom = z;
}

void TCamera::CameraProjMode(int mode) {
    proj_mode = mode;
}

void TCamera::CameraFogMode(int mode) {
    fog_mode = mode;
}

void TCamera::CameraFogColor(float red, float green, float blue) {
    fog_r = red / 255.0f, fog_g = green / 255.0f, fog_b = blue / 255.0f;
}

void TCamera::CameraFogRange(float near_range, float far_range) {
    fog_range_near = near_range, fog_range_far = far_range;
}

void TCamera::Update() {
    glViewport(vx, vy, vwidth, vheight);
    glScissor(vx, vy, vwidth, vheight);
    glClearColor(cls_r, cls_g, cls_b, 1.0f);
    if (cls_color == 1 && cls_zbuffer == 1) {
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else if (cls_color == 1) {
        glClear(GL_COLOR_BUFFER_BIT);
    } else if (cls_zbuffer == 1) {
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    if (fog_mode < FOG_LINEAR) {
        glDisable(GL_FOG);
    } else {
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, fog_range_near);
        glFogf(GL_FOG_END, fog_range_far);
        const GLfloat colour[4] = {fog_r, fog_g, fog_b, 1.0f};
        glFogfv(GL_FOG_COLOR, colour);
    }

    const double aspect = double(float(vwidth) / float(vheight));
    const double fovy = 2.0 * std::atan(1.0 / (aspect * zoom));
    const double top = range_near * std::tan(fovy / 2.0);
    const double right = top * aspect;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (proj_mode == PROJ_PERSPECTIVE)
        glFrustum(-right, right, -top, top, range_near, range_far);
    else if (proj_mode == PROJ_ORTHOGRAPHIC)
        glOrtho(-right, right, -top, top, range_near, range_far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const TMatrix view = mat.Inverse();
    glLoadMatrixf(&view.grid[0][0]);
    glGetDoublev(GL_MODELVIEW_MATRIX, mod_mat);
    glGetDoublev(GL_PROJECTION_MATRIX, proj_mat);
    glGetIntegerv(GL_VIEWPORT, viewport);
    ExtractFrustum();
}

void TCamera::ExtractFrustum() {
    float p[16], m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    FrustumFromMatrices(p, m);
}

void TCamera::FrustumFromMatrices(const float p[16], const float m[16]) {
    float c[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += p[4 * k + row] * m[4 * col + k];
            c[4 * col + row] = sum;
        }
    auto row = [&](int i, int j) { return c[4 * j + i]; };
    const int sign[6] = {-1, 1, 1, -1, -1, 1};
    const int axis[6] = {0, 0, 1, 1, 2, 2};
    for (int plane = 0; plane < 6; ++plane) {
        float* f = frustum[plane];
        for (int j = 0; j < 4; ++j)
            f[j] = row(3, j) + float(sign[plane]) * row(axis[plane], j);
        const float length = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
        if (length > 0)
            for (int j = 0; j < 4; ++j)
                f[j] /= length;
    }
}

float TCamera::EntityInFrustum(TEntity& entity) const {
    // Stored (OpenGL) world coordinates throughout; the planes are in that space too.
    float x = entity.mat.grid[3][0], y = entity.mat.grid[3][1], z = entity.mat.grid[3][2];
    float r = std::fabs(entity.cull_radius);
    if (auto* mesh = dynamic_cast<TMesh*>(&entity)) {
        const float cx = (mesh->min_x + mesh->max_x) / 2;
        const float cy = (mesh->min_y + mesh->max_y) / 2;
        const float cz = -(mesh->min_z + mesh->max_z) / 2;
        const auto& g = mesh->mat.grid;
        x = g[0][0] * cx + g[1][0] * cy + g[2][0] * cz + g[3][0];
        y = g[0][1] * cx + g[1][1] * cy + g[2][1] * cz + g[3][1];
        z = g[0][2] * cx + g[1][2] * cy + g[2][2] * cz + g[3][2];
        r = std::fabs(std::max(
            {r * entity.EntityScaleX(1), r * entity.EntityScaleY(1), r * entity.EntityScaleZ(1)}));
    }
    float d = 0;
    for (const auto& f : frustum) {
        d = f[0] * x + f[1] * y + f[2] * z + f[3];
        if (d <= -r) return 0;
    }
    return d + r;
}

float TCamera::EntityInView(TEntity& entity) const {
    if (auto* mesh = dynamic_cast<TMesh*>(&entity)) mesh->GetBounds();
    return EntityInFrustum(entity);
}

std::shared_ptr<TEntity> TCamera::CopyEntity(const std::shared_ptr<TEntity>& parent) {
    auto copy = std::make_shared<TCamera>();
    CopyEntityBase(*copy, parent);
    copy->vx = vx, copy->vy = vy, copy->vwidth = vwidth, copy->vheight = vheight;
    copy->cls_r = cls_r, copy->cls_g = cls_g, copy->cls_b = cls_b;
    copy->cls_color = cls_color, copy->cls_zbuffer = cls_zbuffer;
    copy->range_near = range_near, copy->range_far = range_far;
    copy->zoom = zoom;
    copy->proj_mode = proj_mode;
    copy->fog_mode = fog_mode;
    copy->fog_r = fog_r, copy->fog_g = fog_g, copy->fog_b = fog_b;
    copy->fog_range_near = fog_range_near, copy->fog_range_far = fog_range_far;
    InsertByOrder(CameraList(), copy);
    return copy;
}

void TCamera::FreeEntity() {
    const std::shared_ptr<TEntity> keep = shared_from_this();
    TEntity::FreeEntity();
    CameraList().Remove(this);
}

} // namespace tonvella
