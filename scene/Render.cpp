#include "scene/Render.h"

#include "media/Graphics.h"
#include "scene/Graphics3D.h"
#include "scene/Light.h"
#include "scene/Sprite.h"
#include "scene/Texture.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace tonvella {

namespace {

constexpr int kVboMinTriangles = 250;

bool NeedsBlending(const TBrush& brush) {
    return brush.alpha < 1 || brush.blend == BLEND_MULTIPLY || brush.blend == BLEND_ADD ||
           (brush.fx & FX_FORCEALPHA) || (brush.tex[0] && (brush.tex[0]->flags & TEX_ALPHA));
}

void BlendFunc(int blend) {
    switch (blend) {
    case BLEND_NONE:
    case BLEND_ALPHA:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BLEND_MULTIPLY:
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    case BLEND_ADD:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    default:
        break;
    }
}

void TextureEnv(int blend) {
    switch (blend) {
    case 0:
    case TEXBLEND_REPLACE:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        break;
    case TEXBLEND_ADD:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        break;
    case TEXBLEND_DOT3:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_EXT);
        break;
    case TEXBLEND_MODULATE2X:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 2);
        break;
    default: // TEXBLEND_MODULATE
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        break;
    }
}

void SelectUnit(int i) {
    if (!THardwareInfo::vbo_supported) return;
    glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + i));
    glClientActiveTextureARB(GLenum(GL_TEXTURE0_ARB + i));
}

void ApplyTextureFlags(int flags) {
    if (flags & TEX_MASKED) glEnable(GL_ALPHA_TEST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    (flags & TEX_MIPMAPPED) ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S,
                    (flags & TEX_CLAMPU) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T,
                    (flags & TEX_CLAMPV) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    if (flags & TEX_SPHEREMAP) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    glDisable(GL_TEXTURE_GEN_R);
}

void TextureMatrix(const TTexture& t) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    if (t.u_pos != 0 || t.v_pos != 0) glTranslatef(t.u_pos, t.v_pos, 0);
    if (t.angle != 0) glRotatef(t.angle, 0, 0, 1);
    if (t.u_scale != 0 || t.v_scale != 0) glScalef(t.u_scale, t.v_scale, 1);
    if (t.flags & TEX_SPHEREMAP) glScalef(1, -1, -1);
}

// The texture's GL name for a frame, made on first use; 0 when there is none.
unsigned TextureName(TTexture& texture, int frame) {
    texture.Upload();
    if (frame < 0 || frame >= int(texture.gltex.size())) frame = 0;
    return texture.gltex[std::size_t(frame)];
}

struct TLayer {
    TTexture* texture = nullptr;
    int frame = 0;
};

void DrawSurface(TMesh& mesh, TSurface& s) {
    const bool use_vbo = s.no_tris >= kVboMinTriangles && TGlobal::vbo_enabled == 1;
    if (!use_vbo && s.vbo_id[0] != 0) s.FreeVBO();
    bool vbo = false;
    if (use_vbo) {
        if (s.vbo_id[0] == 0) s.reset_vbo = VBO_ALL;
        if (s.reset_vbo != 0) s.UpdateVBO();
        vbo = s.vbo_id[0] != 0; // no buffers to be had: the arrays are drawn directly
    }

    const TBrush& e = mesh.brush;
    const TBrush& b = s.brush;
    const float red = e.red * b.red, green = e.green * b.green, blue = e.blue * b.blue;
    const float alpha = e.alpha * b.alpha - mesh.fade_alpha;
    float shine = e.shine * b.shine;
    if (b.shine == 0) shine = e.shine;
    if (e.shine == 0) shine = b.shine;
    const int blend = e.blend != BLEND_NONE ? e.blend : b.blend;
    const int fx = e.fx | b.fx;

    if (s.alpha_enable == 1) {
        glEnable(GL_BLEND);
        glDepthMask(GL_FALSE);
    } else {
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
    BlendFunc(blend);

    GLfloat ambient[4] = {TGlobal::ambient_red, TGlobal::ambient_green, TGlobal::ambient_blue, 1};
    if (fx & FX_FULLBRIGHT) ambient[0] = ambient[1] = ambient[2] = 1;
    if (fx & FX_VERTEXCOLOR)
        glEnable(GL_COLOR_MATERIAL);
    else
        glDisable(GL_COLOR_MATERIAL);
    glShadeModel((fx & FX_FLATSHADED) ? GL_FLAT : GL_SMOOTH);
    if (fx & FX_NOFOG) glDisable(GL_FOG);
    if (fx & FX_NOCULL)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);

    if (vbo) {
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, s.vbo_id[0]);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, s.vbo_id[5]);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, s.vbo_id[3]);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, s.vbo_id[4]);
        glColorPointer(4, GL_FLOAT, 0, nullptr);
    } else {
        if (THardwareInfo::vbo_supported) {
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
            glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        }
        glVertexPointer(3, GL_FLOAT, 0, s.vert_coords.data());
        glColorPointer(4, GL_FLOAT, 0, s.vert_col.data());
        glNormalPointer(GL_FLOAT, 0, s.vert_norm.data());
    }

    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const GLfloat colour[4] = {red, green, blue, alpha};
    const GLfloat specular[4] = {shine, shine, shine, shine};
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 100);

    const int layers = std::max(e.no_texs, b.no_texs);
    for (int i = 0; i < layers; ++i) {
        TLayer layer;
        if (e.tex[std::size_t(i)])
            layer = {e.tex[std::size_t(i)].get(), e.tex_frame};
        else if (b.tex[std::size_t(i)])
            layer = {b.tex[std::size_t(i)].get(), b.tex_frame};
        if (!layer.texture) continue;
        SelectUnit(i);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, TextureName(*layer.texture, layer.frame));
        ApplyTextureFlags(layer.texture->flags);
        TextureEnv(layer.texture->blend);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        const bool set1 = layer.texture->coords != 0;
        if (vbo) {
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, s.vbo_id[set1 ? 2 : 1]);
            glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        } else {
            glTexCoordPointer(2, GL_FLOAT, 0,
                              set1 ? s.vert_tex_coords1.data() : s.vert_tex_coords0.data());
        }
        TextureMatrix(*layer.texture);
    }

    const bool white = layers == 0; // see WhiteTexture
    if (white) {
        SelectUnit(0);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, WhiteTexture());
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        if (vbo) {
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, s.vbo_id[1]);
            glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        } else {
            glTexCoordPointer(2, GL_FLOAT, 0, s.vert_tex_coords0.data());
        }
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
    }

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const bool sprite = dynamic_cast<TSprite*>(&mesh) != nullptr;
    glMultMatrixf(sprite ? &mesh.mat_sp.grid[0][0] : &mesh.mat.grid[0][0]);
    glDrawElements(GL_TRIANGLES, 3 * s.no_tris, GL_UNSIGNED_SHORT, vbo ? nullptr : s.tris.data());
    glPopMatrix();

    const int units = white ? 1 : layers;
    for (int i = 0; i < units; ++i) {
        SelectUnit(i);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

} // namespace

