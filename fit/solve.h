// A square linear system whose rows are banded, but for a few rows kept whole at its end (a
// closed curve's rows that wrap around to its first unknowns): solved by Gaussian elimination
// with partial pivoting among the band rows (the whole rows pivot among themselves at the end),
// in time linear in its size for a fixed band and few whole rows. No inverse is formed.
#pragma once

#include <vector>

struct BandedSystem {
    int size;  // n unknowns, n rows
    int lower; // a band row i holds columns i - lower .. i + upper
    int upper;
    int whole;                              // the last `whole` rows are kept whole (any columns)
    std::vector<double> band;               // (n - whole) rows of lower + (lower + upper) + 1 cells
    std::vector<double> wholeRows;          // whole rows of n cells
    std::vector<std::vector<double>> sides; // right-hand sides, each of n values
};

// A system of those sizes, all zero, with `sides` right-hand sides.
BandedSystem MakeBandedSystem(int size, int lower, int upper, int whole, int sides);

// Adds to the cell (row, column): within the band for a band row, anywhere for a whole row;
// false outside the band.
bool AddToCell(BandedSystem& system, int row, int column, double value);

// Each right-hand side becomes its solution; false (and the sides as they were left) when a pivot
// is too small against its row: the system is singular for these rows.
bool SolveBandedSystem(BandedSystem& system);
