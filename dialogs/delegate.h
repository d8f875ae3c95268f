#pragma once
// Cell editors shared by the table dialogs.

#include <QItemDelegate>

// Edits a numeric cell with a spin box of fixed range, step and decimals. The
// cell then holds a number; with zero decimals an integer, so a node number
// 1000000 stays "1000000" and never turns into "1e+06".
class DSBDelegate : public QItemDelegate
{
public:
    DSBDelegate(QObject* parent, double minimum, double maximum, double step, int decimals);

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
};

// Makes a column read-only: no editor is ever created.
class NonEditTableColumnDelegate : public QItemDelegate
{
public:
    explicit NonEditTableColumnDelegate(QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
