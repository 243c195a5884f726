// The scene engine at a glance: every operation the game uses, as a free function that takes the
// object first and forwards to its class. A none handle makes an operation do nothing (readers
// give 0, creators none).
#pragma once

#include "scene/Brush.h"
#include "scene/DebugLog.h"
#include "scene/Entity.h"
#include "scene/Mesh.h"
#include "scene/Pivot.h"
#include "scene/Surface.h"
#include "scene/Texture.h"

namespace tonvella {

// Entities: creation, copying, freeing
TPivotHandle CreatePivot(const TEntityHandle& parent = nullptr);
TEntityHandle CopyEntity(const TEntityHandle& entity, const TEntityHandle& parent = nullptr);
void FreeEntity(const TEntityHandle& entity);

// Transforms (public left-handed space, degrees; global counts only when exactly 1)
void PositionEntity(const TEntityHandle& entity, float x, float y, float z, int global = 0);
void MoveEntity(const TEntityHandle& entity, float x, float y, float z);
void TranslateEntity(const TEntityHandle& entity, float x, float y, float z, int global = 0);
void ScaleEntity(const TEntityHandle& entity, float x, float y, float z, int global = 0);
void RotateEntity(const TEntityHandle& entity, float pitch, float yaw, float roll, int global = 0);
void TurnEntity(const TEntityHandle& entity, float pitch, float yaw, float roll, int global = 0);
void PointEntity(const TEntityHandle& entity, const TEntityHandle& target, float roll = 0);

// Readers (position and rotation take any non-zero global for world values, scale only exactly 1;
// distances are always between world positions)
float EntityX(const TEntityHandle& entity, int global = 0);
float EntityY(const TEntityHandle& entity, int global = 0);
float EntityZ(const TEntityHandle& entity, int global = 0);
float EntityPitch(const TEntityHandle& entity, int global = 0);
float EntityYaw(const TEntityHandle& entity, int global = 0);
float EntityRoll(const TEntityHandle& entity, int global = 0);
float EntityScaleX(const TEntityHandle& entity, int global = 0);
float EntityScaleY(const TEntityHandle& entity, int global = 0);
float EntityScaleZ(const TEntityHandle& entity, int global = 0);
float EntityDistance(const TEntityHandle& entity, const TEntityHandle& other);
float EntityDistanceSquared(const TEntityHandle& entity, const TEntityHandle& other);

// Visibility (Hidden is 1 when the entity or an ancestor is hidden)
void ShowEntity(const TEntityHandle& entity);
void HideEntity(const TEntityHandle& entity);
int Hidden(const TEntityHandle& entity);

// Entity material (colours 0..255, alpha and shininess 0..1, texture layer 0..7)
void EntityColor(const TEntityHandle& entity, float red, float green, float blue);
void EntityAlpha(const TEntityHandle& entity, float alpha);
void EntityShininess(const TEntityHandle& entity, float shine);
void EntityTexture(const TEntityHandle& entity, const TTextureHandle& texture, int frame = 0,
                   int index = 0);
void EntityBlend(const TEntityHandle& entity, int blend);
void EntityFX(const TEntityHandle& entity, int fx);
void PaintEntity(const TEntityHandle& entity, const TBrushHandle& brush);

// Meshes
TMeshHandle CreateMesh(const TEntityHandle& parent = nullptr);
TMeshHandle CreateCube(const TEntityHandle& parent = nullptr);
TMeshHandle CreateSphere(int segments = 8, const TEntityHandle& parent = nullptr);
TMeshHandle CreateCylinder(int segments = 8, int solid = 1, const TEntityHandle& parent = nullptr);
TSurfaceHandle CreateSurface(const TMeshHandle& mesh, const TBrushHandle& brush = nullptr);
int CountSurfaces(const TMeshHandle& mesh);
TSurfaceHandle GetSurface(const TMeshHandle& mesh, int index);
void FlipMesh(const TMeshHandle& mesh);
void ScaleMesh(const TMeshHandle& mesh, float sx, float sy, float sz);
void UpdateNormals(const TMeshHandle& mesh);
void PaintMesh(const TMeshHandle& mesh, const TBrushHandle& brush);

// Surfaces (public coordinates; indices from 0)
int AddVertex(const TSurfaceHandle& surface, float x, float y, float z, float u = 0, float v = 0,
              float w = 0);
int AddTriangle(const TSurfaceHandle& surface, int a, int b, int c);
int CountVertices(const TSurfaceHandle& surface);
int CountTriangles(const TSurfaceHandle& surface);
void VertexNormal(const TSurfaceHandle& surface, int index, float nx, float ny, float nz);
void VertexTexCoords(const TSurfaceHandle& surface, int index, float u, float v, float w = 0,
                     int set = 0);
void VertexColor(const TSurfaceHandle& surface, int index, float red, float green, float blue,
                 float alpha = 1);
void PaintSurface(const TSurfaceHandle& surface, const TBrushHandle& brush);

// Textures (cached by file name, flags and transform)
TTextureHandle LoadTexture(const std::u16string& file, int flags = TEX_COLOR);
void TextureFilter(const std::u16string& text, int flags);
void ScaleTexture(const TTextureHandle& texture, float u, float v);
void RotateTexture(const TTextureHandle& texture, float angle);
void PositionTexture(const TTextureHandle& texture, float u, float v);
void TextureBlend(const TTextureHandle& texture, int blend);
void TextureCoords(const TTextureHandle& texture, int coords);
// Hands every texture loaded so far to the graphics driver now instead of in the first frame
// that shows it, and lets go of its pixels.
void UploadTextures();

// Brushes (values with shared textures)
TBrushHandle CreateBrush(float red = 255, float green = 255, float blue = 255);
TBrushHandle CopyBrush(const TBrushHandle& brush);
void BrushColor(const TBrushHandle& brush, float red, float green, float blue);
void BrushAlpha(const TBrushHandle& brush, float alpha);
void BrushShininess(const TBrushHandle& brush, float shine);
void BrushBlend(const TBrushHandle& brush, int blend);
void BrushFX(const TBrushHandle& brush, int fx);
void BrushTexture(const TBrushHandle& brush, const TTextureHandle& texture, int frame = 0,
                  int index = 0);

} // namespace tonvella
