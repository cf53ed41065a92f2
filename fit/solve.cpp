#include "solve.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int Width(const BandedSystem& s) {
    return 2 * s.lower + s.upper + 1; // room for the fill that pivoting brings
}

// The cell of row `row` (a band row or a whole row) at `column`, or null where it is always 0.
double* Cell(BandedSystem& s, int row, int column) {
    const int bandRows = s.size - s.whole;
    if (row >= bandRows) {
        return &s.wholeRows[static_cast<std::size_t>(row - bandRows) * s.size + column];
    }
    const int offset = column - row + s.lower;
    if (offset < 0 || offset >= Width(s)) {
        return nullptr;
    }
    return &s.band[static_cast<std::size_t>(row) * Width(s) + offset];
}

double ValueAt(BandedSystem& s, int row, int column) {
    const double* cell = Cell(s, row, column);
    return cell == nullptr ? 0.0 : *cell;
}

// The last column a row at this position can hold after elimination.
int LastColumn(const BandedSystem& s, int row) {
    return row >= s.size - s.whole ? s.size - 1 : std::min(s.size - 1, row + s.lower + s.upper);
}

// The rows that can hold column c below the diagonal: band rows up to c + lower, and every whole
// row.
std::vector<int> RowsBelow(const BandedSystem& s, int c) {
    std::vector<int> rows;
    const int bandRows = s.size - s.whole;
    for (int r = c + 1; r < std::min(bandRows, c + s.lower + 1); ++r) {
        rows.push_back(r);
    }
    for (int r = std::max(bandRows, c + 1); r < s.size; ++r) {
        rows.push_back(r);
    }
    return rows;
}

void SwapRows(BandedSystem& s, int a, int b, int from) {
    const int last = std::max(LastColumn(s, a), LastColumn(s, b));
    for (int column = from; column <= last; ++column) {
        double* x = Cell(s, a, column);
        double* y = Cell(s, b, column);
        const double held = x == nullptr ? 0.0 : *x;
        if (x != nullptr) {
            *x = y == nullptr ? 0.0 : *y;
        }
        if (y != nullptr) {
            *y = held;
        }
    }
    for (std::vector<double>& side : s.sides) {
        std::swap(side[a], side[b]);
    }
}

} // namespace

BandedSystem MakeBandedSystem(int size, int lower, int upper, int whole, int sides) {
    BandedSystem s{size, lower, upper, whole, {}, {}, {}};
    s.band.assign(static_cast<std::size_t>(size - whole) * Width(s), 0.0);
    s.wholeRows.assign(static_cast<std::size_t>(whole) * size, 0.0);
    s.sides.assign(static_cast<std::size_t>(sides), std::vector<double>(size, 0.0));
    return s;
}

bool AddToCell(BandedSystem& system, int row, int column, double value) {
    const bool inBand = row >= system.size - system.whole ||
                        (column >= row - system.lower && column <= row + system.upper);
    double* cell = inBand ? Cell(system, row, column) : nullptr;
    if (cell == nullptr) {
        return false;
    }
    *cell += value;
    return true;
}

bool SolveBandedSystem(BandedSystem& s) {
    double scale = 0.0;
    for (const std::vector<double>* cells : {&s.band, &s.wholeRows}) {
        for (const double value : *cells) {
            scale = std::max(scale, std::fabs(value));
        }
    }
    for (int c = 0; c < s.size; ++c) {
        const std::vector<int> below = RowsBelow(s, c);
        // A whole row is not moved into the band, where its far cells would have no room.
        const bool inBand = c < s.size - s.whole;
        int pivot = c;
        for (const int r : below) {
            if ((!inBand || r < s.size - s.whole) &&
                std::fabs(ValueAt(s, r, c)) > std::fabs(ValueAt(s, pivot, c))) {
                pivot = r;
            }
        }
        if (!(std::fabs(ValueAt(s, pivot, c)) > 1e-12 * scale)) {
            return false;
        }
        if (pivot != c) {
            SwapRows(s, c, pivot, c);
        }
        const double diagonal = ValueAt(s, c, c);
        const int last = LastColumn(s, c);
        for (const int r : below) {
            const double factor = ValueAt(s, r, c) / diagonal;
            if (factor == 0.0) {
                continue;
            }
            for (int column = c; column <= last; ++column) {
                double* cell = Cell(s, r, column);
                if (cell != nullptr) {
                    *cell -= factor * ValueAt(s, c, column);
                }
            }
            for (std::vector<double>& side : s.sides) {
                side[r] -= factor * side[c];
            }
        }
    }
    for (int c = s.size - 1; c >= 0; --c) {
        const int last = LastColumn(s, c);
        for (std::vector<double>& side : s.sides) {
            double sum = side[c];
            for (int column = c + 1; column <= last; ++column) {
                sum -= ValueAt(s, c, column) * side[column];
            }
            side[c] = sum / ValueAt(s, c, c);
        }
    }
    return true;
}
