#pragma once
// What a table widget shows the user: the headers in sight and how they are drawn, the
// cells in sight, and what its cell editors let the user type.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QImage>
#include <QTableWidget>

#include <memory>

// The headers of the columns the user sees.
inline QString headerLine(const QTableWidget* table)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c) {
        if (!table->isColumnHidden(c))
            texts.append(table->horizontalHeaderItem(c)->text());
    }
    return texts.join('|');
}

inline QStringList shownColumn(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (!table->isRowHidden(r))
            texts.append(table->item(r, column)->text());
    }
    return texts;
}

// The entries a combo offers, in order.
inline QStringList comboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// "minimum maximum step decimals" of each column's number editor.
inline QStringList editorRanges(QTableWidget* table, const QList<int>& columns)
{
    QStringList ranges;
    for (int column : columns) {
        std::unique_ptr<QWidget> editor(table->itemDelegateForColumn(column)->createEditor(table, {}, {}));
        auto* spin = qobject_cast<QDoubleSpinBox*>(editor.get());
        const auto text = [](double value) { return QString::number(value, 'g', 12); };
        ranges << (spin ? QStringList{text(spin->minimum()), text(spin->maximum()), text(spin->singleStep()),
                                      QString::number(spin->decimals())}.join(' ')
                        : QString("no spin box"));
    }
    return ranges;
}

// Whether the table shows its heads as the program draws them: the column heads in the
// program's grey, rgb(190, 190, 190) (drawn as they are and drawn in that grey, each just
// restyled, they give the same picture), and no row numbers.
inline bool programHeads(QTableWidget* table)
{
    QHeaderView* header = table->horizontalHeader();
    const QString own = header->styleSheet();
    const auto drawn = [header](const QString& sheet) {
        header->setStyleSheet(sheet);
        return header->grab().toImage();
    };
    const QImage shown = drawn(own);
    const bool grey = shown == drawn(QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    header->setStyleSheet(own);
    return grey && table->verticalHeader()->isHidden();
}
