// What the part "Through the points" lets a learner choose, as pairs of the page's view: the fit
// ("interpolate" or "leastsquares"), the parameters' spacing, the knots, closed ends, the control
// points of least squares and its pinned ends. Read strictly like the view's other pairs.
#pragma once

#include <functional>
#include <string>

enum class FitShown { None, Interpolate, LeastSquares };
enum class FitSpacingChoice { Uniform, ChordLength, Centripetal };

struct FitView {
    FitShown shown = FitShown::None;
    FitSpacingChoice spacing = FitSpacingChoice::ChordLength;
    bool uniformKnots = false; // interpolation's knots uniform, not averaged
    bool closed = false;       // interpolation's ends
    int controls = -1;         // least squares' control points; -1: half the data, at least k + 1
    bool pinned = false;       // least squares' ends pinned to the first and last data points
};

bool SameFit(const FitView& a, const FitView& b);

// The view's names these pairs use, in the order they are read.
extern const char* const kFitViewNames[6];

// Takes one pair into the fit, given the scene's degree and points: "" when taken, else why not.
std::string TakeFitPair(FitView& fit, const std::string& name, const std::string& value, int degree,
                        int points);

// The pairs that differ from a fresh fit, each given to `pair` in order.
void FormatFitPairs(const FitView& fit,
                    const std::function<void(const char*, const std::string&)>& pair);

// The control points least squares takes: as chosen, else half the data, within k + 1 .. points.
int FitControls(const FitView& fit, int degree, int points);

const char* FitSpacingChoiceWord(FitSpacingChoice spacing); // "uniform", "chord", "centripetal"
const char* FitShownWord(FitShown shown);                   // "none", "interpolate", "leastsquares"
