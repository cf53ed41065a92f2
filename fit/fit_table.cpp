#include "fit_table.h"

#include "decimal.h"

namespace {

TableCell Text(const std::string& text) {
    return TableCell{text, text, CellKind::Text, {}};
}

TableCell Number(double value) {
    return TableCell{FormatDouble(value), FormatDouble(value), CellKind::Number, {value}};
}

std::vector<TableCell> Line(const char* what, std::size_t index, const TableCell& u,
                            const TableCell& x, const TableCell& y) {
    return {Text(what), Text(std::to_string(index)), u, x, y};
}

} // namespace

Table FitTable(const Fit& fit, const std::vector<SplinePoint>& data, const std::string& caption) {
    Table table{
        caption, {Text("what"), Text("index"), Text("u"), Text("x"), Text("y")}, {}, {0, 1}};
    for (std::size_t i = 0; i < data.size(); ++i) {
        table.rows.push_back(
            Line("parameter", i, Number(fit.parameters[i]), Number(data[i].x), Number(data[i].y)));
    }
    for (std::size_t j = 0; j < fit.spline.knots.size(); ++j) {
        table.rows.push_back(Line("knot", j, Number(fit.spline.knots[j]), Text(""), Text("")));
    }
    for (std::size_t j = 0; j < fit.spline.points.size(); ++j) {
        table.rows.push_back(Line("point", j, Text(""), Number(fit.spline.points[j].x),
                                  Number(fit.spline.points[j].y)));
    }
    return table;
}
