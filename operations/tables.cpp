#include "tables.h"

#include "calculus.h"
#include "decimal.h"
#include "refine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

Outcome<TableKind> TableKindNamed(const std::string& word) {
    const std::pair<const char*, TableKind> kinds[] = {{"triangle", TableKind::Triangle},
                                                       {"basis", TableKind::Basis},
                                                       {"refinement", TableKind::Refinement},
                                                       {"derivatives", TableKind::Derivatives}};
    for (const auto& [name, kind] : kinds) {
        if (word == name) {
            return Success(kind);
        }
    }
    return Refusal<TableKind>("there is no table \"" + word.substr(0, 24) + "\"");
}

Outcome<TableFormat> TableFormatNamed(const std::string& word) {
    if (word == "csv" || word == "latex") {
        return Success(word == "csv" ? TableFormat::Csv : TableFormat::Latex);
    }
    return Refusal<TableFormat>("tables are written as csv or latex, not \"" + word.substr(0, 24) +
                                "\"");
}

namespace {

TableCell Number(double value) {
    const std::string text = std::isfinite(value) ? FormatDouble(value) : ""; // no curvature: still
    return TableCell{text, text, CellKind::Number, {value}};
}

TableCell Plain(const std::string& text) {
    return TableCell{text, text};
}

TableCell Whole(int value) {
    return Plain(std::to_string(value));
}

std::string Joined(const std::vector<double>& values) {
    std::string text;
    for (std::size_t j = 0; j < values.size(); ++j) {
        text += (j > 0 ? ", " : "") + FormatDouble(values[j]);
    }
    return text;
}

TableCell PointName(int j, int r) {
    const std::string index = std::to_string(j);
    const std::string level = std::to_string(r);
    return TableCell{"P_" + index + "^" + level, "$P_{" + index + "}^{" + level + "}$"};
}

Table TriangleTable(const Spline& s, double t) {
    Table table{"de Boor's triangle at t = " + FormatDouble(t) + ", degree " +
                    std::to_string(s.degree),
                {Plain("t"), Plain("level"), Plain("index"), Plain("point"), Plain("blossom"),
                 Plain("x"), Plain("y"), Plain("weight")},
                {},
                {3}};
    const SplineTriangle triangle = TriangleOf(s, t);
    for (int r = 0; r <= triangle.degree; ++r) {
        for (std::size_t p = 0; p < triangle.levels[r].size(); ++p) {
            const int j = triangle.first + r + static_cast<int>(p);
            const std::vector<double> arguments = BlossomArguments(s, j, r, t);
            table.rows.push_back(
                {Number(t), Whole(r), Whole(j), PointName(j, r),
                 TableCell{"p(" + Joined(arguments) + ")", "", CellKind::Blossom, arguments},
                 Number(triangle.levels[r][p].x), Number(triangle.levels[r][p].y),
                 Number(triangle.weights[r][p])});
        }
    }
    return table;
}

Table BasisTable(const Spline& s, double t) {
    const std::string k = std::to_string(s.degree);
    Table table{"the basis functions of degree " + k + " at t = " + FormatDouble(t),
                {Plain("t"), Plain("point"), TableCell{"N_j," + k, "$N_{j," + k + "}(t)$"}},
                {},
                {1}};
    const SplineBasis basis = BasisOf(s, t);
    for (std::size_t p = 0; p < basis.values.size(); ++p) {
        const std::string j = std::to_string(basis.first + static_cast<int>(p));
        table.rows.push_back(
            {Number(t), TableCell{"P_" + j, "$P_{" + j + "}$"}, Number(basis.values[p])});
    }
    return table;
}

Table RefinementTable(const Spline& s, double t, int times) {
    const Refinement refinement = InsertKnotTimes(s, t, times).value;
    const Spline& refined = refinement.spline;
    const std::string what =
        refinement.inserted == 0
            ? "the curve as it is (t = " + FormatDouble(t) + " not inserted)"
            : "the curve with t = " + FormatDouble(t) + " inserted " +
                  (refinement.inserted == 1 ? "once"
                                            : std::to_string(refinement.inserted) + " times");
    Table table{what + ": points, weights and knots",
                {Plain("index"), Plain("x"), Plain("y"), Plain("weight"), Plain("knot")},
                {}};
    for (std::size_t j = 0; j < refined.knots.size(); ++j) {
        const bool point = j < refined.points.size();
        table.rows.push_back(
            {Whole(static_cast<int>(j)), point ? Number(refined.points[j].x) : Plain(""),
             point ? Number(refined.points[j].y) : Plain(""),
             point ? Number(refined.weights[j]) : Plain(""), Number(refined.knots[j])});
    }
    return table;
}

Table DerivativesTable(const Spline& s, double t) {
    const std::vector<SplinePoint> c = DerivativesAt(s, t, 2).value;
    const std::vector<double> lengths = SpanLengths(s).value;
    Table table{"the curve's derivatives, curvature and arc length at t = " + FormatDouble(t),
                {Plain("t"), Plain("x"), Plain("y"), TableCell{"dx", "$x'$"},
                 TableCell{"dy", "$y'$"}, TableCell{"ddx", "$x''$"}, TableCell{"ddy", "$y''$"},
                 TableCell{"curvature", "$\\kappa$"}, TableCell{"length to t", "$s(t)$"},
                 TableCell{"length", "$L$"}},
                {}};
    table.rows.push_back({Number(t), Number(c[0].x), Number(c[0].y), Number(c[1].x), Number(c[1].y),
                          Number(c[2].x), Number(c[2].y), Number(CurvatureOf(c[1], c[2])),
                          Number(LengthTo(s, lengths, t).value),
                          Number(LengthTo(s, lengths, DomainOf(s).last).value)});
    return table;
}

// "" when t is a number in the domain of a valid spline.
std::string AtFault(const Spline& spline, double t) {
    std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return fault;
    }
    const SplineDomain domain = DomainOf(spline);
    return t >= domain.first && t <= domain.last ? "" : "t must lie in the domain";
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Rounded(double value, int digits) {
    if (!std::isfinite(value)) {
        return "";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    const std::string rounded = text;
    return rounded.find_first_not_of("-0.") == std::string::npos && rounded[0] == '-'
               ? rounded.substr(1) // no "-0.0000"
               : rounded;
}

std::string LatexCell(const TableCell& cell, int digits) {
    if (cell.kind == CellKind::Number) {
        return Rounded(cell.numbers.at(0), digits);
    }
    if (cell.kind == CellKind::Text) {
        return cell.latex;
    }
    std::string arguments; // broken after a comma where the column is too narrow
    for (const double argument : cell.numbers) {
        arguments += (arguments.empty() ? "" : ",\\allowbreak ") + Rounded(argument, digits);
    }
    return "$p(" + arguments + ")$";
}

// A cell's width in points as a plain article sets it, a little generous: 5.5 pt a character
// and the column's 6 pt on either side; the text is 345 pt wide.
// A blossom's column is 150 pt wide, its arguments broken over lines; a table holds at most
// 36 rows on a page.
constexpr double kTextWidth = 345.0;
constexpr const char* kBlossomColumn = "p{150pt}";
constexpr double kBlossomWidth = 150.0;
constexpr std::size_t kRowsOnAPage = 36;
double WidthOf(const std::string& latex) {
    const std::size_t marks = static_cast<std::size_t>(std::count_if(
        latex.begin(), latex.end(), [](char c) { return std::strchr("${}_^\\", c) != nullptr; }));
    return 5.5 * static_cast<double>(latex.size() - marks) + 12.0;
}

// The columns of each part: the keys and as many other columns, in order, as fit the width.
std::vector<std::vector<std::size_t>> PartsOf(const Table& table,
                                              const std::vector<std::vector<std::string>>& cells) {
    std::vector<double> widths(table.head.size(), 0.0);
    for (const std::vector<std::string>& row : cells) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const bool blossom = !table.rows.empty() && table.rows[0][c].kind == CellKind::Blossom;
            widths[c] = blossom ? 162.0 : std::max(widths[c], WidthOf(row[c]));
        }
    }
    const auto isKey = [&](std::size_t c) {
        return std::find(table.keys.begin(), table.keys.end(), c) != table.keys.end();
    };
    double keysWidth = 0.0;
    for (const std::size_t key : table.keys) {
        keysWidth += widths.at(key);
    }
    std::vector<std::vector<std::size_t>> parts(1);
    double width = keysWidth;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (isKey(c)) {
            continue;
        }
        if (width + widths[c] > kTextWidth && !parts.back().empty()) {
            parts.emplace_back();
            width = keysWidth;
        }
        parts.back().push_back(c);
        width += widths[c];
    }
    for (std::vector<std::size_t>& part : parts) {
        part.insert(part.end(), table.keys.begin(), table.keys.end());
        std::sort(part.begin(), part.end());
    }
    return parts;
}

