// Drawable geometry: an entity with one or more surfaces. Copies share the surface list.
#pragma once

#include "scene/Entity.h"
#include "scene/Surface.h"

namespace tonvella {

using TSurfaceList = TList<TSurface>;

class TMesh : public TEntity {
public:
    float min_x = 0, min_y = 0, min_z = 0; // bounding box in public mesh coordinates
    float max_x = 0, max_y = 0, max_z = 0;
    int no_surfs = 0;
    std::shared_ptr<TSurfaceList> surf_list = std::make_shared<TSurfaceList>();
    TMatrix mat_sp; // drawing matrix of a sprite
    int reset_bounds = 1;

    static std::shared_ptr<TMesh> CreateMesh(const std::shared_ptr<TEntity>& parent = nullptr);
    // 2x2x2 cube centred on the origin.
    static std::shared_ptr<TMesh> CreateCube(const std::shared_ptr<TEntity>& parent = nullptr);
    // Unit sphere; none unless 2 <= segments <= 100.
    static std::shared_ptr<TMesh> CreateSphere(int segments = 8,
                                               const std::shared_ptr<TEntity>& parent = nullptr);
    // Radius 1, y from -1 to 1, caps when solid is 1; none unless 3 <= segments <= 100.
    static std::shared_ptr<TMesh> CreateCylinder(int segments = 8, int solid = 1,
                                                 const std::shared_ptr<TEntity>& parent = nullptr);

    // The surface takes a copy of the brush, or a default one.
    std::shared_ptr<TSurface> CreateSurface(const TBrush* brush = nullptr);
    int CountSurfaces() const { return no_surfs; }
    std::shared_ptr<TSurface> GetSurface(int index) const; // 1-based; none outside 1..no_surfs

    void FlipMesh();
    void ScaleMesh(float sx, float sy, float sz);
    void UpdateNormals();
    void PaintMesh(const TBrush& brush);
    // Recomputes the bounding box and cull radius when reset_bounds asks for it.
    void GetBounds();

    std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) override;
    void FreeEntity() override;

protected:
    // The mesh part of copying, shared with sprites: the entity copy, the entity brush and fade
    // settings, and the very same surface list.
    void CopyMeshBase(TMesh& copy, const std::shared_ptr<TEntity>& parent, bool with_bounds);
};

using TMeshHandle = std::shared_ptr<TMesh>;

} // namespace tonvella
