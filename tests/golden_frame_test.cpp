// Whole frames compared with stored pictures. Set TAVRIMO_UPDATE_GOLDEN=1 to rewrite them
// after a deliberate change; a failure writes NAME.actual.ppm beside NAME.ppm.
#include "canvas.h"
#include "fake_host.h"
#include "render.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 280;

struct Scene {
    const char* name;
    float degree;
    std::vector<std::pair<float, float>> points; // world coordinates
};

const std::vector<Scene>& Scenes() {
    static const std::vector<Scene> scenes = {
        {"degree1_zigzag", 1, {{20, 200}, {60, 120}, {100, 200}, {140, 120}, {180, 200}}},
        // Around world 0 (client row 239), below it, and off the right and bottom edges.
        {"degree3_edges",
         3,
         {{2, 2}, {40, 0}, {80, -1}, {120, -30}, {196, 60}, {230, 100}, {150, -50}, {100, 230}}},
        // Coincident points pull the curve; degree 9 needs ten of them.
        {"degree9_coincident",
         9,
         {{30, 30},
          {30, 30},
          {30, 30},
          {90, 220},
          {170, 200},
          {170, 200},
          {120, 40},
          {60, 90},
          {100, 140},
          {180, 20},
          {20, 180},
          {20, 180}}},
    };
    return scenes;
}

Canvas RenderScene(const Scene& scene) {
    Canvas canvas = MakeCanvas(kWidth, kHeight);
    ResetEditor(&canvas);
    ResetFakeHost(ClientRect{0, 0, kWidth, kHeight});
    editor.degree = scene.degree;
    for (const auto& point : scene.points) {
        Append(point.first, point.second);
    }
    int window = 0;
    int target = 0;
    RenderFrame(WindowRef{&window}, TargetRef{&target});
    Canvas presented{kWidth, kHeight, fakeHost.presents.at(0).pixels};
    ResetEditor(nullptr);
    return presented;
}

class GoldenFrame : public ::testing::TestWithParam<std::size_t> {};

TEST_P(GoldenFrame, MatchesTheStoredPicture) {
    const Scene& scene = Scenes()[GetParam()];
    const Canvas actual = RenderScene(scene);
    const std::string base = std::string(TAVRIMO_GOLDEN_DIR) + "/" + scene.name;
    if (std::getenv("TAVRIMO_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(WritePpm(base + ".ppm", actual));
    }
    Canvas expected;
    ASSERT_TRUE(ReadPpm(base + ".ppm", &expected)) << "cannot read " << base << ".ppm";
    ASSERT_EQ(expected.width, kWidth);
    ASSERT_EQ(expected.height, kHeight);

    int differing = 0;
    std::string first;
    for (int row = 0; row < kHeight; ++row) {
        for (int column = 0; column < kWidth; ++column) {
            if (PixelAt(actual, column, row) != PixelAt(expected, column, row) &&
                differing++ == 0) {
                first = std::to_string(column) + "," + std::to_string(row);
            }
        }
    }
    if (differing != 0) {
        WritePpm(base + ".actual.ppm", actual);
    }
    EXPECT_EQ(differing, 0) << "first difference at column,row " << first << "; the frame is in "
                            << base << ".actual.ppm";
}

// A front end may store its pixels in the canvas's byte order: the same picture, channel for
// channel.
TEST_P(GoldenFrame, TheCanvasByteOrderHoldsTheSamePicture) {
    const Scene& scene = Scenes()[GetParam()];
    const Canvas expected = RenderScene(scene);
    Canvas canvas = MakeCanvas(kWidth, kHeight);
    ResetEditor(nullptr);
    editor.degree = scene.degree;
    for (const auto& point : scene.points) {
        Append(point.first, point.second);
    }
    BackBuffer rgba = SurfaceOf(canvas);
    rgba.order = PixelOrder::Rgba;
    ComposeFrame(rgba);
    ResetEditor(nullptr);
    std::transform(canvas.pixels.begin(), canvas.pixels.end(), canvas.pixels.begin(),
                   [](std::uint32_t p) { // red and blue change places
                       return (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
                   });
    EXPECT_EQ(canvas.pixels, expected.pixels);
}

INSTANTIATE_TEST_SUITE_P(Scenes, GoldenFrame, ::testing::Range<std::size_t>(0, 3),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(Scenes()[info.param].name);
                         });

} // namespace
