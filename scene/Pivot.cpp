#include "scene/Pivot.h"

namespace tonvella {

std::shared_ptr<TPivot> TPivot::CreatePivot(const std::shared_ptr<TEntity>& parent) {
    auto pivot = std::make_shared<TPivot>();
    pivot->Register(u"Pivot", parent);
    return pivot;
}

std::shared_ptr<TEntity> TPivot::CopyEntity(const std::shared_ptr<TEntity>& parent) {
    auto copy = std::make_shared<TPivot>();
    CopyEntityBase(*copy, parent);
    return copy;
}

} // namespace tonvella