unsigned WhiteTexture() {
    static GLuint name = 0;
    static int made_for = 0; // the graphics it belongs to
    if (name == 0 || made_for != GraphicsSeq()) {
        const GLubyte white[4] = {255, 255, 255, 255};
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        made_for = GraphicsSeq();
    }
    return name;
}

int MeshAlpha(TMesh& mesh) {
    int t = NeedsBlending(mesh.brush) ? 1 : 0;
    for (const auto& s : *mesh.surf_list) {
        if (NeedsBlending(s->brush)) t = 1;
        if (mesh.fade_alpha != 0) t = 1;
        s->alpha_enable = t;
    }
    return t;
}

void DrawMesh(TMesh& mesh) {
    // Copies share their surfaces, so the flags must be this mesh's own.
    MeshAlpha(mesh);
    const bool fog = glIsEnabled(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    if (mesh.order != 0) {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    }
    std::vector<TSurface*> surfaces;
    for (const auto& s : *mesh.surf_list)
        surfaces.push_back(s.get());
    std::stable_sort(surfaces.begin(), surfaces.end(), [](const TSurface* a, const TSurface* b) {
        return a->alpha_enable < b->alpha_enable;
    });
    for (TSurface* s : surfaces) {
        DrawSurface(mesh, *s);
        if (fog) glEnable(GL_FOG);
    }
}

void RenderListAdd(const std::shared_ptr<TMesh>& mesh, TRenderList& list) {
    auto& items = list.Items();
    const int order = mesh->order;
    if (order > 0) {
        auto it = items.begin();
        while (it != items.end() && (*it)->order > order)
            ++it;
        items.insert(it, mesh);
    } else if (order < 0) {
        auto it = items.end();
        while (it != items.begin() && (*std::prev(it))->order < order)
            --it;
        items.insert(it, mesh);
    } else if (mesh->alpha_order > 0) {
        auto it = items.end();
        while (it != items.begin()) {
            const TMesh& prev = **std::prev(it);
            if (prev.order >= 0 && (prev.alpha_order >= mesh->alpha_order || prev.alpha_order == 0))
                break;
            --it;
        }
        items.insert(it, mesh);
    } else {
        auto it = items.begin();
        while (it != items.end() && (*it)->order > 0)
            ++it;
        items.insert(it, mesh);
    }
}

void AutoFade(const TCamera& camera, TMesh& mesh) {
    const float t = camera.EntityDistance(mesh);
    if (t > mesh.fade_near && t < mesh.fade_far)
        mesh.fade_alpha = (t - mesh.fade_near) / (mesh.fade_far - mesh.fade_near);
    else if (t >= mesh.fade_far || t == mesh.fade_near)
        mesh.fade_alpha = 1;
    else
        mesh.fade_alpha = 0;
}

void UpdateSprites(const TCamera& camera, const TRenderList& list) {
    for (const auto& mesh : list)
        if (auto* sprite = dynamic_cast<TSprite*>(mesh.get())) sprite->UpdateSprite(camera);
}

void RenderCamera(TCamera& camera) {
    camera.Update();
    for (const auto& light : LightList())
        light->Update();
    TRenderList list;
    for (const auto& entity : EntityList()) {
        auto mesh = std::dynamic_pointer_cast<TMesh>(entity);
        if (!mesh) continue;
        if (mesh->Hidden() == 1 || mesh->brush.alpha == 0) continue;
        mesh->GetBounds();
        if (mesh->brush.fx == 0 && int(camera.EntityInFrustum(*mesh)) == 0) continue;
        if (mesh->auto_fade == 1) AutoFade(camera, *mesh);
        mesh->alpha_order = MeshAlpha(*mesh) ? camera.EntityDistanceSquared(*mesh) : 0;
        RenderListAdd(mesh, list);
    }
    UpdateSprites(camera, list);
    for (const auto& mesh : list)
        DrawMesh(*mesh);
}

int TGlobal::RenderWorld() {
    // Cameras may be freed by nobody during a frame, but walk a snapshot all the same.
    const std::vector<std::shared_ptr<TCamera>> cameras(CameraList().begin(), CameraList().end());
    for (const auto& camera : cameras)
        if (camera->Hidden() != 1) RenderCamera(*camera);
    return 0;
}

} // namespace tonvella
