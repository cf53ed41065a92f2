#include "refine.h"

#include "homogeneous.h"
#include "span_checks.h"

#include <algorithm>
#include <cmath>

namespace {

WeightedPoint Project(const Homogeneous& h) {
    return WeightedPoint{SplinePoint{h.x / h.w, h.y / h.w}, h.w};
}

// A spline from projected points and their weights, on the given knots.
Spline FromWeighted(int degree, const std::vector<WeightedPoint>& points,
                    std::vector<double> knots) {
    Spline spline{degree, {}, {}, std::move(knots)};
    for (const WeightedPoint& p : points) {
        spline.points.push_back(p.point);
        spline.weights.push_back(p.weight);
    }
    return spline;
}

} // namespace

int MultiplicityOf(const Spline& spline, double t) {
    return static_cast<int>(std::count(spline.knots.begin(), spline.knots.end(), t));
}

std::string InsertFault(const Spline& spline, double t) {
    const SplineDomain domain = DomainOf(spline);
    if (!(t >= domain.first && t <= domain.last)) {
        return "t must lie in the domain";
    }
    if (MultiplicityOf(spline, t) >= spline.degree) {
        return "t is already a knot of multiplicity " + std::to_string(spline.degree) +
               ", the degree: the curve passes through a control point there";
    }
    return "";
}

namespace {

// Both faults, the spline's first.
std::string Faults(const Spline& spline, std::string (*at)(const Spline&, double), double t) {
    const std::string fault = SplineFault(spline);
    return fault.empty() ? at(spline, t) : fault;
}

// InsertKnot on a spline and t it can take.
Spline Inserted(const Spline& spline, double t) {
    const int k = spline.degree;
    const SplineTriangle triangle = TriangleOf(spline, t);
    const std::ptrdiff_t first = triangle.first; // i - k
    const std::ptrdiff_t span = first + k;       // i
    Spline refined{k, {}, {}, spline.knots};
    refined.points.assign(spline.points.begin(), spline.points.begin() + first + 1);
    refined.weights.assign(spline.weights.begin(), spline.weights.begin() + first + 1);
    refined.points.insert(refined.points.end(), triangle.levels[1].begin(),
                          triangle.levels[1].end());
    refined.weights.insert(refined.weights.end(), triangle.weights[1].begin(),
                           triangle.weights[1].end());
    refined.points.insert(refined.points.end(), spline.points.begin() + span, spline.points.end());
    refined.weights.insert(refined.weights.end(), spline.weights.begin() + span,
                           spline.weights.end());
    refined.knots.insert(refined.knots.begin() + span + 1, t);
    return refined;
}

Refinement InsertedTimes(const Spline& spline, double t, int times) {
    Refinement refinement{spline, 0, ""};
    while (refinement.inserted < times) {
        refinement.stopped = InsertFault(refinement.spline, t);
        if (!refinement.stopped.empty()) {
            break;
        }
        refinement.spline = Inserted(refinement.spline, t);
        ++refinement.inserted;
    }
    return refinement;
}

} // namespace

Outcome<Spline> InsertKnot(const Spline& spline, double t) {
    const std::string fault = Faults(spline, InsertFault, t);
    return fault.empty() ? Success(Inserted(spline, t)) : Refusal<Spline>(fault);
}

Outcome<Refinement> InsertKnotTimes(const Spline& spline, double t, int times) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty() || times < 0) {
        return Refusal<Refinement>(fault.empty() ? "a knot cannot be inserted " +
                                                       std::to_string(times) + " times"
                                                 : fault);
    }
    return Success(InsertedTimes(spline, t, times));
}

std::string SplitFault(const Spline& spline, double t) {
    const SplineDomain domain = DomainOf(spline);
    if (!(t > domain.first && t < domain.last)) {
        return "t must lie inside the domain, not at its ends";
    }
    if (MultiplicityOf(spline, t) > spline.degree) {
        return "the curve already breaks at t";
    }
    return "";
}

