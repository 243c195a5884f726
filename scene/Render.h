// The per-frame traversal: per camera, visible meshes ordered opaque first, then transparent
// ones from far to near, each drawn surface by surface from its brushes.
#pragma once

#include "scene/Camera.h"
#include "scene/Mesh.h"

namespace tonvella {

using TRenderList = TList<TMesh>;

// One camera pass: set-up, lights, culling, ordering, sprites, drawing.
void RenderCamera(TCamera& camera);
// Ordered insertion by `order` and `alpha_order`.
void RenderListAdd(const std::shared_ptr<TMesh>& mesh, TRenderList& list);
void AutoFade(const TCamera& camera, TMesh& mesh);
// Billboard matrices of the sprites in the list.
void UpdateSprites(const TCamera& camera, const TRenderList& list);
// 1 when the mesh needs blending; sets the surfaces' alpha_enable for this mesh.
int MeshAlpha(TMesh& mesh);
// Draws the mesh with the current camera and lights.
void DrawMesh(TMesh& mesh);
// The GL name of a texture of one white texel in the current graphics (made on first use; it
// binds it then). Untextured drawing is modulated by it, which changes no colour: its fragments
// then take the same inputs as textured drawing's, and a software renderer draws both with one
// triangle-setup program instead of compiling another in the first frame.
unsigned WhiteTexture();

} // namespace tonvella
