// Tests of whole frames: the editor at its start values, drawing into a 160 x 260 canvas,
// with the recording host showing a client area of the same size.
#pragma once

#include "canvas.h"
#include "fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>

class HostedCanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        canvas = MakeCanvas(160, 260);
        ResetEditor(&canvas);
        ResetFakeHost(ClientRect{0, 0, 160, 260});
    }
    void TearDown() override { ResetEditor(nullptr); }

    static bool LastPresentIsWhite() {
        const std::vector<std::uint32_t>& pixels = fakeHost.presents.back().pixels;
        return std::all_of(pixels.begin(), pixels.end(),
                           [](std::uint32_t p) { return p == kWhite; });
    }

    int windowToken = 0;
    int menuToken = 0;
    const WindowRef window{&windowToken};
    const MenuRef menu{&menuToken};
    Canvas canvas;
};
