#include "streams/Embedded.h"

#include <memory>

namespace tonvella {

namespace {

struct TEmbeddedResource {
    std::u16string name;
    const void* data;
    int size;
    std::unique_ptr<TEmbeddedResource> next;
};

std::unique_ptr<TEmbeddedResource> resources;

const TEmbeddedResource* Find(const std::u16string& name) {
    for (auto* r = resources.get(); r; r = r->next.get()) {
        if (r->name == name) return r;
    }
    return nullptr;
}

} // namespace

int RegisterEmbeddedResource(const std::u16string& name, const void* data, int size) {
    if (Find(name)) return 0;
    resources = std::make_unique<TEmbeddedResource>(
        TEmbeddedResource{name, data, size < 0 ? 0 : size, std::move(resources)});
    return 1;
}

const void* EmbeddedResourcePointer(const std::u16string& name) {
    const auto* r = Find(name);
    return r ? r->data : nullptr;
}

int EmbeddedResourceSize(const std::u16string& name) {
    const auto* r = Find(name);
    return r ? r->size : 0;
}

} // namespace tonvella
