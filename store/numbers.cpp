#include "numbers.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

double toNumber(const QString& text, bool* ok)
{
    bool parsed = false;
    const double value = text.toDouble(&parsed);
    // toDouble accepts "nan" and "inf" and flags an overflow only through ok.
    const bool good = parsed && std::isfinite(value);
    if (ok)
        *ok = good;
    return good ? value : 0.0;
}

double toNumber(const QString& text)
{
    return toNumber(text, nullptr);
}

int toInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

int clampedInt(double value, int fallback)
{
    if (!std::isfinite(value))
        return fallback;
    const double t = std::trunc(value);
    if (t < double(std::numeric_limits<int>::min()) || t > double(std::numeric_limits<int>::max()))
        return fallback;
    return int(t);
}

int toWholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        return value;
    return clampedInt(toNumber(text), 0);
}

namespace {

bool isGroupSeparator(QChar c)
{
    // Blank, no-break space, narrow no-break space, thin space.
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

} // namespace

bool parseTypedNumber(const QString& text, double* value)
{
    const QString t = text.trimmed();
    QString compact;
    compact.reserve(t.size());
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (isGroupSeparator(c)) {
            // Only between digits: "4 315" is a number, "4 x" and "- 4" are not.
            int next = i + 1;
            while (next < t.size() && isGroupSeparator(t.at(next)))
                ++next;
            if (compact.isEmpty() || !compact.back().isDigit() || next >= t.size()
                || !t.at(next).isDigit())
                return false;
            i = next - 1;
            continue;
        }
        compact.append(c == QLatin1Char(',') ? QLatin1Char('.') : c);
    }
    bool ok = false;
    const double v = toNumber(compact, &ok);
    if (!ok)
        return false;
    if (value)
        *value = v;
    return true;
}
