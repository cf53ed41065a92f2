// Pixel, line and box drawing in world coordinates (y up, world y 0 on client row 239), into
// the surface each call is given: the editor's back buffer, or a test's.
#pragma once

#include "scene.h"

#include <cstdint>

constexpr std::uint32_t kWhitePixel = 0xFFFFFFFFu;

// Adds 0.5 in double precision and truncates toward zero, so world -1 and 0 both give 0.
// Values beyond the int32 range saturate (they are far off any surface anyway).
std::int32_t PixelRound(double v);

// R + 256 G + 65536 B, each channel rounded and cut to its low 8 bits.
std::uint32_t PixelValue(Color color);

// The stored form of a pixel value in a surface of that pixel order.
std::uint32_t StoredPixel(std::uint32_t colorref, PixelOrder order);

// The surface's one pixel write; positions outside it are dropped.
void WritePixel(const BackBuffer& surface, std::int64_t column, std::int64_t row,
                std::uint32_t stored);

void PlotPixel(const BackBuffer& surface, std::int32_t x, std::int32_t y, Color color);
void DrawLine(const BackBuffer& surface, float x0, float y0, float x1, float y1, Color color);
// DrawLine with the colour already in its stored form, for callers that draw many lines.
void DrawLineStored(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                    std::uint32_t stored);
// The lines from (xs[k], ys[k]) to (xs[k + 1], ys[k + 1]) for k + 1 < count, all in one
// colour and so in no particular order.
void DrawJoinedLinesStored(const BackBuffer& surface, const float* xs, const float* ys, int count,
                           std::uint32_t stored);
// Two lines (x0, y0, x1, y1 each) in one colour, stepped together, when both lie well inside
// the surface; otherwise draws nothing and returns false.
bool DrawLinePairInside(const BackBuffer& surface, const float* a, const float* b,
                        std::uint32_t stored);
// False only when no pixel of the line can be a pixel of the box.
bool LineMayReachBox(const float* line, float xlo, float xhi, float ylo, float yhi);
void FillBox(const BackBuffer& surface, float xlo, float xhi, float ylo, float yhi, Color color);
