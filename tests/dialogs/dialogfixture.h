#pragma once
// What the dialog tests share: a folder answering Yes, a column's texts, typing into a cell.

#include "calcglobals.h"
#include "tabletexts.h"
#include "testnetwork.h"

#include <QTableWidget>
#include <QtTest>

struct Folder : TempWorkDir
{
    MessageRecorder rec;
    explicit Folder(bool examples = false)
    {
        rec.defaultAnswer = false;
        if (examples)
            copyExamples();
    }
};

inline QStringList column(const QVector<QStringList>& rows, int c)
{
    QStringList texts;
    for (const QStringList& row : rows)
        texts.append(row.value(c));
    return texts;
}

// Opens the cell's editor, types over what it shows and closes it with key:
// Enter commits (in the next pass of events), Escape drops the edit;
// Key_unknown leaves the editor open.
inline void typeInto(QTableWidget* table, int row, int c, const QString& text, Qt::Key key = Qt::Key_Return)
{
    table->editItem(table->item(row, c));
    QWidget* editor = table->indexWidget(table->model()->index(row, c));
    QVERIFY(editor);
    QMetaObject::invokeMethod(editor, "selectAll");
    QTest::keyClicks(editor, text);
    if (key != Qt::Key_unknown)
        QTest::keyClick(editor, key);
    QCoreApplication::processEvents();
}
