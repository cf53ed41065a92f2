// Scenes far beyond what a user places by hand: 10,000 points, and points dragged to the
// corners of the pointer's range, at every degree.
#include "canvas.h"
#include "curve.h"
#include "fake_host.h"
#include "input.h"
#include "literal_curve.h"
#include "render.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class HugeScene : public ::testing::Test {
  protected:
    void SetUp() override {
        canvas = MakeCanvas(kWidth, kHeight);
        ResetEditor(&canvas);
        ResetFakeHost(ClientRect{0, 0, kWidth, kHeight});
    }
    void TearDown() override { ResetEditor(nullptr); }

    std::vector<std::uint32_t> Frame() {
        int token = 0;
        fakeHost.presents.clear();
        RenderFrame(WindowRef{&token}, TargetRef{&token});
        return fakeHost.presents.back().pixels;
    }

    static void ExpectOnlyEditorColours(const std::vector<std::uint32_t>& frame) {
        for (std::uint32_t pixel : frame) {
            ASSERT_TRUE(pixel == kWhite || pixel == kRed || pixel == kGreen || pixel == kBlue)
                << std::hex << pixel;
        }
    }

    Canvas canvas;
};

// 10,000 points: most on the surface, one in eight at a corner of the pointer's range.
void AppendTenThousand() {
    std::mt19937 random(10000u);
    std::uniform_int_distribution<int> column(0, kWidth - 1);
    std::uniform_int_distribution<int> row(0, kHeight - 1);
    const float corners[][2] = {{0, 239}, {65535, 239}, {0, -65296}, {65535, -65296}};
    for (int p = 0; p < 10000; ++p) {
        if (p % 8 == 7) {
            Append(corners[(p / 8) % 4][0], corners[(p / 8) % 4][1]);
        } else {
            Append(static_cast<float>(column(random)), 239.0f - static_cast<float>(row(random)));
        }
    }
}

TEST_F(HugeScene, TenThousandPointsAtEveryDegree) {
    AppendTenThousand();
    // Segments go two at a time; where the second crosses the first one's marker it must
    // still lie over it, as in list order.
    Canvas polygon = MakeCanvas(kWidth, kHeight);
    Canvas reference = MakeCanvas(kWidth, kHeight);
    DrawPolygonAndMarkers(SurfaceOf(polygon));
    LiteralDrawPolygonAndMarkers(SurfaceOf(reference));
    EXPECT_EQ(polygon.pixels, reference.pixels);

    for (int degree = 1; degree <= 9; ++degree) {
        editor.degree = static_cast<float>(degree);
        const std::vector<std::uint32_t> frame = Frame();
        ExpectOnlyEditorColours(frame);
        EXPECT_EQ(CountNotWhite(canvas), 0);

        // The cursor along the list gives what the evaluation from the head gives.
        struct Check {
            int count;
            int failures;
            float lastT;
        } check{0, 0, 0.0f};
        const int samples = SampleCurve(
            [](void* context, float t, CurvePoint q) {
                auto* c = static_cast<Check*>(context);
                c->lastT = t;
                if (c->count++ % 211 == 0) {
                    const CurvePoint p = DeBoorPoint(editor.degree, std::floor(t), t);
                    c->failures += Bits(p.x) != Bits(q.x) || Bits(p.y) != Bits(q.y) ? 1 : 0;
                }
            },
            &check);
        EXPECT_EQ(check.failures, 0) << "degree " << degree;
        // t drifts with float32 rounding at this size, but the chain still ends within a
        // step of the point count.
        EXPECT_EQ(samples, check.count);
        EXPECT_LE(check.lastT, 10000.0f);
        EXPECT_GT(check.lastT, 9999.8f);
    }
}

TEST_F(HugeScene, PointsDraggedToThePointerExtremesAtEveryDegree) {
    // Twelve points placed on the surface, eight of them dragged to the corners of the
    // pointer's 16-bit range, some picked off-centre so that they end beyond the corner.
    const std::uint16_t corners[][2] = {{65535, 65535}, {0, 0}, {65535, 0}, {0, 65535}};
    for (int p = 0; p < 12; ++p) {
        const auto x = static_cast<std::uint16_t>(20 + 50 * p);
        const auto y = static_cast<std::uint16_t>(100 + 20 * (p % 5));
        OnMouseMove(x, y);
        OnLeftButtonDown(x, y);
        OnButtonUp();
        if (p % 3 != 2) {
            const int offset = p % 2 == 0 ? 0 : 3;
            OnMouseMove(static_cast<std::uint16_t>(x + offset), y);
            OnLeftButtonDown(static_cast<std::uint16_t>(x + offset), y);
            OnMouseMove(corners[p % 4][0], corners[p % 4][1]);
            OnButtonUp();
        }
    }
    ASSERT_EQ(editor.pointCount, 12);
    EXPECT_EQ(editor.points.head->x, 65535.0f);
    EXPECT_EQ(editor.points.head->y, -65296.0f);
    EXPECT_EQ(editor.points.head->next->x, -3.0f); // picked 3 right of it, dragged to 0
    EXPECT_EQ(editor.points.head->next->y, 239.0f);

    for (int degree = 1; degree <= 9; ++degree) {
        editor.degree = static_cast<float>(degree);
        const std::vector<std::uint32_t> frame = Frame();
        ExpectOnlyEditorColours(frame);
        // The same picture from the references, stepping every line step by step.
        Canvas reference = MakeCanvas(kWidth, kHeight);
        LiteralComposeFrame(SurfaceOf(reference));
        EXPECT_EQ(frame, reference.pixels) << "degree " << degree;
    }
}

} // namespace
