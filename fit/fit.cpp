#include "fit.h"

#include "solve.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int kDenseUpTo = 48; // a system this small is solved whole
constexpr const char* kUnsolvable =
    "the system cannot be solved for these knots: some span holds too many or too few parameters";

// A spline of these knots whose points are still to be found: for its basis functions.
Spline Skeleton(const std::vector<double>& knots, int degree) {
    const std::size_t count = knots.size() - static_cast<std::size_t>(degree) - 1;
    return Spline{degree, std::vector<SplinePoint>(count, SplinePoint{0, 0}),
                  std::vector<double>(count, 1.0), knots};
}

std::string KnotsFault(const std::vector<double>& knots, int degree, std::size_t points) {
    if (degree < 1 || knots.size() != points + static_cast<std::size_t>(degree) + 1) {
        return "the knots do not fit the degree and the points";
    }
    return SplineFault(Skeleton(knots, degree));
}

// The distances from the data to the curve at their parameters.
Fit Measured(Spline spline, const std::vector<SplinePoint>& data, std::vector<double> parameters,
             int lower, int upper) {
    Fit fit{std::move(spline), std::move(parameters), {}, 0.0, 0.0, lower, upper};
    double sum = 0.0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const SplinePoint p = SplineAt(fit.spline, fit.parameters[i]);
        fit.onCurve.push_back(p);
        const double distance = std::hypot(p.x - data[i].x, p.y - data[i].y);
        fit.largest = std::max(fit.largest, distance);
        sum += distance;
    }
    fit.mean = data.empty() ? 0.0 : sum / static_cast<double>(data.size());
    return fit;
}

struct Row {
    int first; // the first column of the values
    std::vector<double> values;
};

// Each parameter's basis values: the row of the collocation matrix.
std::vector<Row> RowsOf(const Spline& skeleton, const std::vector<double>& parameters) {
    std::vector<Row> rows;
    for (const double u : parameters) {
        const SplineBasis basis = BasisOf(skeleton, u);
        rows.push_back(Row{basis.first, basis.values});
    }
    return rows;
}

// The columns of a row's values, wrapped at n and turned back by `turn` so that the rows' largest
// values lie on the diagonal.
int ColumnOf(const Row& row, std::size_t j, int n, int turn) {
    return ((row.first + static_cast<int>(j) - turn) % n + n) % n;
}

