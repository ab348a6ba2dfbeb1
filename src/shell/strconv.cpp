#include "shell/strconv.h"

#include <QLocale>
#include <cmath>
#include <limits>

std::optional<int> StrToIntStrict(const QByteArray &text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    } else if (i < n && (text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    }
    if (i >= n)
        return std::nullopt;
    unsigned long long value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (hex) {
        // Hexadecimal texts name the 32 bits themselves: $FFFFFFFF is -1.
        long long v = static_cast<long long>(static_cast<int>(static_cast<unsigned int>(value)));
        return static_cast<int>(negative ? -v : v);
    }
    long long v = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<double> StrToFloatStrict(const QByteArray &text, bool allowLeadingDot)
{
    int i = 0;
    const int n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    const int start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (!allowLeadingDot && i < n && text[i] == '.')
        return std::nullopt;
    int digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    bool dot = false;
    if (i < n && text[i] == '.') {
        dot = true;
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    Q_UNUSED(dot);
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        int expDigits = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    const int end = i;
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return std::nullopt;
    // QLocale wants digits on both sides of the ".": "5." and ".5" are filled out first.
    QByteArray part = text.mid(start, end - start);
    const int dotAt = part.indexOf('.');
    if (dotAt >= 0) {
        const bool digitAfter = dotAt + 1 < part.size() && part[dotAt + 1] >= '0' && part[dotAt + 1] <= '9';
        if (!digitAfter)
            part.insert(dotAt + 1, '0');
        const bool digitBefore = dotAt > 0 && part[dotAt - 1] >= '0' && part[dotAt - 1] <= '9';
        if (!digitBefore)
            part.insert(dotAt, '0');
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(QLatin1String(part), &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

long long RoundHalfEven(double x)
{
    return static_cast<long long>(std::nearbyint(x));
}
