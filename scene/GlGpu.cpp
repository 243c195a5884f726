#include "scene/GlGpu.h"

#include "scene/GpuBackend.h"
#include "scene/Graphics3D.h"

#include <GL/glew.h>

namespace tonvella {

namespace {

class TGlGpu : public TGpuBackend {
public:
    void GenBuffers(int n, unsigned* names) override {
        if (!THardwareInfo::vbo_supported) {
            for (int i = 0; i < n; ++i)
                names[i] = 0;
            return;
        }
        glGenBuffersARB(n, names);
    }
    void DeleteBuffers(int n, const unsigned* names) override {
        if (THardwareInfo::vbo_supported) glDeleteBuffersARB(n, names);
    }
    void BufferData(TBufferTarget target, unsigned name, const void* data,
                    std::size_t bytes) override {
        if (!THardwareInfo::vbo_supported || name == 0) return;
        const GLenum t =
            target == TBufferTarget::Array ? GL_ARRAY_BUFFER_ARB : GL_ELEMENT_ARRAY_BUFFER_ARB;
        glBindBufferARB(t, name);
        glBufferDataARB(t, GLsizeiptrARB(bytes), data, GL_STATIC_DRAW_ARB);
    }
    unsigned GenTexture() override {
        GLuint name = 0;
        glGenTextures(1, &name);
        return name;
    }
    void UploadTextureLevel(unsigned name, int level, int width, int height, int row_length,
                            const void* rgba) override {
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, row_length);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
};

} // namespace

void InstallGlGpu() {
    static TGlGpu gpu;
    InstallGpuBackend(&gpu);
}

} // namespace tonvella
