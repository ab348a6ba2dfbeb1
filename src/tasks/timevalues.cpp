#include "tasks/timevalues.h"

#include "shell/strconv.h"

#include <cmath>
#include <limits>

double TimeToSeconds(const QString &text)
{
    const QByteArray t = text.toUtf8();
    const int c1 = t.indexOf(':');
    if (c1 < 0)
        return -1;
    const QByteArray h = t.left(c1);
    const QByteArray r = t.mid(c1 + 1);
    const int c2 = r.indexOf(':');
    if (c2 < 0)
        return -1;
    const QByteArray m = r.left(c2);
    const QByteArray s = r.mid(c2 + 1);
    const auto hv = StrToIntStrict(h);
    const auto mv = StrToIntStrict(m);
    if (!hv || !mv || s.startsWith('.'))
        return -1;
    const auto sv = StrToFloatStrict(s, true);
    if (!sv)
        return -1;
    const long long whole = static_cast<long long>(*hv) * 3600 + static_cast<long long>(*mv) * 60;
    if (whole > std::numeric_limits<int>::max() || whole < std::numeric_limits<int>::min())
        return -1;
    return static_cast<double>(whole) + *sv;
}

static QString twoDigits(long long v)
{
    QString digits = QString::number(v < 0 ? -v : v);
    if (digits.size() < 2)
        digits.prepend(QLatin1Char('0'));
    return v < 0 ? QLatin1Char('-') + digits : digits;
}

QString SecondsToTime(double x)
{
    long long t = static_cast<long long>(std::trunc(x));
    long long h = t / 3600;
    long long m = (t - 3600 * h) / 60;
    long long s = t - 3600 * h - 60 * m;
    // The tenth is computed in extended precision so that exact halves round as written.
    long double frac = (static_cast<long double>(x) - 3600.0L * h - 60.0L * m - s) * 10.0L;
    long long f = static_cast<long long>(std::nearbyint(frac));
    if (f == 10 || f == -10) {
        // Carry into the seconds: 59.96 is written 00:01:00, not 00:00:59.10.
        t += f / 10;
        f = 0;
        h = t / 3600;
        m = (t - 3600 * h) / 60;
        s = t - 3600 * h - 60 * m;
    }
    QString text = twoDigits(h) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(s);
    if (f != 0)
        text += QLatin1Char('.') + QString::number(f < 0 ? -f : f);
    return text;
}
