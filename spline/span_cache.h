// Values per span of a spline, kept from frame to frame: a span's value is computed again only
// when its k + 1 points, their weights or its 2k knots change, which is all a span's piece
// depends on; a drag changes the k + 1 spans its point shapes. The spline must be valid.
#pragma once

#include "spline.h"

#include <vector>

// Span k + s at s; Refresh(spline, compute) makes the values current, compute(i) giving span i's.
template <typename T> struct SpanCache {
    std::vector<std::vector<double>> keys;
    std::vector<T> values;

    template <typename Compute> const std::vector<T>& Refresh(const Spline& s, Compute compute) {
        const int k = s.degree;
        const int n = static_cast<int>(s.points.size());
        keys.resize(static_cast<std::size_t>(n - k));
        values.resize(static_cast<std::size_t>(n - k));
        for (int i = k; i < n; ++i) {
            std::vector<double>& key = keys[static_cast<std::size_t>(i - k)];
            if (!Holds(key, s, i)) {
                key.assign(s.knots.begin() + (i - k + 1), s.knots.begin() + (i + k + 1));
                for (int j = i - k; j <= i; ++j) {
                    const auto index = static_cast<std::size_t>(j);
                    key.insert(key.end(), {s.points[index].x, s.points[index].y, s.weights[index]});
                }
                values[static_cast<std::size_t>(i - k)] = compute(i);
            }
        }
        return values;
    }

    // Whether the key is span i's knots u_(i-k+1) .. u_(i+k), then its points' x, y and weight,
    // compared where they lie, every frame, without copying them.
    static bool Holds(const std::vector<double>& key, const Spline& s, int i) {
        const int k = s.degree;
        if (key.size() != 5 * static_cast<std::size_t>(k) + 3) { // 2k knots, k + 1 points
            return false;
        }
        std::size_t at = 0;
        for (int j = i - k + 1; j <= i + k; ++j) {
            if (key[at++] != s.knots[static_cast<std::size_t>(j)]) {
                return false;
            }
        }
        for (int j = i - k; j <= i; ++j) {
            const auto index = static_cast<std::size_t>(j);
            if (key[at] != s.points[index].x || key[at + 1] != s.points[index].y ||
                key[at + 2] != s.weights[index]) {
                return false;
            }
            at += 3;
        }
        return true;
    }
};
