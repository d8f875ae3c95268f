#include "delegate.h"

#include "scheme/typedspinbox.h"
#include "store/numbers.h"

#include <QLineEdit>
#include <QtMath>

namespace {
// Set on an editor once the user typed into it.
const char* const kTypedProperty = "zorvanTyped";
// The value an editor showed when it was filled from its cell.
const char* const kShownProperty = "zorvanShown";

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
    if (m_writesOnlyEdits) {
        if (auto* line = editor->findChild<QLineEdit*>()) {
            connect(line, &QLineEdit::textEdited, editor,
                    [editor] { editor->setProperty(kTypedProperty, true); });
        }
    }
    return editor;
}

void DSBDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const double value = toNumber(index.model()->data(index, Qt::EditRole).toString());
    auto* spinBox = static_cast<QDoubleSpinBox*>(editor);
    spinBox->setValue(value);
    spinBox->setProperty(kShownProperty, spinBox->value());
}

void DSBDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                               const QModelIndex& index) const
{
    auto* spinBox = static_cast<QDoubleSpinBox*>(editor);
    spinBox->interpretText();
    // Neither typed into nor stepped: the cell keeps what it holds.
    if (m_writesOnlyEdits && !spinBox->property(kTypedProperty).toBool()
        && spinBox->value() == spinBox->property(kShownProperty).toDouble())
        return;
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
