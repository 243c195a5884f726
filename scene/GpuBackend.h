// The few graphics-driver calls the scene data needs (buffer and texture names, uploads). The
// renderer installs a backend over OpenGL once a context exists; until then the default one hands
// out no names and ignores uploads, so the scene works without a display.
#pragma once

#include <cstddef>

namespace tonvella {

enum class TBufferTarget { Array, ElementArray };

class TGpuBackend {
public:
    virtual ~TGpuBackend() = default;
    // Fills `names` with n new buffer names (0 when none can be made).
    virtual void GenBuffers(int n, unsigned* names) = 0;
    virtual void DeleteBuffers(int n, const unsigned* names) = 0;
    // Binds the buffer and fills it with static-draw contents.
    virtual void BufferData(TBufferTarget target, unsigned name, const void* data,
                            std::size_t bytes) = 0;
    // A new 2D texture name (0 when none can be made).
    virtual unsigned GenTexture() = 0;
    // Binds the texture and uploads one RGBA8 level from R, G, B, A rows of row_length pixels.
    virtual void UploadTextureLevel(unsigned name, int level, int width, int height, int row_length,
                                    const void* rgba) = 0;
};

// None restores the default backend. The caller keeps ownership.
void InstallGpuBackend(TGpuBackend* backend);
TGpuBackend& GpuBackend();

} // namespace tonvella
