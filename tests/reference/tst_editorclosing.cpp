// Closing the catalog and load-graph editors: a window with edits not saved asks "Сохранить изменения?".

#include "referencetest.h"
#include "reference/CDlgKatLin.h"
#include "reference/CDlgKatTR.h"
#include "reference/CGrafik.h"

namespace {

// An editor as a test opens it: its file, what the file holds, how it is built.
struct Editor
{
    TableFile file;
    Table rows;
    std::function<QDialog*()> make;
};

Editor editor(const QString& kind)
{
    if (kind == "wires")
        return {{"kat_lin", attrL, "Wire", "net110_WireInfo"},
                {{"АС-95/16", "95", "0", "0.301", "0.434", "2.61", "330", "1"},
                 {"АПвПу 1х240", "240", "1", "0.125", "0.11", "62", "", "2"}},
                [] { return new CDlgKatLin(nullptr); }};
    if (kind == "transformers")   // the 35 kV type hidden by the filter
        return {{"kat_tr", attrTR, "Trans", "net10_TransInfo"},
                {{"ТДН-16000/110", "110", "16000", "4.38", "86.7", "18", "112", "1.78", "9", "115", "11"},
                 {"ТМН-2500/35", "35", "2500", "4.61", "31.9", "4.1", "25", "1.5", "6", "35", "11"}},
                [] { return new CDlgKatTR(nullptr); }};
    QStringList names{"nom"};
    for (int h = 1; h <= 24; ++h)
        names.append("t" + QString::number(h));
    const auto graph = [](const QString& nom, const QString& load) { return QStringList{nom} + QVector<QString>(24, load).toList(); };
    return {{"grafiki", names, "nomgr", "grafiki"}, {graph("1", "5"), graph("2", "7.5")},
            [] { return new CGrafik(nullptr); }};
}

// Cells typed into, as {row, column, text}.
using Typed = QList<QStringList>;

// Runs "type r c text", "typing r c text" (left in its open editor), "open r c", "tick r c", "sort c",
// "add", "del r" and "save" in turn; false when a cell would not open.
bool apply(QDialog* dlg, const QString& edits, Typed* typed = nullptr)
{
    auto* table = dlg->findChild<QTableWidget*>("tableWgt");
    const auto click = [dlg](const char* name) { dlg->findChild<QPushButton*>(name)->click(); };
    for (const QString& edit : edits.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = edit.split(' ');
        const int r = w.value(1).toInt(), c = w.value(2).toInt();
        const QByteArray text = w.value(3).toUtf8();
        // Left typing, the window is active, so that the cell editor has the focus.
        if ((w[0] == "type" && !editCell(table, r, c, text.constData()))
            || (w[0] == "typing" && (!QTest::qWaitForWindowActive(dlg) || !typeInCell(table, r, c, text.constData())))
            || (w[0] == "open" && !editCell(table, r, c, nullptr)))
            return false;
        if (w[0].startsWith("typ") && typed)
            typed->append(w.mid(1));
        if (w[0] == "tick")
            table->item(r, c)->setCheckState(table->item(r, c)->checkState() ? Qt::Unchecked : Qt::Checked);
        if (w[0] == "sort")
            table->sortItems(r);
        if (w[0] == "add" || w[0] == "save")
            click(w[0] == "add" ? "AddButton" : "SaveButton");
        if (w[0] == "del") {
            table->setCurrentCell(r, 0);
            click("DelButton");
        }
    }
    return true;
}

} // namespace

