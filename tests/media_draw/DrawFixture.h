// A 320 x 240 window with the 2D layer, cleared to black before each test.
#pragma once

#include "media/Graphics.h"
#include "media/draw/Draw2D.h"
#include "tests/media_draw/FrameGrab.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace tonvella {

class TDrawTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 320, kHeight = 240;

    void SetUp() override {
        if (!CurrentGraphics()) OpenGraphics(kWidth, kHeight, 0, 60, GRAPHICS_BACKBUFFER);
        ASSERT_NE(CurrentGraphics(), nullptr) << GraphicsError();
        SelectFont(nullptr);
        SetBlendMode(1);
        SetDrawAlpha(1);
        SetDrawColour(255, 255, 255);
        SetClearColour(0, 0, 0);
        ClearBackBuffer();
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    // Columns [first, last] holding any lit pixel in the rows [top, bottom]; -1, -1 when none.
    static std::pair<int, int> InkColumns(int top, int bottom) {
        const auto frame = ReadFrame(kWidth, kHeight);
        int first = -1, last = -1;
        for (int y = std::max(top, 0); y <= std::min(bottom, kHeight - 1); ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &frame[(std::size_t(y) * kWidth + x) * 3];
                if (p[0] + p[1] + p[2] == 0) continue;
                if (first < 0 || x < first) first = x;
                last = std::max(last, x);
            }
        return {first, last};
    }
    static std::pair<int, int> InkRows() {
        const auto frame = ReadFrame(kWidth, kHeight);
        int first = -1, last = -1;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &frame[(std::size_t(y) * kWidth + x) * 3];
                if (p[0] + p[1] + p[2] == 0) continue;
                if (first < 0) first = y;
                last = y;
            }
        return {first, last};
    }
};

} // namespace tonvella