// The lines a row of these columns takes at most: a blossom's arguments are broken over lines.
std::size_t LinesOfARow(const std::vector<std::vector<std::string>>& cells,
                        const std::vector<std::size_t>& columns) {
    double widest = 0.0;
    for (const std::vector<std::string>& row : cells) {
        for (const std::size_t c : columns) {
            if (row[c].rfind("$p(", 0) == 0) {
                widest = std::max(widest, WidthOf(row[c]) - 12.0);
            }
        }
    }
    return static_cast<std::size_t>(std::ceil(widest / kBlossomWidth)) + (widest > 0.0 ? 0 : 1);
}

// The head and rows first .. end - 1 of the columns.
std::string LatexPart(const Table& table, const std::vector<std::vector<std::string>>& cells,
                      const std::vector<std::size_t>& columns, std::size_t first, std::size_t end) {
    std::string align;
    for (const std::size_t c : columns) {
        const CellKind kind = table.rows.empty() ? CellKind::Text : table.rows[0][c].kind;
        align += kind == CellKind::Number ? "r" : kind == CellKind::Blossom ? kBlossomColumn : "l";
    }
    std::string text = "\\begin{tabular}{@{}" + align + "@{}}\n\\toprule\n";
    for (std::size_t r = 0; r < cells.size(); ++r) {
        if (r > 0 && (r - 1 < first || r - 1 >= end)) {
            continue;
        }
        for (std::size_t c = 0; c < columns.size(); ++c) {
            text += (c > 0 ? " & " : "") + cells[r][columns[c]];
        }
        text += r == 0 ? " \\\\\n\\midrule\n" : " \\\\\n";
    }
    return text + "\\bottomrule\n\\end{tabular}\n";
}

} // namespace

