// A fit as a table for CSV and LaTeX (tables.h): one row a line, `what,index,u,x,y`: each data
// point's parameter u and its x, y ("parameter"), each knot u ("knot"), each control point's
// x, y ("point").
#pragma once

#include "fit.h"
#include "tables.h"

Table FitTable(const Fit& fit, const std::vector<SplinePoint>& data, const std::string& caption);