// Solves the rows (in order) for x and y. Band cells within lower .. upper of the diagonal go to
// a banded system; a closed curve's few cells that wrap around a corner are added back by the
// Sherman-Morrison-Woodbury identity: A = B + U V^T, U one unit column per row with such cells.
Outcome<std::vector<SplinePoint>> SolveRows(const std::vector<Row>& rows,
                                            const std::vector<SplinePoint>& data, int turn,
                                            int& lower, int& upper) {
    const int n = static_cast<int>(rows.size());
    const auto inBand = [&](int p, int c) {
        return std::abs(c - p) <= 2 * static_cast<int>(rows[p].values.size());
    };
    lower = 0;
    upper = 0;
    std::vector<int> cornerRows;
    for (int p = 0; p < n; ++p) {
        bool corner = false;
        for (std::size_t j = 0; j < rows[p].values.size(); ++j) {
            const int c = ColumnOf(rows[p], j, n, turn);
            if (inBand(p, c)) {
                lower = std::max(lower, p - c);
                upper = std::max(upper, c - p);
            } else {
                corner = true;
            }
        }
        if (corner) {
            cornerRows.push_back(p);
        }
    }
    const int m = static_cast<int>(cornerRows.size());
    BandedSystem band = MakeBandedSystem(n, lower, upper, n <= kDenseUpTo ? n : 0, 2 + m);
    for (int p = 0; p < n; ++p) {
        for (std::size_t j = 0; j < rows[p].values.size(); ++j) {
            const int c = ColumnOf(rows[p], j, n, turn);
            if (n <= kDenseUpTo || inBand(p, c)) {
                AddToCell(band, p, c, rows[p].values[j]);
            }
        }
        band.sides[0][p] = data[p].x;
        band.sides[1][p] = data[p].y;
    }
    if (n <= kDenseUpTo) {
        cornerRows.clear();
    }
    for (std::size_t i = 0; i < cornerRows.size(); ++i) {
        band.sides[2 + i][cornerRows[i]] = 1.0;
    }
    if (!SolveBandedSystem(band)) {
        return Refusal<std::vector<SplinePoint>>(kUnsolvable);
    }
    std::vector<double> x = band.sides[0];
    std::vector<double> y = band.sides[1];
    if (!cornerRows.empty()) {
        // S = I + V^T Z, solved for V^T y; x less Z times that.
        const int size = static_cast<int>(cornerRows.size());
        BandedSystem small = MakeBandedSystem(size, 0, 0, size, 2);
        for (int i = 0; i < size; ++i) {
            const Row& row = rows[cornerRows[i]];
            AddToCell(small, i, i, 1.0);
            for (std::size_t j = 0; j < row.values.size(); ++j) {
                const int c = ColumnOf(row, j, n, turn);
                if (inBand(cornerRows[i], c)) {
                    continue;
                }
                for (int z = 0; z < size; ++z) {
                    AddToCell(small, i, z, row.values[j] * band.sides[2 + z][c]);
                }
                small.sides[0][i] += row.values[j] * x[c];
                small.sides[1][i] += row.values[j] * y[c];
            }
        }
        if (!SolveBandedSystem(small)) {
            return Refusal<std::vector<SplinePoint>>(kUnsolvable);
        }
        for (int c = 0; c < n; ++c) {
            for (int z = 0; z < size; ++z) {
                x[c] -= band.sides[2 + z][c] * small.sides[0][z];
                y[c] -= band.sides[2 + z][c] * small.sides[1][z];
            }
        }
    }
    std::vector<SplinePoint> points(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c) {
        points[static_cast<std::size_t>((c + turn) % n)] = SplinePoint{x[c], y[c]};
    }
    return Success(points);
}

} // namespace

Outcome<Fit> Interpolate(const std::vector<SplinePoint>& data,
                         const std::vector<double>& parameters, const std::vector<double>& knots,
                         int degree, bool closed) {
    const std::size_t n = data.size();
    const std::string fault = parameters.size() != n
                                  ? "each data point needs its parameter"
                                  : KnotsFault(knots, degree, closed ? n + degree : n);
    if (!fault.empty() || n < static_cast<std::size_t>(degree) + 1) {
        return Refusal<Fit>(fault.empty() ? "too few points for the degree" : fault);
    }
    const Spline skeleton = Skeleton(knots, degree);
    const SplineDomain domain = DomainOf(skeleton);
    std::vector<double> inDomain(n); // closed: before the domain's start, a period on
    std::transform(parameters.begin(), parameters.end(), inDomain.begin(),
                   [&](double u) { return closed && u < domain.first ? u + 1.0 : u; });
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return inDomain[a] < inDomain[b]; });
    std::vector<double> sorted;
    std::vector<SplinePoint> sortedData;
    for (const int i : order) {
        sorted.push_back(inDomain[i]);
        sortedData.push_back(data[i]);
    }
    const std::vector<Row> rows = RowsOf(skeleton, sorted);
    // The first row's largest value on the diagonal: a closed curve's columns turned that far.
    const Row& top = rows.front();
    const int turn =
        closed
            ? top.first + static_cast<int>(std::max_element(top.values.begin(), top.values.end()) -
                                           top.values.begin())
            : 0;
    int lower = 0;
    int upper = 0;
    const Outcome<std::vector<SplinePoint>> solved =
        SolveRows(rows, sortedData, turn, lower, upper);
    if (!solved.ok()) {
        return Refusal<Fit>(solved.fault);
    }
    Spline spline = skeleton;
    spline.points = solved.value;
    for (int j = 0; closed && j < degree; ++j) {
        spline.points.push_back(solved.value[static_cast<std::size_t>(j)]);
    }
    return Success(Measured(std::move(spline), data, inDomain, lower, upper));
}