Outcome<SplitSpline> SplitAt(const Spline& spline, double t) {
    const std::string fault = Faults(spline, SplitFault, t);
    if (!fault.empty()) {
        return Refusal<SplitSpline>(fault);
    }
    const int k = spline.degree;
    const Spline s = InsertedTimes(spline, t, k).spline;
    // t at a .. a + k - 1; the curve passes through point a - 1 there.
    const std::ptrdiff_t a = std::lower_bound(s.knots.begin(), s.knots.end(), t) - s.knots.begin();
    SplitSpline halves;
    halves.before = Spline{k,
                           {s.points.begin(), s.points.begin() + a},
                           {s.weights.begin(), s.weights.begin() + a},
                           {s.knots.begin(), s.knots.begin() + a + k}};
    halves.before.knots.push_back(t);
    halves.after = Spline{k,
                          {s.points.begin() + a - 1, s.points.end()},
                          {s.weights.begin() + a - 1, s.weights.end()},
                          {t}};
    halves.after.knots.insert(halves.after.knots.end(), s.knots.begin() + a, s.knots.end());
    return Success(std::move(halves));
}

namespace {

WeightedPoint BlossomIn(const Spline& spline, int span, const std::vector<double>& arguments) {
    const int k = spline.degree;
    const std::vector<double>& u = spline.knots;
    std::vector<Homogeneous> level;
    for (int j = span - k; j <= span; ++j) {
        const auto index = static_cast<std::size_t>(j);
        level.push_back(Lift(spline.points[index], spline.weights[index]));
    }
    for (int r = 1; r <= k; ++r) {
        const double x = arguments[static_cast<std::size_t>(r) - 1];
        for (int j = 0; j + r <= k; ++j) {
            const int index = span - k + r + j;
            const double alpha = (x - u[index]) / (u[index + k + 1 - r] - u[index]);
            level[j] = Blend(level[j], level[j + 1], alpha);
        }
    }
    return Project(level[0]);
}

BezierPiece PieceOf(const Spline& spline, int span) {
    const int k = spline.degree;
    const std::vector<double>& u = spline.knots;
    BezierPiece piece{u[span], u[span + 1], {}};
    for (int j = 0; j <= k; ++j) {
        std::vector<double> arguments(static_cast<std::size_t>(k), u[span]);
        std::fill(arguments.end() - j, arguments.end(), u[span + 1]);
        piece.points.push_back(BlossomIn(spline, span, arguments));
    }
    return piece;
}

} // namespace

Outcome<WeightedPoint> Blossom(const Spline& spline, int span,
                               const std::vector<double>& arguments) {
    if (!IsSpan(spline, span)) {
        return Refusal<WeightedPoint>(NoSpan(span));
    }
    if (arguments.size() != static_cast<std::size_t>(spline.degree)) {
        return Refusal<WeightedPoint>("the blossom of degree " + std::to_string(spline.degree) +
                                      " takes as many arguments");
    }
    return Success(BlossomIn(spline, span, arguments));
}

std::vector<double> BlossomArguments(const Spline& spline, int j, int r, double t) {
    const int k = spline.degree;
    std::vector<double> arguments(static_cast<std::size_t>(std::clamp(r, 0, k)), t);
    for (int m = j + 1; m <= j + k - r; ++m) {
        if (m >= 0 && static_cast<std::size_t>(m) < spline.knots.size()) {
            arguments.push_back(spline.knots[static_cast<std::size_t>(m)]);
        }
    }
    std::sort(arguments.begin(), arguments.end());
    return arguments;
}

Outcome<BezierPiece> BezierPieceOf(const Spline& spline, int span) {
    return IsSpan(spline, span) ? Success(PieceOf(spline, span))
                                : Refusal<BezierPiece>(NoSpan(span));
}

Outcome<std::vector<BezierPiece>> BezierPieces(const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return Refusal<std::vector<BezierPiece>>(fault);
    }
    std::vector<BezierPiece> pieces;
    for (int i = spline.degree; i < static_cast<int>(spline.points.size()); ++i) {
        if (spline.knots[i] < spline.knots[i + 1]) {
            pieces.push_back(PieceOf(spline, i));
        }
    }
    return Success(std::move(pieces));
}

