#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quillora {

namespace {

bool isBlank(char16_t u)
{
    return u == ' ' || u == '\t';
}

bool isDigit(char16_t u)
{
    return u >= '0' && u <= '9';
}

// Reads digits with at most one decimal point from position i on, skipping blanks,
// and stops at the first other character. Returns the ASCII digits read ("" if none).
std::string readDigits(const QString &text, qsizetype i)
{
    std::string digits;
    bool point = false;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (isBlank(u))
            continue;
        if (isDigit(u)) {
            digits.push_back(static_cast<char>(u));
            anyDigit = true;
        } else if (u == '.' && !point) {
            digits.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return {};
    return digits;
}

double toDouble(const std::string &digits)
{
    if (digits.empty())
        return 0.0;
    double v = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return v;
}

// Decimal digits of |v| = d0.d1d2... x 10^exponent; precision < 0 asks for the
// shortest form that reads back as the same double.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decompose(double v, int precision)
{
    char buf[64];
    const auto res = precision < 0
        ? std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific)
        : std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision);
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    Decimal d;
    for (std::size_t i = 0; i < e; ++i) {
        if (s[i] != '.')
            d.digits.push_back(s[i]);
    }
    d.exponent = std::stoi(s.substr(e + 1));
    return d;
}

// round(|v| x 10^decimals), half away from zero, as a digit string. Rounding works on the
// shortest decimal form of v, so 2.675 rounds up as the user reading "2.675" expects.
std::string scaledRounded(double v, int decimals)
{
    const Decimal d = decompose(v, -1);
    const int n = static_cast<int>(d.digits.size());
    const int shift = d.exponent - (n - 1) + decimals; // power of ten of the last digit, scaled
    if (shift >= 0)
        return d.digits + std::string(shift, '0');
    const int keep = n + shift;
    if (keep < 0)
        return "0";
    std::string kept = d.digits.substr(0, keep);
    if (d.digits[keep] >= '5') {
        int i = keep - 1;
        for (; i >= 0 && kept[i] == '9'; --i)
            kept[i] = '0';
        if (i >= 0)
            ++kept[i];
        else
            kept.insert(kept.begin(), '1');
    }
    return kept.empty() ? "0" : kept;
}

bool allZero(const std::string &digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

// Places a decimal point before the last `decimals` digits, keeping one leading zero.
QString withPoint(std::string digits, int decimals, bool negative)
{
    const bool zero = allZero(digits);
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    const auto first = digits.find_first_not_of('0');
    const auto intEnd = digits.size() - decimals;
    const auto start = (first == std::string::npos || first >= intEnd) ? intEnd - 1 : first;
    std::string out = (negative && !zero) ? "-" : "";
    out += digits.substr(start, intEnd - start);
    if (decimals > 0) {
        out.push_back('.');
        out.append(digits, intEnd);
    }
    return QString::fromLatin1(out);
}

QString stripFraction(QString s)
{
    if (!s.contains(QLatin1Char('.')))
        return s;
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

} // namespace

double leadingNumber(const QString &text)
{
    return toDouble(readDigits(text, 0));
}

double signedLeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i).unicode()))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    const double v = toDouble(readDigits(text, i));
    return (negative && v != 0.0) ? -v : v;
}

QString gm(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isDigit(text.at(i).unicode()))
            return plainNumber(toDouble(readDigits(text, i)));
    }
    return QString();
}

QString DelNumberReg(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isDigit(c.unicode()))
            out.append(c);
    }
    return out;
}

QString plainNumber(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    if (v == 0.0)
        return QStringLiteral("0");
    const Decimal d = decompose(v, 14); // 15 significant digits
    const int n = static_cast<int>(d.digits.size());
    const int decimals = std::max(0, (n - 1) - d.exponent);
    std::string digits = d.digits;
    if (decimals == 0)
        digits += std::string(d.exponent - (n - 1), '0');
    return stripFraction(withPoint(digits, decimals, v < 0));
}

QString format00(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    return withPoint(scaledRounded(v, 2), 2, v < 0);
}

Money Money::fromDouble(double v)
{
    if (!std::isfinite(v))
        return Money();
    const std::string digits = scaledRounded(v, 4);
    constexpr auto maxUnits = std::numeric_limits<std::int64_t>::max();
    std::int64_t units = 0;
    const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), units);
    if (res.ec == std::errc::result_out_of_range)
        units = maxUnits; // beyond 922 trillion: saturate rather than wrap
    return Money(v < 0 ? -units : units);
}

QString Money::format00() const
{
    // Ten-thousandths to hundredths, half away from zero.
    const std::uint64_t magnitude = m_units < 0 ? 0 - static_cast<std::uint64_t>(m_units)
                                                : static_cast<std::uint64_t>(m_units);
    const std::uint64_t hundredths = (magnitude + 50) / 100;
    return withPoint(std::to_string(hundredths), 2, m_units < 0);
}

QString Money::toPlain() const
{
    const std::uint64_t magnitude = m_units < 0 ? 0 - static_cast<std::uint64_t>(m_units)
                                                : static_cast<std::uint64_t>(m_units);
    return stripFraction(withPoint(std::to_string(magnitude), 4, m_units < 0));
}

} // namespace quillora
