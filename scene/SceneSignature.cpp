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
    d.Add(t->file_abs);
    d.Add(t->flags);
    d.Add(t->blend);
    d.Add(t->coords);
    d.Add(t->u_scale);
    d.Add(t->v_scale);
    d.Add(t->u_pos);
    d.Add(t->v_pos);
    d.Add(t->angle);
    d.Add(t->width);
    d.Add(t->height);
    d.Add(t->no_frames);
}

void AddBrush(TDigest& d, const TBrush& b) {
    d.Add(b.no_texs);
    d.Add(b.red);
    d.Add(b.green);
    d.Add(b.blue);
    d.Add(b.alpha);
    d.Add(b.shine);
    d.Add(b.blend);
    d.Add(b.fx);
    d.Add(b.tex_frame);
    for (const auto& t : b.tex)
        AddTexture(d, t.get());
}

void AddSurface(TDigest& d, const TSurface& s) {
    d.Add(s.no_verts);
    d.Add(s.no_tris);
    d.Add(s.tris);
    d.Add(s.vert_coords);
    d.Add(s.vert_tex_coords0);
    d.Add(s.vert_tex_coords1);
    d.Add(s.vert_norm);
    d.Add(s.vert_col);
    AddBrush(d, s.brush);
}

void AddCamera(TDigest& d, const TCamera& c) {
    d.Add(&c);
    d.Add(c.Hidden());
    AddMatrix(d, c.mat);
    for (int v :
         {c.vx, c.vy, c.vwidth, c.vheight, c.cls_color, c.cls_zbuffer, c.proj_mode, c.fog_mode})
        d.Add(v);
    for (float v : {c.cls_r, c.cls_g, c.cls_b, c.range_near, c.range_far, c.zoom, c.fog_r, c.fog_g,
                    c.fog_b, c.fog_range_near, c.fog_range_far})
        d.Add(v);
}

void AddLight(TDigest& d, const TLight& l) {
    d.Add(&l);
    d.Add(l.Hidden());
    AddMatrix(d, l.mat);
    d.Add(l.light_type);
    for (float v : {l.range, l.red, l.green, l.blue, l.inner_ang, l.outer_ang})
        d.Add(v);
}

void AddMesh(TDigest& d, const TMesh& m, std::unordered_set<const TSurfaceList*>& seen) {
    d.Add(&m);
    d.Add(m.Hidden());
    AddMatrix(d, m.mat);
    d.Add(m.order);
    d.Add(m.auto_fade);
    d.Add(m.fade_near);
    d.Add(m.fade_far);
    if (m.auto_fade != 1) d.Add(m.fade_alpha); // otherwise the renderer sets it from the distance
    AddBrush(d, m.brush);
    if (const auto* sprite = dynamic_cast<const TSprite*>(&m)) {
        for (float v :
             {sprite->angle, sprite->scale_x, sprite->scale_y, sprite->handle_x, sprite->handle_y})
            d.Add(v);
        d.Add(sprite->view_mode);
    }
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
    for (float v : {TGlobal::ambient_red, TGlobal::ambient_green, TGlobal::ambient_blue})
        d.Add(v);
    d.Add(TGlobal::vbo_enabled);
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