namespace {

bool IsRational(const Spline& spline) {
    return std::any_of(spline.weights.begin(), spline.weights.end(),
                       [&](double w) { return w != spline.weights.front(); });
}

// Every distinct knot of the domain once more, the knots outside it as they are; for a rational
// curve the ends k + 2 times instead, as its weights outside the domain could turn negative.
std::vector<double> RaisedKnots(const Spline& spline) {
    const SplineDomain domain = DomainOf(spline);
    std::vector<double> raised;
    if (IsRational(spline)) {
        const int d = spline.degree + 1;
        raised.assign(static_cast<std::size_t>(d), domain.first);
        for (double u : spline.knots) {
            if (u > domain.first && u < domain.last) {
                if (raised.back() != u) {
                    raised.push_back(u);
                }
                raised.push_back(u);
            }
        }
        raised.insert(raised.end(), static_cast<std::size_t>(d) + 1, domain.last);
        raised.insert(raised.begin(), domain.first);
        return raised;
    }
    for (std::size_t j = 0; j < spline.knots.size(); ++j) {
        const double u = spline.knots[j];
        raised.push_back(u);
        const bool lastCopy = j + 1 == spline.knots.size() || spline.knots[j + 1] != u;
        if (lastCopy && u >= domain.first && u <= domain.last) {
            raised.push_back(u);
        }
    }
    return raised;
}

// The span of the original whose piece the raised point j is taken from: one the point's basis
// function covers (j .. j + k + 1 of the raised knots), in the domain and not empty.
int RaisedSource(const Spline& spline, const std::vector<double>& raisedKnots, int j) {
    const std::vector<double>& v = raisedKnots;
    const SplineDomain domain = DomainOf(spline);
    const int d = spline.degree + 1;
    const int last = static_cast<int>(v.size()) - 2;
    for (int l = std::max(j, 0); l <= std::min(j + d, last); ++l) {
        if (v[l] < v[l + 1] && v[l] >= domain.first && v[l + 1] <= domain.last) {
            return SpanOf(spline, v[l]);
        }
    }
    // A basis function that is zero over the whole domain: its point does not shape the curve,
    // and is taken from the nearest piece.
    return SpanOf(spline,
                  v[std::min(std::max(j, 0), last)] < domain.first ? domain.first : domain.last);
}

WeightedPoint RaisedPoint(const Spline& spline, const std::vector<double>& raisedKnots, int j,
                          int span) {
    const std::vector<double>& v = raisedKnots;
    const int d = spline.degree + 1;
    // The raised blossom at v_(j+1) .. v_(j+d) is the mean of the blossom at the d choices of
    // d - 1 of them.
    Homogeneous sum{0.0, 0.0, 0.0};
    for (int left = 0; left < d; ++left) {
        std::vector<double> arguments;
        for (int r = 0; r < d; ++r) {
            if (r != left) {
                arguments.push_back(
                    v[static_cast<std::size_t>(j) + 1 + static_cast<std::size_t>(r)]);
            }
        }
        const WeightedPoint p = BlossomIn(spline, span, arguments);
        sum.x += p.point.x * p.weight;
        sum.y += p.point.y * p.weight;
        sum.w += p.weight;
    }
    return Project(Homogeneous{sum.x / d, sum.y / d, sum.w / d});
}

} // namespace

Outcome<Spline> RaiseDegree(const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return Refusal<Spline>(fault);
    }
    const int d = spline.degree + 1;
    const std::vector<double> v = RaisedKnots(spline);
    const int count = static_cast<int>(v.size()) - d - 1;
    std::vector<WeightedPoint> points;
    points.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int j = 0; j < count; ++j) {
        points.push_back(RaisedPoint(spline, v, j, RaisedSource(spline, v, j)));
    }
    return Success(FromWeighted(d, points, v));
}

Outcome<Spline> RaiseDegreeKept(KeptRaise& kept, const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        kept = KeptRaise{};
        return Refusal<Spline>(fault);
    }
    const int k = spline.degree;
    std::vector<double> v = RaisedKnots(spline);
    if (v != kept.knots) {
        kept = KeptRaise{v, {}, {}, {}};
        kept.taken.resize(spline.points.size() - static_cast<std::size_t>(k));
        const int count = static_cast<int>(v.size()) - k - 2;
        for (int j = 0; j < count; ++j) {
            const int source = RaisedSource(spline, v, j);
            std::vector<int>& taken = kept.taken[static_cast<std::size_t>(source - k)];
            kept.from.emplace_back(source, static_cast<int>(taken.size()));
            taken.push_back(j);
        }
    }
    const auto& bySpan = kept.points.Refresh(spline, [&](int i) {
        const std::vector<int>& taken = kept.taken[static_cast<std::size_t>(i - k)];
        std::vector<WeightedPoint> points(taken.size());
        std::transform(taken.begin(), taken.end(), points.begin(),
                       [&](int j) { return RaisedPoint(spline, v, j, i); });
        return points;
    });
    std::vector<WeightedPoint> points;
    for (const auto& [span, place] : kept.from) {
        points.push_back(
            bySpan[static_cast<std::size_t>(span - k)][static_cast<std::size_t>(place)]);
    }
    return Success(FromWeighted(k + 1, points, std::move(v)));
}
