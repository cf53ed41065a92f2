#include "tables.h"

#include "calculus.h"
#include "decimal.h"
#include "refine.h"

#include <cmath>

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
    return TableCell{text, text};
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
                {}};
    const SplineTriangle triangle = TriangleOf(s, t);
    for (int r = 0; r <= triangle.degree; ++r) {
        for (std::size_t p = 0; p < triangle.levels[r].size(); ++p) {
            const int j = triangle.first + r + static_cast<int>(p);
            const std::string blossom = "p(" + Joined(BlossomArguments(s, j, r, t)) + ")";
            table.rows.push_back({Number(t), Whole(r), Whole(j), PointName(j, r),
                                  TableCell{blossom, "$" + blossom + "$"},
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
                {}};
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

std::string TableLatex(const Table& table) {
    std::string text =
        "% " + table.caption + "\n\\begin{tabular}{" + std::string(table.head.size(), 'l') + "}\n";
    for (std::size_t r = 0; r <= table.rows.size(); ++r) {
        const std::vector<TableCell>& row = r == 0 ? table.head : table.rows[r - 1];
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += (c > 0 ? " & " : "") + row[c].latex;
        }
        text += r == 0 ? " \\\\\n\\hline\n" : " \\\\\n";
    }
    return text + "\\end{tabular}\n";
}

std::string TableText(const Table& table, TableFormat format) {
    return format == TableFormat::Csv ? TableCsv(table) : TableLatex(table);
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
