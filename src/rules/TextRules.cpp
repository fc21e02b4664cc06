#include "rules/TextRules.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include <QDir>

#include "base/Error.h"

namespace textrules {

namespace {

[[noreturn]] void overflow()
{
    throw imaging::Error(imaging::Error::Kind::InvalidArgument, QStringLiteral("オーバーフローしました。"));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\u3000';
}

// The text with every blank taken out, as plain ASCII where it matters.
std::string withoutBlanks(QStringView text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        // Anything outside ASCII ends a number; keep a marker that fits nothing.
        out.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number in the C locale's spelling, whatever locale the program
// runs under: under a German LC_NUMERIC strtod would read "3.5" as 3. A
// value too small for a double is 0; one too large overflows.
double parseDecimal(const std::string &number)
{
    const char *first = number.data();
    const char *last = first + number.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        const auto exponent = number.find_first_of("eE");
        if (exponent == std::string::npos || number[exponent + 1] != '-')
            overflow();
        return number.front() == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != last || !std::isfinite(value))
        overflow();
    return value;
}

// "&H1F" / "&O17": the integer after the prefix, as far as its digits go.
// Values that fill 16 or 32 bits read as negative, as such literals do.
std::optional<double> radixNumber(const std::string &s, std::size_t &end)
{
    if (s.size() < 2 || s[0] != '&')
        return std::nullopt;
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
    if (base == 0)
        return std::nullopt;
    std::size_t i = 2;
    quint64 value = 0;
    for (; i < s.size(); ++i) {
        const int digit = std::isxdigit(static_cast<unsigned char>(s[i]))
            ? (isDigit(s[i]) ? s[i] - '0' : std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 10)
            : 99;
        if (digit >= base)
            break;
        value = value * static_cast<quint64>(base) + static_cast<quint64>(digit);
        if (value > 0xFFFFFFFFull)
            overflow();
    }
    end = i;
    if (value <= 0x7FFF)
        return double(value);
    if (value <= 0xFFFF)
        return double(static_cast<qint16>(static_cast<quint16>(value)));
    return double(static_cast<qint32>(static_cast<quint32>(value)));
}

// The longest decimal number at the start of s; end is where it stops (0: none).
double decimalNumber(const std::string &s, std::size_t &end)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool point = false;
    std::size_t digits = 0;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i]))
            ++digits;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0) {
        end = 0;
        return 0.0;
    }
    std::string number = s.substr(0, i);
    // An exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        const std::size_t expDigits = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > expDigits) {
            number += 'e';
            number += s.substr(i + 1, j - i - 1);
            i = j;
        }
    }
    end = i;
    return parseDecimal(number);
}

} // namespace

double leadingNumber(QStringView text)
{
    const std::string s = withoutBlanks(text);
    std::size_t end = 0;
    if (const auto radix = radixNumber(s, end))
        return *radix;
    return decimalNumber(s, end);
}

std::optional<double> strictNumber(QStringView text)
{
    // Blanks only around the number: inside it they end the number.
    const QString trimmed = text.toString().trimmed();
    for (const QChar c : trimmed)
        if (isBlank(c))
            return std::nullopt;
    const std::string s = withoutBlanks(trimmed);
    if (s.empty())
        return std::nullopt;
    std::size_t end = 0;
    if (const auto radix = radixNumber(s, end))
        return end == s.size() && end > 2 ? radix : std::nullopt;
    const double value = decimalNumber(s, end);
    if (end != s.size())
        return std::nullopt;
    return value;
}

double roundHalfEven(double value)
{
    // The default floating-point rounding mode is to nearest, ties to even.
    return std::nearbyint(value);
}

qint16 toInt16(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<qint16>::min() && r <= std::numeric_limits<qint16>::max()))
        overflow();
    return static_cast<qint16>(r);
}

qint32 toInt32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        overflow();
    return static_cast<qint32>(r);
}

qint32 multiply32(qint32 a, qint32 b)
{
    qint32 product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        overflow();
    return product;
}

QString formatNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Hold the value to 15 significant digits first, so 0.1 + 0.2 shows 0.3,
    // then write the shortest fixed form that reads back as that value.
    char held[32];
    const auto heldEnd = std::to_chars(held, held + sizeof held, value, std::chars_format::scientific, 14).ptr;
    const double rounded = parseDecimal(std::string(held, heldEnd));
    char out[400];
    const auto result = std::to_chars(out, out + sizeof out, rounded == 0.0 ? 0.0 : rounded,
                                      std::chars_format::fixed);
    return QString::fromLatin1(out, result.ptr - out);
}


} // namespace textrules