class TestEditorClosing : public QObject
{
    Q_OBJECT

private slots:
    // Untouched (a cell only opened, a sort, an edit undone or saved is no edit) the window closes
    // without a question; edited (a value still in its cell editor too), "Да" saves and closes, "Нет"
    // drops the edits and closes, "Отмена" keeps the window with its edits. The close box and Escape ask alike.
    void closeAsks_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("escape");    // else the close box
        QTest::addColumn<QString>("outcome"); // "closed" without a question, "saved", "dropped", "kept"
        const int yes = int(SaveAnswer::Save), no = int(SaveAnswer::Discard), cancel = int(SaveAnswer::Cancel);
        QTest::newRow("wires untouched") << "wires" << "" << cancel << true << "closed";
        QTest::newRow("wires, cell only opened") << "wires" << "open 0 3;open 1 0" << cancel << false << "closed";
        QTest::newRow("wires, edit undone") << "wires" << "type 0 3 0.5;type 0 3 0.301" << cancel << true << "closed";
        QTest::newRow("wires sorted") << "wires" << "sort 0" << cancel << false << "closed";
        QTest::newRow("wires edited and saved") << "wires" << "tick 1 2;save" << cancel << true << "closed";
        QTest::newRow("wires edited, Да") << "wires" << "type 0 3 0.5" << yes << false << "saved";
        QTest::newRow("wires kind ticked, Нет") << "wires" << "tick 0 2" << no << true << "dropped";
        QTest::newRow("wires typed, not entered, Да") << "wires" << "typing 1 4 0.12" << yes << false << "saved";
        QTest::newRow("wires edited, Escape") << "wires" << "type 1 0 М-50" << cancel << true << "kept";
        QTest::newRow("transformers untouched") << "transformers" << "open 0 9" << cancel << false << "closed";
        QTest::newRow("transformers added, Да") << "transformers" << "add;type 1 0 ТМ-100" << yes << true << "saved";
        QTest::newRow("transformers edited and saved") << "transformers" << "type 0 10 10.5;save" << cancel << false
                                                       << "closed";
        QTest::newRow("transformers deleted, Нет") << "transformers" << "del 0" << no << false << "dropped";
        QTest::newRow("transformers edited, Отмена") << "transformers" << "type 0 9 121" << cancel << false << "kept";
        QTest::newRow("graphs untouched") << "graphs" << "open 1 5" << cancel << true << "closed";
        QTest::newRow("graphs edited, Да") << "graphs" << "type 1 5 12.5" << yes << true << "saved";
        QTest::newRow("graphs deleted, Нет") << "graphs" << "del 1" << no << false << "dropped";
        QTest::newRow("graphs edited and saved") << "graphs" << "del 0;save" << cancel << false << "closed";
        QTest::newRow("graphs edited, Отмена") << "graphs" << "type 0 0 7" << cancel << true << "kept";
        QTest::newRow("graphs typed, not entered, Отмена") << "graphs" << "typing 1 0 №3" << cancel << false << "kept";
    }
    void closeAsks()
    {
        QFETCH(QString, kind);
        QFETCH(QString, edits);
        QFETCH(int, answer);
        QFETCH(bool, escape);
        QFETCH(QString, outcome);
        Folder dir;
        const Editor e = editor(kind);
        saveShablonXML(e.file.stem, e.file.names, e.file.rowElement, e.file.rootElement, e.rows);
        QPointer<QDialog> dlg = e.make();
        dlg->show();
        Typed typed;
        QVERIFY(apply(dlg, edits, &typed));
        const QByteArray before = dir.readFile(e.file.stem + ".xml");
        auto* table = dlg->findChild<QTableWidget*>("tableWgt");
        dir.rec.clear();
        dir.rec.saveAnswers = {SaveAnswer(answer)};

        if (escape)
            QTest::keyClick(dlg, Qt::Key_Escape);
        else
            dlg->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QStringList asked;   // kind, title and text of every message
        for (const RecordedMessage& m : dir.rec.messages)
            asked.append(m.kind + "|" + m.title + "|" + m.text);
        const QString question = "save|Сохранение|Сохранить изменения?";
        const QStringList expected = outcome == "closed" ? QStringList()
                                   : outcome == "saved"  ? QStringList{question, "warning|Информация|Данные сохранены"}
                                                         : QStringList{question};
        QCOMPARE(asked, expected);
        QCOMPARE(dlg.isNull(), outcome != "kept");
        QCOMPARE(dir.readFile(e.file.stem + ".xml") != before, outcome == "saved");
        for (const QStringList& cell : typed) {
            const int r = cell[0].toInt(), c = cell[1].toInt();
            if (outcome == "saved")
                QCOMPARE(ReadShablonXML(e.file.stem, e.file.names, e.file.rowElement).value(r).value(c), cell[2]);
            if (outcome == "kept")
                QCOMPARE(table->item(r, c)->text(), cell[2]);
        }
        delete dlg;
    }

    // Asked on a file it read damaged, "Да" writes nothing, so the window stays with its edits.
    void refusedSaveKeepsWindow()
    {
        Folder dir;
        const QByteArray damaged = "<grafiki><nomgr nom=\"1\" t1=\"2\"/><nomgr";
        dir.writeFile("grafiki.xml", damaged);
        QPointer<QDialog> dlg = new CGrafik(nullptr);
        dlg->show();
        QVERIFY(apply(dlg, "add"));
        dir.rec.clear();
        dir.rec.saveAnswers = {SaveAnswer::Save};
        dlg->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + dir.filePath("grafiki.xml")});
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(dir.readFile("grafiki.xml"), damaged);
        delete dlg;
    }
};

QTEST_MAIN(TestEditorClosing)
#include "tst_editorclosing.moc"
