#include "scene/Light.h"

#include <GL/glew.h>

namespace tonvella {

namespace {

int no_lights = 0;
int light_slot_counter = 0;
constexpr GLenum kLightIds[TLight::kMaxLights] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                                  GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

// The slot settings of a light type that no setter changes.
void SetTypeSettings(GLenum slot, int type) {
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(slot, GL_SPECULAR, white);
    if (type > LIGHT_DIRECTIONAL) glLightf(slot, GL_CONSTANT_ATTENUATION, 0);
    if (type == LIGHT_SPOT) glLightf(slot, GL_SPOT_EXPONENT, 10);
}

bool TakeSlot(int type) {
    if (no_lights >= TLight::kMaxLights) return false;
    ++no_lights;
    const GLenum slot = kLightIds[no_lights - 1];
    glEnable(slot);
    SetTypeSettings(slot, type);
    return true;
}

} // namespace

TList<TLight>& LightList() {
    static TList<TLight> lights;
    return lights;
}

int LightCount() {
    return no_lights;
}

std::shared_ptr<TLight> TLight::CreateLight(int type, const std::shared_ptr<TEntity>& parent) {
    auto light = std::make_shared<TLight>();
    light->light_type = type;
    light->class_name = u"Light";
    if (!TakeSlot(type)) return nullptr;
    LightList().AddLast(light);
    light->Register(u"Light", parent);
    return light;
}

void TLight::LightRange(float r) {
    range = 1.0f / r;
}

void TLight::LightColor(float r, float g, float b) {
    red = r / 255.0f, green = g / 255.0f, blue = b / 255.0f;
}

void TLight::LightConeAngles(float inner, float outer) {
    inner_ang = inner / 2, outer_ang = outer / 2;
}

void TLight::Update() {
    if (no_lights == 0) return;
    if (++light_slot_counter > no_lights) light_slot_counter = 1;
    const GLenum slot = kLightIds[light_slot_counter - 1];
    if (Hidden()) {
        glDisable(slot);
        return;
    }
    glEnable(slot);
    // Nothing set on a slot outlasts the frame: the 2D pass gives back the lighting state saved
    // before the 3D set-up, and the slot may have served another light. So every pass sets all
    // the slot settings this light relies on, those of its type included.
    SetTypeSettings(slot, light_type);
    glPushMatrix();
    glMultMatrixf(&mat.grid[0][0]);
    const GLfloat directional[4] = {0, 0, 1, 0}, point[4] = {0, 0, 0, 1};
    glLightfv(slot, GL_POSITION, light_type <= LIGHT_DIRECTIONAL ? directional : point);
    const GLfloat diffuse[4] = {red, green, blue, 1};
    glLightfv(slot, GL_DIFFUSE, diffuse);
    if (light_type > LIGHT_DIRECTIONAL) glLightf(slot, GL_LINEAR_ATTENUATION, range);
    if (light_type == LIGHT_SPOT) {
        const GLfloat forward[3] = {0, 0, -1};
        glLightfv(slot, GL_SPOT_DIRECTION, forward);
        glLightf(slot, GL_SPOT_CUTOFF, outer_ang);
    } else {
        glLightf(slot, GL_SPOT_CUTOFF, 180); // no cone left behind by a spot light
    }
    glPopMatrix();
}

std::shared_ptr<TEntity> TLight::CopyEntity(const std::shared_ptr<TEntity>& parent) {
    if (!TakeSlot(light_type)) return nullptr;
    auto copy = std::make_shared<TLight>();
    copy->light_type = light_type;
    copy->range = range;
    copy->red = red, copy->green = green, copy->blue = blue;
    copy->inner_ang = inner_ang, copy->outer_ang = outer_ang;
    LightList().AddLast(copy);
    CopyEntityBase(*copy, parent);
    return copy;
}

void TLight::FreeEntity() {
    const std::shared_ptr<TEntity> keep = shared_from_this();
    TEntity::FreeEntity();
    if (!LightList().Remove(this)) return; // freed before, or never registered
    if (no_lights > 0) --no_lights;
    glDisable(kLightIds[no_lights]);
}

} // namespace tonvella
