// Scene nodes: a parent/child tree of entities with local transforms and cached world matrices.
//
// Public space is left-handed (x right, y up, z forward; degrees; positive pitch looks down,
// positive yaw turns left, positive roll leans the up axis left). Stored values are OpenGL's
// right-handed space: pz is the negated public z and rx the negated pitch, so `mat` goes to OpenGL
// unchanged.
#pragma once

#include "scene/Brush.h"
#include "scene/List.h"
#include "scene/Matrix.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tonvella {

class TTexture;

// The global flag of the transforms and readers: in the parent's space, or in world space.
enum : int { ENTITY_LOCAL = 0, ENTITY_GLOBAL = 1 };

class TEntity : public std::enable_shared_from_this<TEntity> {
public:
    TList<TEntity> child_list; // in attachment order; owns the children
    TEntity* parent = nullptr; // never outlives it: freeing a parent frees its children
    TMatrix mat;               // world matrix in stored space

    float px = 0, py = 0, pz = 0;
    float sx = 1, sy = 1, sz = 1;
    float rx = 0, ry = 0, rz = 0;
    float qw = 0, qx = 0, qy = 0, qz = 0; // animation rotation, carried along by copies
    std::u16string name;
    std::u16string class_name; // "Pivot", "Camera", "Light", "Mesh", "Sprite"
    int hide = 0;
    int order = 0; // list and drawing order; positive keys first
    float alpha_order = 0;
    int auto_fade = 0;
    float fade_near = 0, fade_far = 0;
    float fade_alpha = 0;
    TBrush brush; // owned; its textures are shared
    float cull_radius = 0;
    // Collision, picking and animation state of features this program never switches on.
    float radius_x = 1, radius_y = 1;
    float box_x = -1, box_y = -1, box_z = -1;
    float box_w = 2, box_h = 2, box_d = 2;
    int collision_type = 0;
    int no_collisions = 0;
    int pick_mode = 0;
    int obscurer = 0;
    int anim = 0, anim_render = 0, anim_mode = 0;
    float anim_time = 0, anim_speed = 0;
    int anim_seq = 0, anim_trans = 0;
    int anim_dir = 1;
    std::vector<int> anim_seqs_first{0}, anim_seqs_last{0};
    int no_seqs = 0, anim_update = 0;
    float old_x = 0, old_y = 0, old_z = 0;
    std::optional<TList<TEntity>::TLink> link; // node of the last EntityListAdd

    TEntity() = default;
    TEntity(const TEntity&) = delete;
    TEntity& operator=(const TEntity&) = delete;
    virtual ~TEntity() = default;

    // Deep copy of the entity and its subtree under `parent` (none: a root). The copy is visible.
    virtual std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) = 0;
    // Per-frame work of the kind (projection, lights, drawing); nothing for a bare entity.
    virtual void Update() {}
    // Removes the entity and its subtree from the scene; the handle must not be used afterwards.
    virtual void FreeEntity();

    // Transforms. `global` counts only when it is exactly 1.
    void PositionEntity(float x, float y, float z, int global = 0);
    void MoveEntity(float x, float y, float z);
    void TranslateEntity(float x, float y, float z, int global = 0);
    void ScaleEntity(float x, float y, float z, int global = 0);
    void RotateEntity(float pitch, float yaw, float roll, int global = 0);
    void TurnEntity(float pitch, float yaw, float roll, int global = 0);
    void PointEntity(const TEntity& target, float roll = 0);

    // Material of the entity's own brush.
    void EntityColor(float red, float green, float blue); // 0..255
    void EntityAlpha(float alpha);
    void EntityShininess(float shine);
    void EntityTexture(const std::shared_ptr<TTexture>& texture, int frame = 0, int index = 0);
    void EntityBlend(int blend);
    void EntityFX(int fx);
    void PaintEntity(const TBrush& brush);

    void ShowEntity() { hide = 0; }
    void HideEntity() { hide = 1; }
    int Hidden() const; // 1 when this entity or an ancestor is hidden

    // Readers. The position and rotation readers take any non-zero `global` for world values;
    // the scale readers, like the transforms, only exactly 1.
    float EntityX(int global = 0) const;
    float EntityY(int global = 0) const;
    float EntityZ(int global = 0) const;
    float EntityPitch(int global = 0) const;
    float EntityYaw(int global = 0) const;
    float EntityRoll(int global = 0) const;
    float EntityScaleX(int global = 0) const; // global: product with every ancestor's scale
    float EntityScaleY(int global = 0) const;
    float EntityScaleZ(int global = 0) const;
    float EntityDistance(const TEntity& other) const;
    float EntityDistanceSquared(const TEntity& other) const;

    // Plumbing of creation, copying and the renderer.
    void UpdateMat(int load_identity); // mat (identity or the parent's) * T * R * S
    void AddParent(const std::shared_ptr<TEntity>& parent);
    static void UpdateChildren(TEntity& entity);
    void EntityListAdd(TList<TEntity>& list);
    // Recomputes this entity's world matrix, then its subtree's.
    void Refresh();

protected:
    // Creation steps shared by every kind: class name, attachment, entity list, world matrix.
    void Register(const std::u16string& class_name, const std::shared_ptr<TEntity>& parent);
    // The kind-independent part of CopyEntity: copies the children of this entity under `copy`,
    // attaches `copy` to `parent`, takes the transform and settings, derives the matrices.
    void CopyEntityBase(TEntity& copy, const std::shared_ptr<TEntity>& parent);
    void RefreshSelf();
};

using TEntityHandle = std::shared_ptr<TEntity>;

// Every live entity in list order.
TList<TEntity>& EntityList();

} // namespace tonvella
