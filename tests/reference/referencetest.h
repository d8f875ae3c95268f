#pragma once
// What the tests of the catalog and load-graph editors share: a working
// directory whose questions are all answered Yes, and the user's own way of
// editing a cell.

#include "store/readregim.h"
#include "testsupport.h"

#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

struct Folder : TempWorkDir
{
    MessageRecorder rec;
    Folder() { rec.defaultAnswer = false; }   // Yes
};

// A table file as the test writes it and reads it back.
struct TableFileOf
{
    QString stem;
    QStringList names;
    QString row, root;

    // Writes rows and gives the file's bytes without their stamp.
    QByteArray write(const TempWorkDir& dir, const Table& rows) const
    {
        saveShablonXML(stem, names, row, root, rows);
        return withoutStamp(dir.readFile(stem + ".xml"));
    }
    Table stored() const { return ReadShablonXML(stem, names, row); }
};

// The editor window of one test function, reached as the user reaches it:
// its table, its buttons and labels by name.
template <class Dialog>
struct EditorUnderTest
{
    explicit EditorUnderTest(TableFileOf editorFile) : file(std::move(editorFile)) {}

    TableFileOf file;   // the file the editor reads and writes
    std::unique_ptr<Dialog> dlg;

    void open() { dlg.reset(new Dialog(nullptr)); }
    // Writes rows as the editor's file, then opens the editor on it.
    void open(const TempWorkDir& dir, const Table& rows)
    {
        file.write(dir, rows);
        open();
    }
    QTableWidget* table() const { return dlg->template findChild<QTableWidget*>("tableWgt"); }
    void click(const char* button) const { dlg->template findChild<QPushButton*>(button)->click(); }
    QStringList labels(std::initializer_list<const char*> names) const
    {
        QStringList texts;
        for (const char* name : names)
            texts.append(dlg->template findChild<QLabel*>(name)->text());
        return texts;
    }
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
