#include "scene/SceneSignature.h"

#include "media/Digest.h"
#include "scene/Camera.h"
#include "scene/Graphics3D.h"
#include "scene/Light.h"
#include "scene/Sprite.h"
#include "scene/Texture.h"

#include <unordered_set>

namespace tonvella {

namespace {

void AddMatrix(TDigest& d, const TMatrix& m) {
    d.AddBytes(&m.grid[0][0], sizeof m.grid);
}

void AddTexture(TDigest& d, const TTexture* t) {
    // A texture's pixels never change after loading (and go once uploaded): its identity
    // stands for them.
    d.Add(t);
    if (!t) return;
    d.AddAll(t->file_abs, t->flags, t->blend, t->coords, t->u_scale, t->v_scale, t->u_pos, t->v_pos,
             t->angle, t->width, t->height, t->no_frames);
}

void AddBrush(TDigest& d, const TBrush& b) {
    d.AddAll(b.no_texs, b.red, b.green, b.blue, b.alpha, b.shine, b.blend, b.fx, b.tex_frame);
    for (const auto& t : b.tex)
        AddTexture(d, t.get());
}

void AddSurface(TDigest& d, const TSurface& s) {
    // The version stands for the arrays, as a texture's identity stands for its pixels.
    d.AddAll(s.no_verts, s.no_tris, s.version);
    AddBrush(d, s.brush);
}

void AddCamera(TDigest& d, const TCamera& c) {
    d.AddAll(&c, c.Hidden());
    AddMatrix(d, c.mat);
    d.AddAll(c.vx, c.vy, c.vwidth, c.vheight, c.cls_color, c.cls_zbuffer, c.proj_mode, c.fog_mode,
             c.cls_r, c.cls_g, c.cls_b, c.range_near, c.range_far, c.zoom, c.fog_r, c.fog_g,
             c.fog_b, c.fog_range_near, c.fog_range_far);
}

void AddLight(TDigest& d, const TLight& l) {
    d.AddAll(&l, l.Hidden());
    AddMatrix(d, l.mat);
    d.AddAll(l.light_type, l.range, l.red, l.green, l.blue, l.inner_ang, l.outer_ang);
}

void AddMesh(TDigest& d, const TMesh& m, std::unordered_set<const TSurfaceList*>& seen) {
    const int hidden = m.Hidden();
    d.AddAll(&m, hidden, m.brush.alpha);
    // The renderer skips these (half of the game's meshes are notes waiting hidden), so nothing
    // else of theirs shows; their fields count again once they show.
    if (hidden == 1 || m.brush.alpha == 0) return;
    AddMatrix(d, m.mat);
    d.AddAll(m.order, m.auto_fade, m.fade_near, m.fade_far);
    if (m.auto_fade != 1) d.Add(m.fade_alpha); // otherwise the renderer sets it from the distance
    AddBrush(d, m.brush);
    if (const auto* sprite = dynamic_cast<const TSprite*>(&m))
        d.AddAll(sprite->angle, sprite->scale_x, sprite->scale_y, sprite->handle_x,
                 sprite->handle_y, sprite->view_mode);
    // Copies share one surface list (every card, every note): its contents count once.
    const TSurfaceList* surfaces = m.surf_list.get();
    d.Add(surfaces);
    if (!seen.insert(surfaces).second) return;
    for (const auto& s : *surfaces) {
        d.Add(s.get());
        AddSurface(d, *s);
    }
}

} // namespace

std::uint64_t SceneSignature() {
    TDigest d;
    d.AddAll(TGlobal::ambient_red, TGlobal::ambient_green, TGlobal::ambient_blue,
             TGlobal::vbo_enabled);
    for (const auto& camera : CameraList())
        AddCamera(d, *camera);
    for (const auto& light : LightList())
        AddLight(d, *light);
    std::unordered_set<const TSurfaceList*> seen;
    for (const auto& entity : EntityList())
        if (const auto* mesh = dynamic_cast<const TMesh*>(entity.get())) AddMesh(d, *mesh, seen);
    return d.Value();
}

} // namespace tonvella
