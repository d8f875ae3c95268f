#pragma once
// Cell editors shared by the table dialogs.

#include <QItemDelegate>

// Edits a numeric cell with a spin box of fixed range, step and decimals that
// reads a typed number as the rest of the program does (a decimal comma is a
// point under any locale). The cell then holds a number; with zero decimals
// an integer, so a node number 1000000 stays "1000000" and never turns into
// "1e+06".
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
