#pragma once
// What the tests of the catalog and load-graph editors share: a working
// directory whose questions are all answered Yes, and the user's own way of
// editing a cell.

#include "testsupport.h"

#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

struct Folder : TempWorkDir
{
    MessageRecorder rec;
    Folder() { rec.defaultAnswer = false; }   // Yes
};

// Opens the editor of a cell, types text over what it shows (or, with a null
// text, types nothing) and commits with Enter. False when no editor opened.
inline bool editCell(QTableWidget* table, int row, int column, const char* text)
{
    table->setCurrentCell(row, column);
    table->editItem(table->item(row, column));
    QWidget* editor = table->indexWidget(table->model()->index(row, column));
    if (!editor)
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && text) {
        // QTest types ASCII only; insert() is what typing does in a line edit.
        line->selectAll();
        line->insert(QString::fromUtf8(text));
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(editor); spin && text) {
        spin->selectAll();
        QTest::keyClicks(editor, QString::fromUtf8(text));
    }
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits through a queued call.
    QCoreApplication::processEvents();
    return true;
}

inline QStringList headerTexts(const QTableWidget* table, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts.append(table->horizontalHeaderItem(c)->data(role).toString());
    return texts;
}

// The texts of one column, top to bottom, rows hidden by a filter left out.
inline QStringList shownColumn(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (!table->isRowHidden(r))
            texts.append(table->item(r, column) ? table->item(r, column)->text() : QString());
    }
    return texts;
}

// The script of each character: L a Latin letter, C a Cyrillic one, . any
// other, so that look-alike letters ("O" and "О") cannot pass for each other.
inline QString letterScripts(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += !c.isLetter() ? QLatin1Char('.') : c.unicode() < 128 ? QLatin1Char('L') : QLatin1Char('C');
    return out;
}
