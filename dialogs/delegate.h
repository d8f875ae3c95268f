#pragma once
// Cell editors shared by the table dialogs.

#include <QDoubleSpinBox>
#include <QItemDelegate>

// A decimal spin box in which a typed comma and a typed point are both the
// decimal point, whatever the locale: "0,4" is 0.4 under the program's own
// C locale too, where the comma would otherwise be a group separator and
// give 4.
class DecimalSpinBox : public QDoubleSpinBox
{
public:
    explicit DecimalSpinBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    void stepBy(int steps) override;

    // Whether the user typed into the box or stepped it since the last reset;
    // values set by the program do not count.
    bool isEdited() const { return m_edited; }
    void resetEdited() { m_edited = false; }

private:
    QString withLocalePoint(QString text) const;

    bool m_edited = false;
};

// Edits a numeric cell with a spin box of fixed range, step and decimals. The
// cell then holds a number; with zero decimals an integer, so a node number
// 1000000 stays "1000000" and never turns into "1e+06".
class DSBDelegate : public QItemDelegate
{
public:
    DSBDelegate(QObject* parent, double minimum, double maximum, double step, int decimals);

    // When set, an editor opened and closed without a change writes nothing
    // back, so a stored value outside the range or no number at all stays as
    // stored instead of turning into the spin box's clamped value.
    void setWritesOnlyEdits(bool on) { m_writesOnlyEdits = on; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    double m_minimum;
    double m_maximum;
    double m_step;
    int m_decimals;
    bool m_writesOnlyEdits = false;
};

// Makes a column read-only: no editor is ever created.
class NonEditTableColumnDelegate : public QItemDelegate
{
public:
    explicit NonEditTableColumnDelegate(QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
