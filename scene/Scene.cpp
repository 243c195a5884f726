// Free-function forms of the scene operations; each forwards to the class operation.
#include "scene/Scene.h"

namespace tonvella {

TPivotHandle CreatePivot(const TEntityHandle& parent) {
    return TPivot::CreatePivot(parent);
}

TEntityHandle CopyEntity(const TEntityHandle& entity, const TEntityHandle& parent) {
    return entity ? entity->CopyEntity(parent) : nullptr;
}

void FreeEntity(const TEntityHandle& entity) {
    if (entity) entity->FreeEntity();
}

void PositionEntity(const TEntityHandle& entity, float x, float y, float z, int global) {
    if (entity) entity->PositionEntity(x, y, z, global);
}

void MoveEntity(const TEntityHandle& entity, float x, float y, float z) {
    if (entity) entity->MoveEntity(x, y, z);
}

void TranslateEntity(const TEntityHandle& entity, float x, float y, float z, int global) {
    if (entity) entity->TranslateEntity(x, y, z, global);
}

void ScaleEntity(const TEntityHandle& entity, float x, float y, float z, int global) {
    if (entity) entity->ScaleEntity(x, y, z, global);
}

void RotateEntity(const TEntityHandle& entity, float pitch, float yaw, float roll, int global) {
    if (entity) entity->RotateEntity(pitch, yaw, roll, global);
}

void TurnEntity(const TEntityHandle& entity, float pitch, float yaw, float roll, int global) {
    if (entity) entity->TurnEntity(pitch, yaw, roll, global);
}

void PointEntity(const TEntityHandle& entity, const TEntityHandle& target, float roll) {
    if (entity && target) entity->PointEntity(*target, roll);
}

float EntityX(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityX(global) : 0.0f;
}

float EntityY(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityY(global) : 0.0f;
}

float EntityZ(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityZ(global) : 0.0f;
}

float EntityPitch(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityPitch(global) : 0.0f;
}

float EntityYaw(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityYaw(global) : 0.0f;
}

float EntityRoll(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityRoll(global) : 0.0f;
}

float EntityScaleX(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityScaleX(global) : 0.0f;
}

float EntityScaleY(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityScaleY(global) : 0.0f;
}

float EntityScaleZ(const TEntityHandle& entity, int global) {
    return entity ? entity->EntityScaleZ(global) : 0.0f;
}

float EntityDistance(const TEntityHandle& entity, const TEntityHandle& other) {
    return entity && other ? entity->EntityDistance(*other) : 0.0f;
}

float EntityDistanceSquared(const TEntityHandle& entity, const TEntityHandle& other) {
    return entity && other ? entity->EntityDistanceSquared(*other) : 0.0f;
}

void ShowEntity(const TEntityHandle& entity) {
    if (entity) entity->ShowEntity();
}

void HideEntity(const TEntityHandle& entity) {
    if (entity) entity->HideEntity();
}

int Hidden(const TEntityHandle& entity) {
    return entity ? entity->Hidden() : 0;
}

void EntityColor(const TEntityHandle& entity, float red, float green, float blue) {
    if (entity) entity->EntityColor(red, green, blue);
}

void EntityAlpha(const TEntityHandle& entity, float alpha) {
    if (entity) entity->EntityAlpha(alpha);
}

void EntityShininess(const TEntityHandle& entity, float shine) {
    if (entity) entity->EntityShininess(shine);
}

void EntityTexture(const TEntityHandle& entity, const TTextureHandle& texture, int frame,
                   int index) {
    if (entity) entity->EntityTexture(texture, frame, index);
}

void EntityBlend(const TEntityHandle& entity, int blend) {
    if (entity) entity->EntityBlend(blend);
}

void EntityFX(const TEntityHandle& entity, int fx) {
    if (entity) entity->EntityFX(fx);
}

void PaintEntity(const TEntityHandle& entity, const TBrushHandle& brush) {
    if (entity && brush) entity->PaintEntity(*brush);
}

TMeshHandle CreateMesh(const TEntityHandle& parent) {
    return TMesh::CreateMesh(parent);
}

TMeshHandle CreateCube(const TEntityHandle& parent) {
    return TMesh::CreateCube(parent);
}

TMeshHandle CreateSphere(int segments, const TEntityHandle& parent) {
    return TMesh::CreateSphere(segments, parent);
}

TMeshHandle CreateCylinder(int segments, int solid, const TEntityHandle& parent) {
    return TMesh::CreateCylinder(segments, solid, parent);
}

TSurfaceHandle CreateSurface(const TMeshHandle& mesh, const TBrushHandle& brush) {
    return mesh ? mesh->CreateSurface(brush.get()) : nullptr;
}

int CountSurfaces(const TMeshHandle& mesh) {
    return mesh ? mesh->CountSurfaces() : 0;
}

TSurfaceHandle GetSurface(const TMeshHandle& mesh, int index) {
    return mesh ? mesh->GetSurface(index) : nullptr;
}

void FlipMesh(const TMeshHandle& mesh) {
    if (mesh) mesh->FlipMesh();
}

void ScaleMesh(const TMeshHandle& mesh, float sx, float sy, float sz) {
    if (mesh) mesh->ScaleMesh(sx, sy, sz);
}

void UpdateNormals(const TMeshHandle& mesh) {
    if (mesh) mesh->UpdateNormals();
}

void PaintMesh(const TMeshHandle& mesh, const TBrushHandle& brush) {
    if (mesh && brush) mesh->PaintMesh(*brush);
}

int AddVertex(const TSurfaceHandle& surface, float x, float y, float z, float u, float v, float w) {
    return surface ? surface->AddVertex(x, y, z, u, v, w) : -1;
}

int AddTriangle(const TSurfaceHandle& surface, int a, int b, int c) {
    return surface ? surface->AddTriangle(a, b, c) : 0;
}

int CountVertices(const TSurfaceHandle& surface) {
    return surface ? surface->CountVertices() : 0;
}

int CountTriangles(const TSurfaceHandle& surface) {
    return surface ? surface->CountTriangles() : 0;
}

void VertexNormal(const TSurfaceHandle& surface, int index, float nx, float ny, float nz) {
    if (surface) surface->VertexNormal(index, nx, ny, nz);
}

void VertexTexCoords(const TSurfaceHandle& surface, int index, float u, float v, float w, int set) {
    if (surface) surface->VertexTexCoords(index, u, v, w, set);
}

void VertexColor(const TSurfaceHandle& surface, int index, float red, float green, float blue,
                 float alpha) {
    if (surface) surface->VertexColor(index, red, green, blue, alpha);
}

void PaintSurface(const TSurfaceHandle& surface, const TBrushHandle& brush) {
    if (surface && brush) surface->PaintSurface(*brush);
}

TTextureHandle LoadTexture(const std::u16string& file, int flags) {
    return TTexture::LoadTexture(file, flags);
}

void UploadTextures() {
    for (const auto& texture : TextureList())
        texture->Upload();
}

void TextureFilter(const std::u16string& text, int flags) {
    TTexture::TextureFilter(text, flags);
}

void ScaleTexture(const TTextureHandle& texture, float u, float v) {
    if (texture) texture->ScaleTexture(u, v);
}

void RotateTexture(const TTextureHandle& texture, float angle) {
    if (texture) texture->RotateTexture(angle);
}

void PositionTexture(const TTextureHandle& texture, float u, float v) {
    if (texture) texture->PositionTexture(u, v);
}

void TextureBlend(const TTextureHandle& texture, int blend) {
    if (texture) texture->TextureBlend(blend);
}

void TextureCoords(const TTextureHandle& texture, int coords) {
    if (texture) texture->TextureCoords(coords);
}

TBrushHandle CreateBrush(float red, float green, float blue) {
    return TBrush::CreateBrush(red, green, blue);
}

TBrushHandle CopyBrush(const TBrushHandle& brush) {
    return brush ? brush->Copy() : nullptr;
}

void BrushColor(const TBrushHandle& brush, float red, float green, float blue) {
    if (brush) brush->BrushColor(red, green, blue);
}

void BrushAlpha(const TBrushHandle& brush, float alpha) {
    if (brush) brush->BrushAlpha(alpha);
}

void BrushShininess(const TBrushHandle& brush, float shine) {
    if (brush) brush->BrushShininess(shine);
}

void BrushBlend(const TBrushHandle& brush, int blend) {
    if (brush) brush->BrushBlend(blend);
}

void BrushFX(const TBrushHandle& brush, int fx) {
    if (brush) brush->BrushFX(fx);
}

void BrushTexture(const TBrushHandle& brush, const TTextureHandle& texture, int frame, int index) {
    if (brush) brush->BrushTexture(texture, frame, index);
}

} // namespace tonvella
