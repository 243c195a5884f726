#include "scene/GpuBackend.h"

namespace tonvella {

namespace {

class TNoGpu : public TGpuBackend {
public:
    void GenBuffers(int n, unsigned* names) override {
        for (int i = 0; i < n; ++i)
            names[i] = 0;
    }
    void DeleteBuffers(int, const unsigned*) override {}
    void BufferData(TBufferTarget, unsigned, const void*, std::size_t) override {}
    unsigned GenTexture() override { return 0; }
    void UploadTextureLevel(unsigned, int, int, int, int, const void*) override {}
};

TNoGpu no_gpu;
TGpuBackend* current = &no_gpu;

} // namespace

void InstallGpuBackend(TGpuBackend* backend) {
    current = backend ? backend : &no_gpu;
}

TGpuBackend& GpuBackend() {
    return *current;
}

} // namespace tonvella
