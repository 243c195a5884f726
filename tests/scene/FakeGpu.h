// A graphics backend that records what the scene asks of the driver.
#pragma once

#include "scene/GpuBackend.h"

#include <map>
#include <set>
#include <vector>

namespace tonvella {

class TFakeGpu : public TGpuBackend {
public:
    struct TLevel {
        int level, width, height, row_length;
    };

    unsigned next_name = 1;
    std::set<unsigned> live_buffers;
    std::vector<unsigned> deleted;
    int deleting_dead = 0; // deletions of names that were not live
    std::map<unsigned, std::size_t> buffer_bytes;
    std::vector<TLevel> levels;

    TFakeGpu() { InstallGpuBackend(this); }
    ~TFakeGpu() override { InstallGpuBackend(nullptr); }

    void GenBuffers(int n, unsigned* names) override {
        for (int i = 0; i < n; ++i) {
            names[i] = next_name++;
            live_buffers.insert(names[i]);
        }
    }
    void DeleteBuffers(int n, const unsigned* names) override {
        for (int i = 0; i < n; ++i) {
            if (!live_buffers.erase(names[i])) ++deleting_dead;
            deleted.push_back(names[i]);
        }
    }
    void BufferData(TBufferTarget, unsigned name, const void*, std::size_t bytes) override {
        buffer_bytes[name] = bytes;
    }
    unsigned GenTexture() override { return next_name++; }
    void UploadTextureLevel(unsigned, int level, int width, int height, int row_length,
                            const void*) override {
        levels.push_back({level, width, height, row_length});
    }
};

} // namespace tonvella
