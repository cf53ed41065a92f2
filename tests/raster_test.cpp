#include "canvas.h"
#include "raster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Color kInk{255, 0, 0, 0};

class RasterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        canvas = MakeCanvas(40, 320);
        surface = SurfaceOf(canvas);
    }

    // Pixels in ink, given back as world "x,y" in row-major client order.
    std::vector<std::string> InkedWorld() const {
        std::vector<std::string> world;
        for (int row = 0; row < canvas.height; ++row) {
            for (int column = 0; column < canvas.width; ++column) {
                if (PixelAt(canvas, column, row) == kRed) {
                    world.push_back(std::to_string(column) + "," + std::to_string(239 - row));
                }
            }
        }
        return world;
    }

    Canvas canvas;
    BackBuffer surface{};
};

using Pixels = std::vector<std::string>;

TEST(PixelRoundTest, AddsHalfAndTruncatesTowardZero) {
    EXPECT_EQ(PixelRound(0.0), 0);
    EXPECT_EQ(PixelRound(0.49), 0);
    EXPECT_EQ(PixelRound(0.5), 1);
    EXPECT_EQ(PixelRound(2.5), 3);
    EXPECT_EQ(PixelRound(-0.5), 0);
    EXPECT_EQ(PixelRound(-1.0), 0);
    EXPECT_EQ(PixelRound(-1.5), -1);
    EXPECT_EQ(PixelRound(-61.0), -60);
    // Float32 inputs widen exactly: 0.49999997f + 0.5 stays below 1 in double.
    EXPECT_EQ(PixelRound(0.49999997f), 0);
}

