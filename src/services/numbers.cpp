#include "numbers.h"

#include "toolkit/errors.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace FMain {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Reads an &H or &O integer at text[pos]; returns the number of characters used (0: none).
size_t readRadix(std::string_view text, size_t pos, double& value) {
    if (pos + 1 >= text.size() || text[pos] != '&')
        return 0;
    const char kind = text[pos + 1];
    const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (radix == 0)
        return 0;
    size_t i = pos + 2;
    value = 0;
    while (i < text.size() && digitValue(text[i]) < radix)
        value = value * radix + digitValue(text[i++]);
    return i - pos;
}

// from_chars leaves the value alone when it is out of range: whether it was too large or too small
// follows from the place of the first significant digit, which the exponent alone does not tell
// ("0.<400 zeros>1" is tiny, "1<400 zeros>e-10" huge).
bool tooSmall(const std::string& number) {
    const size_t e = number.find('e');
    const std::string digits = number.substr(0, e);
    const size_t point = std::min(digits.find('.'), digits.size());
    const size_t first = digits.find_first_of("123456789");
    if (first == std::string::npos)
        return true;
    // The power of ten of the first significant digit, saturated far beyond any double's range.
    constexpr long long kFar = 1'000'000'000;
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    if (e != std::string::npos) {
        long long exponent = 0;
        size_t i = e + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(kFar, exponent * 10 + (number[i] - '0'));
        power += negative ? -exponent : exponent;
    }
    return power < 0;
}

// Reads a decimal number at text[pos]: sign, digits, fraction, exponent (E or D). Returns the
// number of characters used, 0 when no digit was found.
size_t readDecimal(std::string_view text, size_t pos, double& value) {
    std::string buf;
    size_t i = pos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        buf += text[i++], ++digits;
    if (i < text.size() && text[i] == '.') {
        buf += text[i++];
        while (i < text.size() && isDigit(text[i]))
            buf += text[i++], ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                exponent += text[j++];
            buf += exponent;
            i = j;
        }
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        v = tooSmall(buf) ? 0.0 : std::numeric_limits<double>::infinity();
    value = negative ? -v : v;
    return i - pos;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::string compact;
    for (char c : text)
        if (!isBlank(c))
            compact += c;
    double value = 0;
    if (readRadix(compact, 0, value) > 0 || readDecimal(compact, 0, value) > 0)
        return value;
    return 0;
}

double NumberStrict(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    const std::string_view body = text.substr(begin, end - begin);
    double value = 0;
    size_t used = readRadix(body, 0, value);
    if (used <= 2)
        used = readDecimal(body, 0, value);
    if (used == 0 || used != body.size())
        throw toolkit::RuntimeError(toolkit::kTypeMismatch);
    return value;
}

float ToSingle(double value) {
    if (std::isnan(value) || std::abs(value) > std::numeric_limits<float>::max())
        throw toolkit::RuntimeError(toolkit::kOverflow);
    return static_cast<float>(value);
}

int32_t RoundToLong(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw toolkit::RuntimeError(toolkit::kOverflow);
    return static_cast<int32_t>(r);
}

uint8_t RoundToByte(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= 0.0 && r <= 255.0))
        throw toolkit::RuntimeError(toolkit::kOverflow);
    return static_cast<uint8_t>(r);
}

uint8_t ByteStrict(std::string_view text) {
    return RoundToByte(NumberStrict(text));
}

namespace {
// printf rather than std::to_chars: as exact, and the tables to_chars brings would grow the
// Windows executable by a third. printf writes the locale's decimal point: put ours back.
std::string printed(const char* format, int digits, double value) {
    char buf[400]; // the largest double has 309 digits before the point
    const int n = std::snprintf(buf, sizeof buf, format, digits, value);
    std::string s(buf, n > 0 ? std::min<size_t>(n, sizeof buf - 1) : 0);
    const std::string point = std::localeconv()->decimal_point;
    const size_t at = point == "." ? std::string::npos : s.find(point);
    if (at == std::string::npos || point.empty())
        return s;
    return s.substr(0, at) + "." + s.substr(at + point.size());
}

std::string generalText(double value, int digits) {
    if (value == 0)
        return "0"; // also for -0
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    return printed("%.*G", digits, value);
}
} // namespace

std::string NumberText(float value) {
    return generalText(value, 7);
}
std::string NumberText(double value) {
    std::string s = generalText(value, 15);
    // The largest doubles round up past the largest double at 15 digits, and such a text would
    // read back as infinity: round those toward zero instead.
    double back = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), back);
    if (std::isfinite(value) && std::abs(value) > 1 && r.ec == std::errc::result_out_of_range) {
        const size_t e = s.find('E');
        --s[e - 1];
    }
    return s;
}
std::string NumberText(int64_t value) {
    return std::to_string(value);
}

std::string FixedPointText(double value) {
    if (!std::isfinite(value))
        return NumberText(value);
    std::string s = printed("%.*f", 4, value);
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

} // namespace FMain
