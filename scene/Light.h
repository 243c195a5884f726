// Lights in OpenGL's eight light slots, set up once per camera pass.
#pragma once

#include "scene/Entity.h"

namespace tonvella {

// Light types.
enum : int { LIGHT_DIRECTIONAL = 1, LIGHT_POINT = 2, LIGHT_SPOT = 3 };

class TLight : public TEntity {
public:
    static constexpr int kMaxLights = 8;

    int light_type = 0;   // LIGHT_*
    float range = 0.001f; // 1 / range
    float red = 1, green = 1, blue = 1;
    float inner_ang = 0, outer_ang = 45; // half cone angles in degrees

    // None while eight lights exist.
    static std::shared_ptr<TLight> CreateLight(int type = LIGHT_DIRECTIONAL,
                                               const std::shared_ptr<TEntity>& parent = nullptr);

    void LightRange(float range);
    void LightColor(float red, float green, float blue); // 0..255
    void LightConeAngles(float inner, float outer);

    // Takes the next slot and sets everything this light needs in it for this pass.
    void Update() override;

    std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) override;
    void FreeEntity() override;
};

using TLightHandle = std::shared_ptr<TLight>;

// Lights in creation order, and how many of the slots are taken.
TList<TLight>& LightList();
int LightCount();

} // namespace tonvella
