// Turns a number into its short display text: whole, fixed or scientific, with a decimal comma.
#include "support/FormatNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tavlix {

namespace {

// Decimal exponent estimate: ln x times this constant (just below 1/ln 10), truncated toward zero. It is meant to
// fall short at exact powers of ten: 10^6 estimates 5 and is still written in full at width 6. An exact log10
// would change which numbers are written in full, on axes and in messages users already know.
constexpr double Log10Factor = 0.4342944819;
// A fraction smaller than this makes a number whole.
constexpr double WholeTolerance = 1e-5;
constexpr std::size_t ExponentDigits = 4;

// Locale-independent: the point is always ".", whatever the program's locale says.
std::string formatDigits(std::chars_format format, int precision, double x)
{
    char buffer[1100];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, format, precision);
    if (ec != std::errc())
        return formatDigits(std::chars_format::scientific, 17, x);
    return std::string(buffer, end);
}

// Drops the fraction's trailing zeros, and the point when no fraction digit is left.
void trimFraction(std::string& s)
{
    if (s.find('.') == std::string::npos)
        return;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
}

// One digit, point, m - 1 digits, "E", sign and exactly four exponent digits; zeros before the "E" removed.
std::string formatScientific(int width, double x)
{
    int m = std::clamp(width - 8, 2, 18);
    std::string s = formatDigits(std::chars_format::scientific, m - 1, x);
    std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    char sign = s[e + 1];
    std::string digits = std::to_string(std::abs(std::atoi(s.c_str() + e + 2)));
    if (digits.size() < ExponentDigits)
        digits.insert(0, ExponentDigits - digits.size(), '0');
    trimFraction(mantissa);
    return mantissa + "E" + sign + digits;
}

std::string formatPositive(int width, double x)
{
    int k = static_cast<int>(std::trunc(std::log(x) * Log10Factor));
    double f = x - std::trunc(x);
    if (std::fabs(f) < WholeTolerance && k > 0 && k < width)
        return formatDigits(std::chars_format::fixed, 0, x);
    if (std::abs(k) >= width - 2 || k < -5)
        return formatScientific(width, x);
    int decimals = std::max(0, k <= 0 ? width - 2 : width - k - 2);
    std::string s = formatDigits(std::chars_format::fixed, decimals, x);
    trimFraction(s);
    return s;
}

}  // namespace

std::string formatNumber(int width, double x)
{
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x > 0 ? "INF" : "-INF";
    if (x == 0)
        return "0";
    if (x < 0)
        return "-" + formatNumber(width - 1, -x);
    std::string s = formatPositive(width, x);
    s.erase(0, s.find_first_not_of(' '));
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

}  // namespace tavlix
