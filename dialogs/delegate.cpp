#include "delegate.h"

#include "store/numbers.h"

#include <QLineEdit>
#include <QtMath>

DecimalSpinBox::DecimalSpinBox(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_edited = true; });
}

void DecimalSpinBox::stepBy(int steps)
{
    m_edited = true;
    QDoubleSpinBox::stepBy(steps);
}

QString DecimalSpinBox::withLocalePoint(QString text) const
{
    const QChar point = locale().decimalPoint();
    for (QChar& c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = point;
    }
    return text;
}

QValidator::State DecimalSpinBox::validate(QString& input, int& pos) const
{
    // The line edit takes the mended text, so the user sees the point too.
    input = withLocalePoint(input);
    return QDoubleSpinBox::validate(input, pos);
}

double DecimalSpinBox::valueFromText(const QString& text) const
{
    return QDoubleSpinBox::valueFromText(withLocalePoint(text));
}

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
    auto* editor = new DecimalSpinBox(parent);
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
    auto* spinBox = static_cast<DecimalSpinBox*>(editor);
    spinBox->setValue(value);
    spinBox->resetEdited();
}

void DSBDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                               const QModelIndex& index) const
{
    auto* spinBox = static_cast<DecimalSpinBox*>(editor);
    if (m_writesOnlyEdits && !spinBox->isEdited())
        return;
    spinBox->interpretText();
    const double value = spinBox->value();
    if (m_decimals == 0 && qAbs(value) < 9.0e15)
        model->setData(index, qint64(qRound64(value)), Qt::EditRole);
    else
        model->setData(index, value, Qt::EditRole);
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