Outcome<Table> TableAt(TableKind kind, const Spline& spline, double t, int times) {
    const std::string fault = AtFault(spline, t);
    if (!fault.empty()) {
        return Refusal<Table>(fault);
    }
    switch (kind) {
    case TableKind::Triangle:
        return Success(TriangleTable(spline, t));
    case TableKind::Basis:
        return Success(BasisTable(spline, t));
    case TableKind::Refinement:
        return times >= 0 ? Success(RefinementTable(spline, t, times))
                          : Refusal<Table>("t is inserted 0 times or more");
    case TableKind::Derivatives:
        break;
    }
    return Success(DerivativesTable(spline, t));
}

std::string TableCsv(const Table& table) {
    std::string text;
    for (std::size_t r = 0; r <= table.rows.size(); ++r) {
        const std::vector<TableCell>& row = r == 0 ? table.head : table.rows[r - 1];
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += (c > 0 ? "," : "") + CsvField(row[c].text);
        }
        text += "\r\n";
    }
    return text;
}

Outcome<std::string> TableLatex(const Table& table, int digits) {
    if (digits < 0 || digits > 12) {
        return Refusal<std::string>("tables are rounded to 0 to 12 digits");
    }
    std::vector<std::vector<std::string>> cells;
    for (std::size_t r = 0; r <= table.rows.size(); ++r) {
        const std::vector<TableCell>& row = r == 0 ? table.head : table.rows[r - 1];
        cells.emplace_back();
        for (const TableCell& cell : row) {
            cells.back().push_back(LatexCell(cell, digits));
        }
    }
    struct Piece {
        std::vector<std::size_t> columns;
        std::size_t first, end;
    };
    std::vector<Piece> pieces;
    for (const std::vector<std::size_t>& columns : PartsOf(table, cells)) {
        const std::size_t rows = kRowsOnAPage / LinesOfARow(cells, columns);
        for (std::size_t first = 0; first == 0 || first < table.rows.size(); first += rows) {
            pieces.push_back(Piece{columns, first, std::min(table.rows.size(), first + rows)});
        }
    }
    std::string text;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const std::string part = pieces.size() == 1 ? ""
                                                    : " (part " + std::to_string(p + 1) + " of " +
                                                          std::to_string(pieces.size()) + ")";
        text += std::string(p > 0 ? "\n\\par\\medskip\n" : "") + "% " + table.caption + part +
                "\n" + LatexPart(table, cells, pieces[p].columns, pieces[p].first, pieces[p].end);
    }
    return Success(text);
}

Outcome<std::string> TableText(const Table& table, TableFormat format, int digits) {
    return format == TableFormat::Csv ? Success(TableCsv(table)) : TableLatex(table, digits);
}

Outcome<std::vector<std::vector<TriangleLabel>>> TriangleLabels(const Spline& spline, double t) {
    using Labels = std::vector<std::vector<TriangleLabel>>;
    const std::string fault = AtFault(spline, t);
    if (!fault.empty()) {
        return Refusal<Labels>(fault);
    }
    const int first = SpanOf(spline, t) - spline.degree;
    Labels levels;
    for (int r = 0; r <= spline.degree; ++r) {
        std::vector<TriangleLabel> level;
        for (int p = 0; p + r <= spline.degree; ++p) {
            const int j = first + r + p;
            level.push_back(TriangleLabel{j, BlossomArguments(spline, j, r, t)});
        }
        levels.push_back(std::move(level));
    }
    return Success(std::move(levels));
}
