#include "typedspinbox.h"

#include "store/numbers.h"

QValidator::State TypedDoubleSpinBox::validate(QString& input, int&) const
{
    double value = 0.0;
    if (parseTypedNumber(input, &value))
        return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    // Still on the way to a number ("", "-", "12,", "1e"): let the user go on.
    for (const QChar c : qAsConst(input)) {
        if (!c.isDigit() && !QStringLiteral(" ,.-+eE\u00a0").contains(c))
            return QValidator::Invalid;
    }
    return QValidator::Intermediate;
}

double TypedDoubleSpinBox::valueFromText(const QString& text) const
{
    double value = 0.0;
    parseTypedNumber(text, &value);
    return value;
}
