#include "curve.h"

#include "raster.h"
#include "scene.h"
#include "triangle_lanes.h"

#include <cmath>

namespace {

// One level of de Boor's triangle below level `level` for degree k: the point at index i from
// the points at i (q) and i - 1 (p).
CurvePoint Blend(float k, float level, float i, float t, CurvePoint q, CurvePoint p) {
    const float u = i + k - level + 1.0f;
    const float span = u - i;
    return Mix((t - i) / span, (u - t) / span, q, p);
}

// points[m] is at index i - m; the record holds them from the lowest index up.
void Record(DeBoorLevels& record, int l, const CurvePoint* points, int last) {
    for (int m = 0; m <= last; ++m) {
        record.point[l][last - m] = points[m];
    }
}

int LevelCount(float r) {
    if (!(r > 0.0f)) {
        return 0;
    }
    if (r >= static_cast<float>(kMaxDegree)) {
        return kMaxDegree;
    }
    return static_cast<int>(std::ceil(r));
}

// Runs the triangle bottom-up. points[m] holds level 0 at index i - m for m = 0..levels,
// and is overwritten; each intermediate point is computed once. With `record`, level l's
// points are copied to record->point[l] as they are made.
CurvePoint Triangle(CurvePoint* points, int levels, float r, float i, float t,
                    DeBoorLevels* record = nullptr) {
    float index[kMaxDegree + 1];
    index[0] = i;
    for (int m = 1; m <= levels; ++m) {
        index[m] = index[m - 1] - 1.0f; // the same float32 steps as the recursion takes
    }
    float level[kMaxDegree + 1];
    level[levels] = r;
    for (int l = levels; l > 0; --l) {
        level[l - 1] = level[l] - 1.0f;
    }
    if (record != nullptr) {
        Record(*record, 0, points, levels);
    }
    for (int l = 1; l <= levels; ++l) {
        for (int m = 0; m + l <= levels; ++m) {
            points[m] = Blend(editor.degree, level[l], index[m], t, points[m], points[m + 1]);
        }
        if (record != nullptr) {
            Record(*record, l, points, levels - l);
        }
    }
    return points[0];
}

CurvePoint LevelZero(const ControlPoint* node) {
    return node != nullptr ? CurvePoint{node->x, node->y} : CurvePoint{0.0f, 0.0f};
}

// Level 0 for the indices i - levels .. i from the node at index i - levels onwards:
// points[m] is the point at index i - m.
void GatherWindow(const ControlPoint* windowNode, int levels, CurvePoint* points) {
    const ControlPoint* node = windowNode;
    for (int m = levels; m >= 0; --m) {
        points[m] = LevelZero(node);
        node = node != nullptr ? node->next : nullptr;
    }
}

CurvePoint DeBoorPointRecorded(float r, float i, float t, DeBoorLevels* record) {
    const int levels = LevelCount(r);
    CurvePoint points[kMaxDegree + 1];
    const float first = i - static_cast<float>(levels);
    if (first >= 0.0f && i < 16777216.0f && std::floor(i) == i) {
        // Whole indices, none below 0: one walk gives the whole window.
        GatherWindow(PointAt(first), levels, points);
    } else {
        float index = i;
        for (int m = 0; m <= levels; ++m) {
            points[m] = LevelZero(PointAt(index));
            index = index - 1.0f;
        }
    }
    return Triangle(points, levels, static_cast<float>(levels), i, t, record);
}

} // namespace

CurvePoint DeBoorPoint(float r, float i, float t) {
    return DeBoorPointRecorded(r, i, t, nullptr);
}

std::int32_t VisitSpanEnds(CurveSampleVisitor visit, void* context) {
    const float k = editor.degree;
    const float n = static_cast<float>(editor.pointCount);
    const int levels = LevelCount(k);
    if (n < k + 1.0f || static_cast<float>(levels) != k || !(n < 16777216.0f)) {
        return 0;
    }
    const ControlPoint* windowNode = editor.points.head; // the node at index j - levels
    std::int32_t count = 0;
    for (std::int32_t j = levels; j <= editor.pointCount; ++j) {
        const float t = static_cast<float>(j);
        CurvePoint points[kMaxDegree + 1];
        GatherWindow(windowNode, levels, points);
        visit(context, t, Triangle(points, levels, k, t, t));
        windowNode = windowNode != nullptr ? windowNode->next : nullptr;
        ++count;
    }
    return count;
}

DeBoorLevels DeBoorTriangle(float t) {
    DeBoorLevels triangle{};
    const float i = std::floor(t);
    triangle.levels = LevelCount(editor.degree);
    triangle.firstIndex = i - static_cast<float>(triangle.levels);
    DeBoorPointRecorded(editor.degree, i, t, &triangle);
    return triangle;
}

