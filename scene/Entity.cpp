#include "scene/Entity.h"

#include <cmath>

namespace tonvella {

namespace {

float SnapTiny(float v) {
    return (v >= -0.0001f && v <= 0.0001f) ? 0.0f : v;
}

// The scale along one axis; global, its product with every ancestor's.
float ScaleAlong(const TEntity& entity, float TEntity::*axis, int global) {
    float s = entity.*axis;
    if (global == ENTITY_GLOBAL)
        for (const TEntity* p = entity.parent; p; p = p->parent)
            s *= p->*axis;
    return s;
}

} // namespace

TList<TEntity>& EntityList() {
    static TList<TEntity> entities;
    return entities;
}

void TEntity::UpdateMat(int load_identity) {
    if (load_identity == 1) mat.LoadIdentity();
    mat.Translate(px, py, pz);
    mat.Rotate(rx, ry, rz);
    mat.Scale(sx, sy, sz);
}

void TEntity::RefreshSelf() {
    if (parent) {
        mat.Overwrite(parent->mat);
        UpdateMat(0);
    } else {
        UpdateMat(1);
    }
}

void TEntity::UpdateChildren(TEntity& entity) {
    for (const auto& child : entity.child_list) {
        child->mat.Overwrite(entity.mat);
        child->UpdateMat(0);
        UpdateChildren(*child);
    }
}

void TEntity::Refresh() {
    RefreshSelf();
    UpdateChildren(*this);
}

void TEntity::AddParent(const std::shared_ptr<TEntity>& p) {
    parent = p.get();
    if (p) {
        mat.Overwrite(p->mat);
        p->child_list.AddLast(shared_from_this());
    }
}

void TEntity::EntityListAdd(TList<TEntity>& list) {
    link = InsertByOrder(list, shared_from_this());
}

void TEntity::Register(const std::u16string& kind, const std::shared_ptr<TEntity>& p) {
    class_name = kind;
    AddParent(p);
    EntityListAdd(EntityList());
    RefreshSelf();
}

void TEntity::CopyEntityBase(TEntity& copy, const std::shared_ptr<TEntity>& p) {
    const std::vector<std::shared_ptr<TEntity>> children(child_list.begin(), child_list.end());
    const std::shared_ptr<TEntity> copy_handle = copy.shared_from_this();
    for (const auto& child : children)
        child->CopyEntity(copy_handle);

    copy.AddParent(p);
    copy.EntityListAdd(EntityList());

    copy.px = px, copy.py = py, copy.pz = pz;
    copy.sx = sx, copy.sy = sy, copy.sz = sz;
    copy.rx = rx, copy.ry = ry, copy.rz = rz;
    copy.qw = qw, copy.qx = qx, copy.qy = qy, copy.qz = qz;
    copy.name = name;
    copy.class_name = class_name;
    copy.order = order;
    copy.hide = 0;
    copy.cull_radius = cull_radius;
    copy.radius_x = radius_x, copy.radius_y = radius_y;
    copy.box_x = box_x, copy.box_y = box_y, copy.box_z = box_z;
    copy.box_w = box_w, copy.box_h = box_h, copy.box_d = box_d;
    copy.pick_mode = pick_mode;
    copy.obscurer = obscurer;
    copy.Refresh();
}

void TEntity::FreeEntity() {
    // Leaving the lists may drop the last owner while this function still runs.
    const std::shared_ptr<TEntity> keep = shared_from_this();
    EntityList().Remove(this);
    if (parent) parent->child_list.Remove(this);
    parent = nullptr;
    link.reset();
    brush = TBrush{};
    // Each child takes itself out of child_list, so walk a snapshot.
    const std::vector<std::shared_ptr<TEntity>> children(child_list.begin(), child_list.end());
    for (const auto& child : children)
        child->FreeEntity();
    child_list.Clear();
}

void TEntity::PositionEntity(float x, float y, float z, int global) {
    px = x;
    py = y;
    pz = -z;
    if (global == ENTITY_GLOBAL && parent) {
        px -= parent->EntityX(1);
        py -= parent->EntityY(1);
        pz += parent->EntityZ(1);
        const float a = parent->EntityPitch(1);
        const float b = parent->EntityYaw(1);
        const float c = parent->EntityRoll(1);
        TMatrix m;
        m.LoadIdentity();
        m.Scale(1.0f / parent->EntityScaleX(1), 1.0f / parent->EntityScaleY(1),
                1.0f / parent->EntityScaleZ(1));
        m.RotateRoll(-c);
        m.RotatePitch(a);
        m.RotateYaw(-b);
        m.Translate(px, py, pz);
        px = m.grid[3][0];
        py = m.grid[3][1];
        pz = m.grid[3][2];
    }
    Refresh();
}

void TEntity::MoveEntity(float x, float y, float z) {
    TMatrix m;
    m.LoadIdentity();
    m.RotateYaw(ry);
    m.RotatePitch(rx);
    m.RotateRoll(rz);
    m.Translate(x, y, -z);
    px += m.grid[3][0];
    py += m.grid[3][1];
    pz += m.grid[3][2];
    Refresh();
}

void TEntity::TranslateEntity(float x, float y, float z, int global) {
    float dx = x, dy = y, dz = -z;
    if (global == ENTITY_GLOBAL && parent) {
        TMatrix m;
        m.LoadIdentity();
        m.RotateRoll(-parent->EntityRoll(1));
        m.RotatePitch(parent->EntityPitch(1));
        m.RotateYaw(-parent->EntityYaw(1));
        m.Translate(dx, dy, dz);
        dx = m.grid[3][0];
        dy = m.grid[3][1];
        dz = m.grid[3][2];
    }
    px += dx;
    py += dy;
    pz += dz;
    Refresh();
}

void TEntity::ScaleEntity(float x, float y, float z, int global) {
    sx = x;
    sy = y;
    sz = z;
    if (global == ENTITY_GLOBAL) {
        for (const TEntity* p = parent; p; p = p->parent) {
            sx /= p->sx;
            sy /= p->sy;
            sz /= p->sz;
        }
    }
    Refresh();
}

void TEntity::RotateEntity(float pitch, float yaw, float roll, int global) {
    rx = -pitch;
    ry = yaw;
    rz = roll;
    if (global == ENTITY_GLOBAL && parent) {
        rx += parent->EntityPitch(1);
        ry -= parent->EntityYaw(1);
        rz -= parent->EntityRoll(1);
    }
    Refresh();
}

void TEntity::TurnEntity(float pitch, float yaw, float roll, int) {
    rx -= pitch;
    ry += yaw;
    rz += roll;
    Refresh();
}

void TEntity::PointEntity(const TEntity& target, float roll) {
    const double dx = double(EntityX(1)) - target.EntityX(1);
    const double dy = double(EntityY(1)) - target.EntityY(1);
    const double dz = double(EntityZ(1)) - target.EntityZ(1);
    const double pitch = Atan2Deg(dy, std::sqrt(dx * dx + dz * dz));
    const double yaw = Atan2Deg(dx, -dz);
    RotateEntity(float(pitch), float(yaw), roll, 1);
}

void TEntity::EntityColor(float red, float green, float blue) {
    brush.BrushColor(red, green, blue);
}

void TEntity::EntityAlpha(float alpha) {
    brush.alpha = alpha;
}

void TEntity::EntityShininess(float shine) {
    brush.shine = shine;
}

void TEntity::EntityTexture(const std::shared_ptr<TTexture>& texture, int frame, int index) {
    brush.BrushTexture(texture, frame, index);
}

void TEntity::EntityBlend(int blend) {
    brush.blend = blend;
}

void TEntity::EntityFX(int fx) {
    brush.fx = fx;
}

void TEntity::PaintEntity(const TBrush& from) {
    brush.Paint(from);
}

int TEntity::Hidden() const {
    for (const TEntity* e = this; e; e = e->parent)
        if (e->hide == 1) return 1;
    return 0;
}

float TEntity::EntityX(int global) const {
    return global ? mat.grid[3][0] : px;
}

float TEntity::EntityY(int global) const {
    return global ? mat.grid[3][1] : py;
}

float TEntity::EntityZ(int global) const {
    return global ? -mat.grid[3][2] : -pz;
}

float TEntity::EntityPitch(int global) const {
    if (!global) return -rx;
    const double g20 = mat.grid[2][0], g21 = mat.grid[2][1], g22 = mat.grid[2][2];
    return SnapTiny(float(Atan2Deg(g21, std::sqrt(g20 * g20 + g22 * g22))));
}

float TEntity::EntityYaw(int global) const {
    if (!global) return ry;
    return float(Atan2Deg(SnapTiny(mat.grid[2][0]), SnapTiny(mat.grid[2][2])));
}

float TEntity::EntityRoll(int global) const {
    if (!global) return rz;
    return float(Atan2Deg(SnapTiny(mat.grid[0][1]), SnapTiny(mat.grid[1][1])));
}

float TEntity::EntityScaleX(int global) const {
    return ScaleAlong(*this, &TEntity::sx, global);
}

float TEntity::EntityScaleY(int global) const {
    return ScaleAlong(*this, &TEntity::sy, global);
}

float TEntity::EntityScaleZ(int global) const {
    return ScaleAlong(*this, &TEntity::sz, global);
}

float TEntity::EntityDistanceSquared(const TEntity& other) const {
    const double dx = double(mat.grid[3][0]) - other.mat.grid[3][0];
    const double dy = double(mat.grid[3][1]) - other.mat.grid[3][1];
    const double dz = double(mat.grid[3][2]) - other.mat.grid[3][2];
    return float(dx * dx + dy * dy + dz * dz);
}

float TEntity::EntityDistance(const TEntity& other) const {
    return std::sqrt(EntityDistanceSquared(other));
}

} // namespace tonvella