TEST(PixelRoundTest, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(PixelRound(1e20), INT32_MAX);
    EXPECT_EQ(PixelRound(-1e20), INT32_MIN);
    EXPECT_EQ(PixelRound(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
}

TEST(PixelValueTest, IsColorrefWithRoundedLowBytes) {
    EXPECT_EQ(PixelValue(Color{255, 0, 0, 0}), 0x0000FFu);
    EXPECT_EQ(PixelValue(Color{0, 255, 0, 0}), 0x00FF00u);
    EXPECT_EQ(PixelValue(Color{0, 0, 255, 0}), 0xFF0000u);
    EXPECT_EQ(PixelValue(Color{1, 2, 3, 200}), 0x030201u); // alpha ignored
    EXPECT_EQ(PixelValue(Color{254.5f, 0.49f, 0, 0}), 0x0000FFu);
    EXPECT_EQ(PixelValue(Color{256, 0, 0, 0}), 0u); // low 8 bits only
    EXPECT_EQ(PixelValue(Color{-1, 0, 0, 0}), 0u);
    EXPECT_EQ(StoredPixel(0x030201u, PixelOrder::Xrgb), 0xFF010203u);
    EXPECT_EQ(StoredPixel(0xFFFFFFu, PixelOrder::Xrgb), kWhitePixel);
    EXPECT_EQ(StoredPixel(0x030201u, PixelOrder::Rgba), 0xFF030201u); // bytes 01 02 03 FF
    EXPECT_EQ(StoredPixel(0xFFFFFFu, PixelOrder::Rgba), kWhitePixel);
}

TEST_F(RasterTest, PlotPixelWritesAtWorldPositionAndDropsOutside) {
    PlotPixel(surface, 5, 5, Color{1, 2, 3, 0});
    EXPECT_EQ(PixelAt(canvas, 5, 234), 0xFF010203u);
    PlotPixel(surface, -1, 5, kInk);
    PlotPixel(surface, 40, 5, kInk);
    PlotPixel(surface, 0, 240, kInk); // row -1
    PlotPixel(surface, 0, -81, kInk); // row 320
    PlotPixel(surface, INT32_MAX, INT32_MIN, kInk);
    EXPECT_EQ(CountNotWhite(canvas), 1);
}

TEST_F(RasterTest, HorizontalSegmentsStopShortOfAFractionalEnd) {
    DrawLine(surface, 0, 0, 7, 0, kInk);
    EXPECT_EQ(InkedWorld(), (Pixels{"0,0", "1,0", "2,0", "3,0", "4,0", "5,0", "6,0", "7,0"}));

    SetUp();
    DrawLine(surface, 0, 0, 7.9f, 0, kInk);
    EXPECT_EQ(InkedWorld(), (Pixels{"0,0", "1,0", "2,0", "3,0", "4,0", "5,0", "6,0", "7,0"}));

    // Backwards the start is exact and the end falls short the other way.
    SetUp();
    DrawLine(surface, 7.9f, 0, 0, 0, kInk);
    EXPECT_EQ(InkedWorld(), (Pixels{"1,0", "2,0", "3,0", "4,0", "5,0", "6,0", "7,0", "8,0"}));
}

TEST_F(RasterTest, DegenerateSegmentsAreTheStartPixel) {
    DrawLine(surface, 5, 5, 5, 5, kInk);
    EXPECT_EQ(PixelsOf(canvas, kRed), (Pixels{"5,234"}));

    SetUp();
    DrawLine(surface, 5.2f, 5, 5.9f, 5.6f, kInk);
    EXPECT_EQ(InkedWorld(), (Pixels{"5,5"}));
}

TEST_F(RasterTest, VerticalAndDiagonalSegments) {
    DrawLine(surface, 0, 10, 0, 0, kInk);
    Pixels column0;
    for (int row = 229; row <= 239; ++row) {
        column0.push_back("0," + std::to_string(row));
    }
    EXPECT_EQ(PixelsOf(canvas, kRed), column0);

    SetUp();
    DrawLine(surface, 0, 0, 3, 3, kInk);
    EXPECT_EQ(InkedWorld(), (Pixels{"3,3", "2,2", "1,1", "0,0"}));

    SetUp();
    DrawLine(surface, 0, 0, 3, -3, kInk);
    EXPECT_EQ(PixelsOf(canvas, kRed), (Pixels{"0,239", "1,239", "2,240", "3,241"}));
}

TEST_F(RasterTest, ShallowSlopeAccumulatesFloatSteps) {
    DrawLine(surface, 0, 0, 10, 3, kInk);
    // Rows of world y 3, 2, 1, 0 from the top.
    EXPECT_EQ(InkedWorld(), (Pixels{"9,3", "10,3", "5,2", "6,2", "7,2", "8,2", "2,1", "3,1", "4,1",
                                    "0,0", "1,0"}));
}

TEST_F(RasterTest, SteepSegmentBelowZeroRevisitsWorldZero) {
    DrawLine(surface, 0, 0, -1, -7, kInk);
    // 8 steps, but world y -1 rounds to 0 again: 7 distinct pixels down column 0.
    Pixels expected;
    for (int row = 239; row <= 245; ++row) {
        expected.push_back("0," + std::to_string(row));
    }
    EXPECT_EQ(PixelsOf(canvas, kRed), expected);
}

TEST_F(RasterTest, SegmentsCrossingTheSurfaceAreClipped) {
    DrawLine(surface, -100, 100, 100, 100, kInk);
    Pixels row139;
    for (int column = 0; column < 40; ++column) {
        row139.push_back(std::to_string(column) + ",139");
    }
    EXPECT_EQ(PixelsOf(canvas, kRed), row139);

    SetUp();
    DrawLine(surface, 10, 65535, 10, -65296, kInk);
    EXPECT_EQ(PixelsOf(canvas, kRed).size(), 320u);
}

TEST_F(RasterTest, FillBoxFillsRowsBelowTheTopAndColumnsBeforeTheRight) {
    FillBox(surface, 10, 18, 20, 28, kInk);
    Pixels expected;
    for (int y = 27; y >= 20; --y) {
        for (int x = 10; x <= 17; ++x) {
            expected.push_back(std::to_string(x) + "," + std::to_string(y));
        }
    }
    EXPECT_EQ(InkedWorld(), expected);

    SetUp();
    FillBox(surface, 0, 8, 5, 5, kInk);
    FillBox(surface, 0, 8, 6, 5, kInk);
    EXPECT_EQ(CountNotWhite(canvas), 0);
}

// The marker that frames draw around a point: a box from x - 4 to x + 4, y - 4 to y + 4.
void Marker(const BackBuffer& surface, float x, float y) {
    FillBox(surface, x - 4, x + 4, y - 4, y + 4, kInk);
}

struct Span {
    int first;
    int last;
};

// The inked rows and columns as ranges, checking the inked area is one full rectangle.
void ExpectInkedRectangle(const Canvas& canvas, Span columns, Span rows) {
    for (int row = 0; row < canvas.height; ++row) {
        for (int column = 0; column < canvas.width; ++column) {
            const bool inside = column >= columns.first && column <= columns.last &&
                                row >= rows.first && row <= rows.last;
            ASSERT_EQ(PixelAt(canvas, column, row) == kRed, inside)
                << "column " << column << " row " << row;
        }
    }
}

TEST_F(RasterTest, MarkerAwayFromZeroIsEightByEightBelowLeftOfThePoint) {
    Marker(surface, 10, 10);
    ExpectInkedRectangle(canvas, {6, 13}, {239 - 13, 239 - 6});
}

TEST_F(RasterTest, MarkerStraddlingWorldZeroHasSevenRowsAndColumns) {
    Marker(surface, 0, 0);
    // Columns -3..3 collapse onto 0..3 (off the left edge), rows onto 236..242.
    ExpectInkedRectangle(canvas, {0, 3}, {236, 242});

    SetUp();
    Marker(surface, 2, 3);
    // World rows -1..6 round onto 0..6; columns -2..5 onto 0..5.
    ExpectInkedRectangle(canvas, {0, 5}, {233, 239});
}

TEST_F(RasterTest, MarkerBelowWorldZeroShiftsUpByOne) {
    Marker(surface, 20, -61);
    ExpectInkedRectangle(canvas, {16, 23}, {296, 303});

    SetUp();
    Marker(surface, 20, -4);
    ExpectInkedRectangle(canvas, {16, 23}, {239, 246}); // world rows -7..0
}

TEST_F(RasterTest, DrawingWithoutABackBufferIsHarmless) {
    surface = BackBuffer{nullptr, 0, 0, 0, PixelOrder::Xrgb};
    DrawLine(surface, 0, 0, 100, 100, kInk);
    FillBox(surface, 0, 10, 0, 10, kInk);
    PlotPixel(surface, 1, 1, kInk);
    EXPECT_EQ(CountNotWhite(canvas), 0);
}

TEST_F(RasterTest, HugeCoordinatesFinishWithoutUndefinedBehaviour) {
    DrawLine(surface, 1e30f, 1e30f, -1e30f, 5, kInk);
    FillBox(surface, 3.0e7f, 3.0e7f + 8, 3.0e7f, 3.0e7f + 8, kInk);
    FillBox(surface, -1e30f, 1e30f, -1e30f, 1e30f, kInk);
    // Every one of these lands off the surface; the sanitizer build checks the arithmetic.
    EXPECT_EQ(CountNotWhite(canvas), 0);
}

} // namespace
