#pragma once
// The editor tests' fixture: the editor, its file, a folder answering Yes, and editing a cell.

#include "enterkey.h"
#include "reference/catalogtable.h"
#include "tabletexts.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

struct Folder : TempWorkDir
{
    MessageRecorder rec;
    Folder() { rec.defaultAnswer = false; }   // Yes
};

// The test's init() makes dir, its cleanup() drops the editor and dir.
template <class Dialog>
struct EditorUnderTest
{
    explicit EditorUnderTest(TableFile tableFile) : file(std::move(tableFile)) {}

    TableFile file;
    std::unique_ptr<Folder> dir;
    std::unique_ptr<Dialog> dlg;

    void open() { dlg.reset(new Dialog(nullptr)); }
    QByteArray open(const Table& rows)
    {
        saveShablonXML(file.stem, file.names, file.rowElement, file.rootElement, rows);
        open();
        return withoutStamp(dir->readFile(file.stem + ".xml"));
    }
    Table stored() const { return ReadShablonXML(file.stem, file.names, file.rowElement); }
    QTableWidget* table() const { return dlg->template findChild<QTableWidget*>("tableWgt"); }
    void click(const char* button) const { dlg->template findChild<QPushButton*>(button)->click(); }
    QStringList labels(std::initializer_list<const char*> names) const
    {
        QStringList texts;
        for (const char* name : names)
            texts.append(dlg->template findChild<QLabel*>(name)->text());
        return texts;
    }
    QList<int> searchHits(const QStringList& texts) const
    {
        QList<int> hits;
        for (const QString& text : texts) {
            dlg->template findChild<QLineEdit*>("LineFind")->setText(text);
            click("FindButton");
            hits.append(table()->currentRow());
        }
        return hits;
    }
    // Shows the editor, types text into the named box (into its table nothing)
    // and then Enter; gives what the editor asked or said meanwhile.
    QStringList pressEnter(const char* box, const char* text = "")
    {
        if (!typeAndEnter(box ? dlg->template findChild<QWidget*>(box) : table(), box ? QString::fromUtf8(text) : QString()))
            return {"not shown"};
        return dir->rec.texts();
    }
    void damagedFileIsKept(const QByteArray& damaged)
    {
        dir->writeFile(file.stem + ".xml", damaged);
        open();
        click("SaveButton");
        const QString warning = "Предупреждение|Ошибка чтения файла " + dir->filePath(file.stem + ".xml");
        QCOMPARE(dir->rec.warnings(), (QStringList{warning, warning}));
        QCOMPARE(dir->readFile(file.stem + ".xml"), damaged);
        QVERIFY(!dir->exists(file.stem + ".bak"));
    }
};

// Opens a cell's editor and types text over its value (with a null text, nothing); gives the
// editor, still open, or null when none opened.
inline QWidget* typeInCell(QTableWidget* table, int row, int column, const char* text)
{
    table->setCurrentCell(row, column);
    table->editItem(table->item(row, column));
    QWidget* editor = table->indexWidget(table->model()->index(row, column));
    if (!editor)
        return nullptr;
    // Into the line edit, a spin box's own as well: QTest types ASCII only.
    auto* line = qobject_cast<QLineEdit*>(editor) ? qobject_cast<QLineEdit*>(editor) : editor->findChild<QLineEdit*>();
    if (text) {
        line->selectAll();
        line->insert(QString::fromUtf8(text));
    }
    return editor;
}

// Types text over a cell (with a null text, nothing) in its editor and commits with Enter.
inline bool editCell(QTableWidget* table, int row, int column, const char* text)
{
    QWidget* editor = typeInCell(table, row, column, text);
    if (!editor)
        return false;
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the delegate commits through a queued call
    return true;
}