Outcome<Fit> Approximate(const std::vector<SplinePoint>& data,
                         const std::vector<double>& parameters, const std::vector<double>& knots,
                         int degree, bool pinEnds) {
    const int controls = static_cast<int>(knots.size()) - degree - 1;
    const std::string fault = parameters.size() != data.size()
                                  ? "each data point needs its parameter"
                              : controls < degree + 1 || controls > static_cast<int>(data.size())
                                  ? "the knots do not fit the degree and the points"
                                  : KnotsFault(knots, degree, static_cast<std::size_t>(controls));
    if (!fault.empty()) {
        return Refusal<Fit>(fault);
    }
    if (controls == static_cast<int>(data.size())) {
        // As many points as data: the square system itself, better conditioned than its normal
        // equations, whose answer it is (an interpolant, through both ends).
        return Interpolate(data, parameters, knots, degree, false);
    }
    const Spline skeleton = Skeleton(knots, degree);
    const int first = pinEnds ? 1 : 0; // the unknowns: controls first .. last
    const int last = pinEnds ? controls - 2 : controls - 1;
    const int unknowns = last - first + 1;
    BandedSystem normal = MakeBandedSystem(std::max(unknowns, 0), degree, degree, 0, 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const SplineBasis basis = BasisOf(skeleton, parameters[i]);
        SplinePoint rest = data[i]; // less what the pinned ends give
        for (std::size_t a = 0; a < basis.values.size(); ++a) {
            const int j = basis.first + static_cast<int>(a);
            const SplinePoint pinned = j == 0 ? data.front() : data.back();
            if (j < first || j > last) {
                rest = SplinePoint{rest.x - basis.values[a] * pinned.x,
                                   rest.y - basis.values[a] * pinned.y};
            }
        }
        for (std::size_t a = 0; a < basis.values.size(); ++a) {
            const int row = basis.first + static_cast<int>(a) - first;
            if (row < 0 || row >= unknowns) {
                continue;
            }
            for (std::size_t b = 0; b < basis.values.size(); ++b) {
                const int column = basis.first + static_cast<int>(b) - first;
                if (column >= 0 && column < unknowns) {
                    AddToCell(normal, row, column, basis.values[a] * basis.values[b]);
                }
            }
            normal.sides[0][row] += basis.values[a] * rest.x;
            normal.sides[1][row] += basis.values[a] * rest.y;
        }
    }
    if (unknowns > 0 && !SolveBandedSystem(normal)) {
        return Refusal<Fit>(kUnsolvable);
    }
    Spline spline = skeleton;
    for (int j = 0; j < controls; ++j) {
        spline.points[j] =
            j < first  ? data.front()
            : j > last ? data.back()
                       : SplinePoint{normal.sides[0][j - first], normal.sides[1][j - first]};
    }
    return Success(Measured(std::move(spline), data, parameters, degree, degree));
}

std::vector<SplineBasis> CollocationOf(const Fit& fit) {
    std::vector<SplineBasis> rows(fit.parameters.size());
    std::transform(fit.parameters.begin(), fit.parameters.end(), rows.begin(),
                   [&](double u) { return BasisOf(fit.spline, u); });
    return rows;
}

Outcome<Fit> FitThrough(const std::vector<SplinePoint>& data, int degree, const FitChoice& choice) {
    if (choice.leastSquares && choice.closed) {
        return Refusal<Fit>("least squares fits an open curve: choose open ends");
    }
    const Outcome<std::vector<double>> parameters =
        FitParameters(data, choice.spacing, choice.closed && !choice.leastSquares);
    if (!parameters.ok()) {
        return Refusal<Fit>(parameters.fault);
    }
    const Outcome<std::vector<double>> knots =
        choice.leastSquares
            ? ApproximationKnots(parameters.value, degree, choice.controls)
            : InterpolationKnots(parameters.value, degree, choice.knots, choice.closed);
    if (!knots.ok()) {
        return Refusal<Fit>(knots.fault);
    }
    return choice.leastSquares
               ? Approximate(data, parameters.value, knots.value, degree, choice.pinEnds)
               : Interpolate(data, parameters.value, knots.value, degree, choice.closed);
}
