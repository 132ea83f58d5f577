#pragma once

#include <QString>

#include <compare>
#include <cstdint>

namespace quillora {

// Numbers typed or stored as text: the leading number counts, blanks are skipped,
// a text without a number is 0.
double leadingNumber(const QString &text);
double signedLeadingNumber(const QString &text);

// The first number anywhere in a text as plain decimal text ("" when there is no digit).
QString gm(const QString &text);

// The text with every ASCII digit removed.
QString DelNumberReg(const QString &text);

// Numbers shown to the user: plain decimals (no exponent, no trailing zeros, 15 significant
// digits) and the two-decimal money format, rounded half away from zero as written.
QString plainNumber(double v);
QString format00(double v);

// An amount of money in ten-thousandths, so totals add up without binary drift.
class Money
{
public:
    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units) { return Money(units); }
    static Money fromDouble(double v);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / 10000.0; }
    bool isZero() const { return m_units == 0; }
    QString format00() const;
    QString toPlain() const;

    constexpr Money &operator+=(Money other)
    {
        m_units += other.m_units;
        return *this;
    }
    friend constexpr Money operator+(Money a, Money b) { return a += b; }
    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;

private:
    constexpr explicit Money(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace quillora
