#include "delegate.h"

#include "scheme/typedspinbox.h"
#include "store/numbers.h"

#include <QtMath>

namespace {
// A value in plain decimals, trailing zeros dropped (12.000 is "12"): a
// number stored as a double would come back from the table as "2e+06".
QString plainDecimalText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
} // namespace

DSBDelegate::DSBDelegate(QObject* parent, double minimum, double maximum, double step,
                         int decimals)
    : QItemDelegate(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_step(step)
    , m_decimals(decimals)
{
}

QWidget* DSBDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                   const QModelIndex&) const
{
    auto* editor = new TypedDoubleSpinBox(parent);
    editor->setMinimum(m_minimum);
    editor->setMaximum(m_maximum);
    editor->setDecimals(m_decimals);
    editor->setSingleStep(m_step);
    editor->installEventFilter(const_cast<DSBDelegate*>(this));
    return editor;
}

void DSBDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const double value = toNumber(index.model()->data(index, Qt::EditRole).toString());
    static_cast<QDoubleSpinBox*>(editor)->setValue(value);
}

void DSBDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                               const QModelIndex& index) const
{
    auto* spinBox = static_cast<QDoubleSpinBox*>(editor);
    spinBox->interpretText();
    const double value = spinBox->value();
    if (m_decimals == 0 && qAbs(value) < 9.0e15)
        model->setData(index, qint64(qRound64(value)), Qt::EditRole);
    else
        model->setData(index, plainDecimalText(value, m_decimals), Qt::EditRole);
}

void DSBDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                       const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

NonEditTableColumnDelegate::NonEditTableColumnDelegate(QObject* parent)
    : QItemDelegate(parent)
{
}

QWidget* NonEditTableColumnDelegate::createEditor(QWidget*, const QStyleOptionViewItem&,
                                                  const QModelIndex&) const
{
    return nullptr;
}
