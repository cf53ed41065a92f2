#include "decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the run of digits from i ends.
std::size_t DigitsEnd(const char* s, std::size_t n, std::size_t i) {
    while (i < n && IsDigit(s[i])) {
        ++i;
    }
    return i;
}

// An optional '-', digits, an optional fraction, an optional exponent: nothing else.
bool IsDecimal(const char* s, std::size_t n) {
    std::size_t i = n > 0 && s[0] == '-' ? 1 : 0;
    std::size_t end = DigitsEnd(s, n, i);
    if (end == i) {
        return false;
    }
    i = end;
    if (i < n && s[i] == '.') {
        end = DigitsEnd(s, n, i + 1);
        if (end == i + 1) {
            return false;
        }
        i = end;
    }
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '-' || s[i] == '+')) {
            ++i;
        }
        end = DigitsEnd(s, n, i);
        if (end == i) {
            return false;
        }
        i = end;
    }
    return i == n;
}

} // namespace

DecimalRead ReadFloat(const char* s, std::size_t n, float& value) {
    if (n == 0 || n > kLongestDecimal || !IsDecimal(s, n)) {
        return DecimalRead::NotANumber;
    }
    char copy[kLongestDecimal + 1];
    std::memcpy(copy, s, n);
    copy[n] = '\0';
    const float read = std::strtof(copy, nullptr);
    if (!std::isfinite(read)) {
        return DecimalRead::NotFinite;
    }
    value = read;
    return DecimalRead::Ok;
}

DecimalRead ReadDouble(const char* s, std::size_t n, double& value) {
    if (n == 0 || n > kLongestDecimal || !IsDecimal(s, n)) {
        return DecimalRead::NotANumber;
    }
    const std::string copy(s, n);
    const double read = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(read)) {
        return DecimalRead::NotFinite;
    }
    value = read;
    return DecimalRead::Ok;
}

std::string FormatDouble(double v) {
    char text[64];
    if (std::trunc(v) == v && std::fabs(v) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", v);
        return text;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, v);
        if (std::strtod(text, nullptr) == v) {
            break;
        }
    }
    return text;
}

std::string FormatFloat(float v) {
    char text[64];
    if (std::trunc(v) == v) {
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(v));
        return text;
    }
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, static_cast<double>(v));
        if (std::strtof(text, nullptr) == v) {
            break;
        }
    }
    const char* e = std::strchr(text, 'e');
    const int exponent = std::atoi(e + 1);
    const std::string sign = text[0] == '-' ? "-" : "";
    std::string digits;
    for (const char* c = text; c != e; ++c) {
        if (IsDigit(*c)) {
            digits += *c;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1); // never empty: v is not whole, so not 0
    std::string scientific = sign + digits.substr(0, 1);
    if (digits.size() > 1) {
        scientific += "." + digits.substr(1);
    }
    scientific += "e" + std::to_string(exponent);
    std::string plain;
    if (exponent < 0) {
        plain = sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1; // < digits.size()
        plain = sign + digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return plain.size() <= scientific.size() ? plain : scientific;
}
