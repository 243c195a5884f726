// A bare transform used to group other entities.
#pragma once

#include "scene/Entity.h"

namespace tonvella {

class TPivot : public TEntity {
public:
    static std::shared_ptr<TPivot> CreatePivot(const std::shared_ptr<TEntity>& parent = nullptr);

    std::shared_ptr<TEntity> CopyEntity(const std::shared_ptr<TEntity>& parent) override;
    void Update() override {}
};

using TPivotHandle = std::shared_ptr<TPivot>;

} // namespace tonvella