namespace {

// Any other degree or index range: each lane through Triangle itself.
void TriangleLanesScalar(LaneWindows& w, int levels, float r) {
    for (int lane = 0; lane < kLanes; ++lane) {
        CurvePoint points[kMaxDegree + 1];
        for (int m = 0; m <= levels; ++m) {
            points[m] = CurvePoint{w.x[m][lane], w.y[m][lane]};
        }
        const CurvePoint top = Triangle(points, levels, r, w.i[lane], w.t[lane]);
        w.x[0][lane] = top.x;
        w.y[0][lane] = top.y;
    }
}

// Called with each batch of samples: lane l of w.x[0], w.y[0] and w.t, for l < lanes.
using BatchVisitor = void (*)(void* context, const LaneWindows& w, int lanes);

std::int32_t SampleBatches(BatchVisitor visit, void* context) {
    static const TriangleLanesKernel wide = WideTriangleLanes();
    const float k = editor.degree;
    const float n = static_cast<float>(editor.pointCount);
    if (n < k + 1.0f) {
        return 0;
    }
    const int levels = LevelCount(k);
    const bool whole = static_cast<float>(levels) == k && n + k + 1.0f < 16777216.0f;

    // The window start (index i - levels) never moves back within one curve, so a cursor
    // along the list keeps the cost of a frame linear in the point count.
    const ControlPoint* windowNode = editor.points.head;
    std::int64_t windowIndex = 0;

    std::int32_t count = 0;
    float t = k;
    bool done = false;
    LaneWindows w;
    while (!done) {
        int lanes = 0;
        std::int64_t gathered = -1; // the window start lane - 1 gathered, to copy when shared
        while (lanes < kLanes && !done) {
            const float i = std::floor(t);
            const std::int64_t first = static_cast<std::int64_t>(i) - levels;
            if (lanes > 0 && first == gathered) {
                for (int m = 0; m <= levels; ++m) {
                    w.x[m][lanes] = w.x[m][lanes - 1];
                    w.y[m][lanes] = w.y[m][lanes - 1];
                }
            } else {
                while (windowIndex < first && windowNode != nullptr) {
                    windowNode = windowNode->next;
                    ++windowIndex;
                }
                CurvePoint points[kMaxDegree + 1];
                GatherWindow(windowNode, levels, points);
                for (int m = 0; m <= levels; ++m) {
                    w.x[m][lanes] = points[m].x;
                    w.y[m][lanes] = points[m].y;
                }
                gathered = first;
            }
            w.i[lanes] = i;
            w.t[lanes] = t;
            ++lanes;
            t = NextSampleParameter(t, n, done);
        }
        // Unused lanes repeat the last sample, so that every lane computes something finite.
        for (int lane = lanes; lane < kLanes; ++lane) {
            for (int m = 0; m <= levels; ++m) {
                w.x[m][lane] = w.x[m][lanes - 1];
                w.y[m][lane] = w.y[m][lanes - 1];
            }
            w.i[lane] = w.i[lanes - 1];
            w.t[lane] = w.t[lanes - 1];
        }
        if (whole && wide != nullptr) {
            wide(w, levels);
        } else if (whole) {
            TriangleLanesWhole(w, levels);
        } else {
            TriangleLanesScalar(w, levels, k);
        }
        visit(context, w, lanes);
        count += lanes;
    }
    return count;
}

struct SampleVisit {
    CurveSampleVisitor visit;
    void* context;
};

void VisitEachSample(void* context, const LaneWindows& w, int lanes) {
    const auto* each = static_cast<const SampleVisit*>(context);
    for (int lane = 0; lane < lanes; ++lane) {
        each->visit(each->context, w.t[lane], CurvePoint{w.x[0][lane], w.y[0][lane]});
    }
}

struct CurveStroke {
    BackBuffer surface;
    CurvePoint previous;
    bool started;
    std::uint32_t stored;
};

// The batch's segments, each from the sample before; the first sample is a segment to itself.
void StrokeBatch(void* context, const LaneWindows& w, int lanes) {
    auto* stroke = static_cast<CurveStroke*>(context);
    if (!stroke->started) {
        stroke->previous = CurvePoint{w.x[0][0], w.y[0][0]};
        stroke->started = true;
    }
    float xs[kLanes + 1];
    float ys[kLanes + 1];
    xs[0] = stroke->previous.x;
    ys[0] = stroke->previous.y;
    for (int lane = 0; lane < lanes; ++lane) {
        xs[lane + 1] = w.x[0][lane];
        ys[lane + 1] = w.y[0][lane];
    }
    DrawJoinedLinesStored(stroke->surface, xs, ys, lanes + 1, stroke->stored);
    stroke->previous = CurvePoint{xs[lanes], ys[lanes]};
}

} // namespace

std::int32_t SampleCurve(CurveSampleVisitor visit, void* context) {
    SampleVisit each{visit, context};
    return SampleBatches(VisitEachSample, &each);
}

void DrawCurve(const BackBuffer& surface) {
    CurveStroke stroke{
        surface, {0.0f, 0.0f}, false, StoredPixel(PixelValue(editor.curveColor), surface.order)};
    SampleBatches(StrokeBatch, &stroke);
}
