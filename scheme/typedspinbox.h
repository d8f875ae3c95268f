#pragma once
// A decimal spin box that reads what a user types the way the rest of the
// program does: a decimal comma or point, blanks between digit groups,
// whatever the locale. A plain spin box takes "12,5" for 125 in the C locale
// (and "12.5" for 125 in a Russian one).

#include <QDoubleSpinBox>

class TypedDoubleSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
};
