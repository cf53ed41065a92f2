// Decimal numbers as text, for the scene text and the knots: read strictly (an optional '-',
// digits, an optional '.' and digits, an optional exponent; at most 48 characters; nothing
// else) and written back in the fewest characters that read back bit for bit.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kLongestDecimal = 48;

enum class DecimalRead { Ok, NotANumber, NotFinite };

// The float32 nearest the text, through double as the C library reads it.
DecimalRead ReadFloat(const char* s, std::size_t n, float& value);
DecimalRead ReadDouble(const char* s, std::size_t n, double& value);

// A whole number as a whole number; otherwise the fewest significant digits that read back as
// the same float32, in the shorter of the plain and exponent forms (plain on a tie).
std::string FormatFloat(float v);
// A whole number (below 1e15) as a whole number; otherwise the fewest significant digits that
// read back as the same double.
std::string FormatDouble(double v);
