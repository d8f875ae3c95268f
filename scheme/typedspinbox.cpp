#include "typedspinbox.h"

#include "store/numbers.h"

QValidator::State TypedDoubleSpinBox::validate(QString& input, int&) const
{
    double value = 0.0;
    if (parseTypedNumber(input, &value)) {
        if (value >= minimum() && value <= maximum())
            return QValidator::Acceptable;
        // As in a plain spin box, a figure no further typing can bring into the range is
        // refused: shown, it would be saved as the last figure that was in the range.
        const bool past = (value >= 0 && value > maximum()) || (value < 0 && value < minimum());
        return past || minimum() == maximum() ? QValidator::Invalid : QValidator::Intermediate;
    }
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
