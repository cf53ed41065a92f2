// The numbers at t as tables for teachers: de Boor's triangle, the basis values, a refinement,
// and the derivatives with curvature and arc length; each as CSV (RFC 4180) or LaTeX, every
// number in the fewest digits that read back the same. The triangle's points named, as the
// tables and the drawing name them.
#pragma once

#include "spline.h"

#include <string>
#include <vector>

enum class TableKind { Triangle, Basis, Refinement, Derivatives };
enum class TableFormat { Csv, Latex };

// "triangle", "basis", "refinement", "derivatives"; "csv", "latex".
Outcome<TableKind> TableKindNamed(const std::string& word);
Outcome<TableFormat> TableFormatNamed(const std::string& word);

// A cell as plain text with every digit (CSV) and as LaTeX has it. A number's or a blossom's
// LaTeX is written from its numbers, rounded to the digits a slide asks for.
enum class CellKind { Text, Number, Blossom };
struct TableCell {
    std::string text;
    std::string latex;
    CellKind kind = CellKind::Text;
    std::vector<double> numbers = {}; // a number's value; a blossom's arguments
};

struct Table {
    std::string caption;
    std::vector<TableCell> head;
    std::vector<std::vector<TableCell>> rows; // each as many cells as the head
    std::vector<std::size_t> keys = {0};      // the columns that name a row, in every part
};

// The table of that kind at t (in the domain) on the spline; `times` is how many times the
// refinement inserts t (as far as it can be).
Outcome<Table> TableAt(TableKind kind, const Spline& spline, double t, int times);

// CSV: the head's row then each row, fields separated by commas and quoted where they hold a
// comma, a quote or a line end (a quote doubled), each record ending in CRLF.
std::string TableCsv(const Table& table);
// booktabs tabulars with the caption as a comment, numbers rounded to `digits` decimals (0 to
// 12); a table wider than a plain article's text is split into parts that fit, each with the
// key columns. Needs \usepackage{booktabs} (and amsmath for the heads).
constexpr int kLatexDigits = 4;
Outcome<std::string> TableLatex(const Table& table, int digits);
Outcome<std::string> TableText(const Table& table, TableFormat format, int digits);

// The triangle's point j at level r: its index and its blossom's arguments (BlossomArguments),
// per level from 0 to k, at t in the domain.
struct TriangleLabel {
    int index;
    std::vector<double> arguments;
};
Outcome<std::vector<std::vector<TriangleLabel>>> TriangleLabels(const Spline& spline, double t);
