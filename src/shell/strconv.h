#pragma once
// Number parsing shared by the INI store, time values and the size dialog.
// "." is always the decimal separator, whatever the locale.
#include <QByteArray>
#include <QString>
#include <optional>

// Whole number: leading blanks, optional sign, decimal digits or hex digits after
// "$", "x", "X", "0x", "0X"; nothing may follow; must fit in 32 bits.
std::optional<int> StrToIntStrict(const QByteArray &text);
inline std::optional<int> StrToIntStrict(const QString &text) { return StrToIntStrict(text.toUtf8()); }

// Decimal number: leading and trailing blanks, optional sign, digits with an optional
// "." and more digits, optional exponent. With allowLeadingDot false a text whose
// digits begin with "." (".5", "-.5") is refused.
std::optional<double> StrToFloatStrict(const QByteArray &text, bool allowLeadingDot = true);
inline std::optional<double> StrToFloatStrict(const QString &text, bool allowLeadingDot = true)
{
    return StrToFloatStrict(text.toUtf8(), allowLeadingDot);
}

// Round to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double x);
