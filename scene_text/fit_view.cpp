#include "fit_view.h"

#include <algorithm>
#include <iterator>

const char* const kFitViewNames[6] = {"fit", "spacing", "fitknots", "ends", "controls", "pin"};

const char* FitSpacingChoiceWord(FitSpacingChoice spacing) {
    return spacing == FitSpacingChoice::Uniform       ? "uniform"
           : spacing == FitSpacingChoice::ChordLength ? "chord"
                                                      : "centripetal";
}

const char* FitShownWord(FitShown shown) {
    return shown == FitShown::Interpolate    ? "interpolate"
           : shown == FitShown::LeastSquares ? "leastsquares"
                                             : "none";
}

bool SameFit(const FitView& a, const FitView& b) {
    return a.shown == b.shown && a.spacing == b.spacing && a.uniformKnots == b.uniformKnots &&
           a.closed == b.closed && a.controls == b.controls && a.pinned == b.pinned;
}

int FitControls(const FitView& fit, int degree, int points) {
    const int chosen = fit.controls >= 0 ? fit.controls : points / 2;
    return std::min(points, std::max(degree + 1, chosen));
}

std::string TakeFitPair(FitView& fit, const std::string& name, const std::string& value, int degree,
                        int points) {
    if (name == "fit") {
        const bool known = value == "interpolate" || value == "leastsquares";
        fit.shown = !known                   ? FitShown::None
                    : value == "interpolate" ? FitShown::Interpolate
                                             : FitShown::LeastSquares;
        return known ? "" : "not interpolate or leastsquares";
    }
    if (name == "spacing") {
        const FitSpacingChoice spacings[] = {FitSpacingChoice::Uniform,
                                             FitSpacingChoice::ChordLength,
                                             FitSpacingChoice::Centripetal};
        const auto* found =
            std::find_if(std::begin(spacings), std::end(spacings),
                         [&](FitSpacingChoice s) { return value == FitSpacingChoiceWord(s); });
        fit.spacing = found == std::end(spacings) ? fit.spacing : *found;
        return found == std::end(spacings) ? "not uniform, chord or centripetal" : "";
    }
    if (name == "fitknots") {
        fit.uniformKnots = value == "uniform";
        return fit.uniformKnots ? "" : "its one setting is uniform";
    }
    if (name == "ends") {
        fit.closed = value == "closed";
        return fit.closed ? "" : "its one setting is closed";
    }
    if (name == "pin") {
        fit.pinned = value == "ends";
        return fit.pinned ? "" : "its one setting is ends";
    }
    const bool whole =
        !value.empty() && value.size() <= 5 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int controls = whole ? std::stoi(value) : -1;
    if (controls < degree + 1 || controls > points) {
        return "least squares of degree " + std::to_string(degree) + " takes " +
               std::to_string(degree + 1) + " to " + std::to_string(points) + " control points";
    }
    fit.controls = controls;
    return "";
}

void FormatFitPairs(const FitView& fit,
                    const std::function<void(const char*, const std::string&)>& pair) {
    if (fit.shown != FitShown::None) {
        pair("fit", FitShownWord(fit.shown));
    }
    if (fit.spacing != FitSpacingChoice::ChordLength) {
        pair("spacing", FitSpacingChoiceWord(fit.spacing));
    }
    if (fit.uniformKnots) {
        pair("fitknots", "uniform");
    }
    if (fit.closed) {
        pair("ends", "closed");
    }
    if (fit.controls >= 0) {
        pair("controls", std::to_string(fit.controls));
    }
    if (fit.pinned) {
        pair("pin", "ends");
    }
}
