// Monthly input of a RES: what a save leaves in "lines" and "uch_lin"; the load workbook both ways.

#include "dialogfixture.h"
#include "dialogs/CDlgVvodRES.h"
#include "pythonrunner.h"
#include "store/tableexchange.h"

#include <QJsonDocument>

// RES 1,1: lines 1 and 2, line 1 twice in the file; sections of line 2 first, a RES 1,2 row
// between, one of a line that does not exist (9) at the end.
static TestNetwork network()
{
    TestNetwork net;
    net.addLine("1", "Л1");
    net.addLine("2", "Л2");
    net.addLine("1", "Л1 дубль");
    const QString tdn = "ТДН-16000/110";
    net.addSection("2", 0, 1, "АС-120/19", 3)[3] = "участок";
    net.addTrans("2", 1, 2, tdn, 8, 3, 4000, 1700)[3] = "Т-21";
    net.addTrans("1", 0, 1, tdn, 8, 3, 4000, 1700)[1] = "2";
    net.addTrans("1", 0, 1, tdn, 8, 3, 4000, 1700)[3] = "Т-11";
    net.addTrans("1", 0, 3, tdn, 8.12345, 3, 4000, 1700)[3] = "Т-12";   // P finer than the editor shows
    net.sections.last()[16] = "1";
    net.addSection("9", 0, 1, "АС-120/19", 1)[3] = "сирота";
    return net;
}

// The network written with its RES, the tree moved on to another RES.
struct Input : Folder
{
    TestNetwork net = network();
    Input()
    {
        net.write();
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Северный РЭС", "", "0", "0"}});
        NPES = "1";
        NRES = "2";
    }
};

// The node table's shown rows by name, each with its "Откл" box and the text beside it.
static QString shownRows(const CDlgVvodRES& dlg)
{
    QStringList seen;
    for (int r = 0; r < dlg.tableWgt->rowCount(); ++r) {
        const QTableWidgetItem* off = dlg.tableWgt->item(r, 16);
        if (!dlg.tableWgt->isRowHidden(r))
            seen << dlg.tableWgt->item(r, 3)->text() + (off->checkState() == Qt::Checked ? " [x]" : " [ ]") + off->text();
    }
    return seen.join('|');
}

class TestVvodRES : public QObject
{
    Q_OBJECT

private slots:
    void saveWritesOnlyEditedCells_data()
    {
        QTest::addColumn<bool>("lines");
        QTest::newRow("lines") << true;
        QTest::newRow("sections") << false;
    }
    // Rows changed meanwhile elsewhere keep their changes: only cells edited here are written; a comma
    // is a point. An empty "Откл", shown unticked, is saved as "0" with the sections, unless another
    // window set it meanwhile.
    void saveWritesOnlyEditedCells()
    {
        QFETCH(bool, lines);
        Input f;
        TestNetwork& net = f.net;
        net.lines[1][5] = "400";   // line 2 off for more days than the editor takes
        net.sections[0][16] = "";  // line 2's section
        net.sections[3][16] = "";  // Т-11
        net.write();
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        dlg.show();
        net.sections[3][8] = "ТДН-25000/110";   // Т-11's type and name, in the sections editor
        net.sections[3][3] = "Т-11 новое имя";
        net.lines[0][6] = "35";                  // line 1's voltage, in the line window
        net.sections[0][16] = "1";               // line 2's section off, in the sections editor
        net.write();
        if (lines) {
            typeInto(dlg.tableLIN, 0, 12, "0,7");
            typeInto(dlg.tableLIN, 1, 5, "");   // opened and left: kept as stored, no change
            net.lines[0][12] = "0.7";
        } else {
            dlg.checkEner->click();   // P and Q shown
            typeInto(dlg.tableWgt, 0, 11, "6,15");
            typeInto(dlg.tableWgt, 1, 11, "");   // opened and left: kept as stored
            dlg.tableWgt->item(3, 16)->setCheckState(Qt::Checked);   // Т-21
            net.sections[3][11] = "6.15";
            net.sections[1][16] = "1";
            net.sections[3][16] = "0";
        }
        dlg.slot_saveVtv();
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"), net.sections);
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
        QCOMPARE(f.rec.all(), (QStringList{"Сохранение|Сохранить изменения?", lines ? "Информация|Данные о линиях сохранены"
                                                                                     : "Информация|Данные об участках линий сохранены"}));
    }

    // The node table shows the transformers of the line last clicked, whichever cell, and hides
    // every other row; a move by keyboard changes nothing. "Только энергии" hides P and Q.
    void showsTheChosenLinesTransformers()
    {
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        // The shown rows as the user sees them, then the headers.
        const auto shown = [&dlg] { return shownRows(dlg) + '|' + headerLine(dlg.tableWgt); };
        QCOMPARE(QStringList({dlg.windowTitle(), dlg.Export->toolTip(), dlg.Import->toolTip()}),
                 QStringList({"Ввод информации по линиям Северный РЭС", "Вывод информации в файл Северный РЭС - нагрузки.xlsx",
                              "Считать информацию из файла Северный РЭС - нагрузки.xlsx"}));
        QCOMPARE(headerLine(dlg.tableLIN), QString("Название линии|Откл., дней|Tg|Кзап|Кфор|Квых"));
        QVERIFY(dlg.tableWgt->isSortingEnabled());   // a header click sorts the node table
        QVERIFY(programHeads(dlg.tableLIN) && programHeads(dlg.tableWgt));
        // What each editable column takes; the node's end and the mark are read-only.
        QCOMPARE(editorRanges(dlg.tableLIN, {5, 9, 10, 11, 12}) + editorRanges(dlg.tableWgt, {6, 8, 11}),
                 QStringList({"0 366 1 2", "0 1 0.05 2", "0 1 0.05 2", "1 2 0.05 2", "0 2 0.01 2", "no spin box",
                              "no spin box", "-999999 999999 1 3"}));
        const QString energies = "Комментарий|Номер|Элемент|WP, МВтч|WQ, мварч|Откл";
        QCOMPARE(shown(), "Т-11 [ ]|Т-12 [x]|" + energies);
        emit dlg.tableLIN->cellClicked(1, 9);
        QCOMPARE(shown(), "Т-21 [ ]|" + energies);
        dlg.tableLIN->setCurrentCell(0, 3);
        QCOMPARE(shown(), "Т-21 [ ]|" + energies);
        emit dlg.tableLIN->cellClicked(0, 3);
        dlg.checkEner->click();
        QCOMPARE(shown(), QString("Т-11 [ ]|Т-12 [x]|Комментарий|Номер|Элемент|P, МВт|Q, мвар|WP, МВтч|WQ, мварч|Откл"));
        dlg.checkEner->click();
        QCOMPARE(shown(), "Т-11 [ ]|Т-12 [x]|" + energies);
    }

    // A header click sorts the node table: the chosen line's transformers stay the rows shown, in the new order.
    // A save while it is sorted by "Откл" gives every box the text of its own state; the next save still
    // knows each moved row as its element.
    void sortKeepsTheChosenLinesTransformers()
    {
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        dlg.resize(1200, 500);   // every header in view
        dlg.show();
        QHeaderView* header = dlg.tableWgt->horizontalHeader();
        const auto clickHeader = [header](int column) {
            const int middle = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(middle, 3));
        };
        clickHeader(3);
        clickHeader(3);   // by name, descending
        QCOMPARE(shownRows(dlg), QString("Т-12 [x]|Т-11 [ ]"));
        emit dlg.tableLIN->cellClicked(1, 3);
        QCOMPARE(shownRows(dlg), QString("Т-21 [ ]"));
        emit dlg.tableLIN->cellClicked(0, 3);
        clickHeader(16);
        QCOMPARE(shownRows(dlg), QString("Т-12 [x]|Т-11 [ ]"));
        const int t11 = dlg.tableWgt->findItems("Т-11", Qt::MatchExactly).value(0)->row();
        dlg.tableWgt->item(t11, 16)->setCheckState(Qt::Checked);
        dlg.slot_saveVtv();
        QCOMPARE(shownRows(dlg), QString("Т-12 [x]1|Т-11 [x]1"));
        emit dlg.tableLIN->cellClicked(1, 3);
        QCOMPARE(shownRows(dlg), QString("Т-21 [ ]0"));
        const int t12 = dlg.tableWgt->findItems("Т-12", Qt::MatchExactly).value(0)->row();
        dlg.tableWgt->item(t12, 16)->setCheckState(Qt::Unchecked);
        dlg.slot_saveVtv();
        f.net.sections[3][16] = "1";
        f.net.sections[4][16] = "0";
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"), f.net.sections);
    }

    // Rows renumbered or removed meanwhile are named, the others saved, no success claimed.
    void saveNamesRowsItCannotFind()
    {
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        f.net.sections[4][17] = "40";   // Т-12, renumbered by a sections editor save
        f.net.sections[1][17] = "41";   // Т-21 as well, but not edited here: nothing to name
        f.net.lines.removeAt(1);        // line 2, deleted
        f.net.write();
        dlg.tableWgt->item(0, 13)->setText("5000");   // Т-11
        dlg.tableWgt->item(1, 13)->setText("6000");   // Т-12
        dlg.tableLIN->item(0, 10)->setText("0.6");    // line 1
        dlg.tableLIN->item(1, 10)->setText("0.7");    // line 2
        dlg.slot_saveVtv();
        f.net.sections[3][13] = "5000";
        f.net.lines[0][10] = "0.6";
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"), f.net.sections);
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), f.net.lines);
        const QString head = "Предупреждение|Не сохранены строки, измененные в другом окне после открытия этого окна:\n";
        const QString tail = "\nОткройте окно ввода заново и повторите ввод.";
        QCOMPARE(f.rec.warnings(), (QStringList{head + "линия Л2" + tail, head + "линия Л1: Т-12, узлы 0-3" + tail}));
        // Then the window shows the files: line 2 has left it, Т-12 shows its stored energy, and
        // nothing is left for a save or a close to drop.
        QStringList shown{dlg.tableLIN->item(0, 3)->text()};
        for (int r = 0; r < dlg.tableWgt->rowCount(); ++r)
            shown << dlg.tableWgt->item(r, 3)->text() + " " + dlg.tableWgt->item(r, 13)->text();
        QCOMPARE(QString::number(dlg.tableLIN->rowCount()) + " " + shown.join('|'), QString("1 Л1|Т-11 5000|Т-12 4000"));
        QVERIFY(!dlg.hasUnsavedEdits());
    }

    // A RES deleted meanwhile gets neither its lines nor its sections back. Edits only of a line
    // deleted meanwhile are named, and neither table nor its .bak is written again for nothing.
    void refusedForDeletedObjects_data()
    {
        QTest::addColumn<bool>("res");
        QTest::newRow("RES deleted") << true;
        QTest::newRow("only a deleted line edited") << false;
    }
    void refusedForDeletedObjects()
    {
        QFETCH(bool, res);
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        if (res)
            saveShablonXMLAllowEmpty("res", attrRES, "RES", "net110_RES", {});
        else {
            NRES = "1";
            NLIN = "2";
            DeleteObj(2, NPES, NRES, NLIN);
        }
        const QMap<QString, QByteArray> before = f.files();
        dlg.tableLIN->item(res ? 0 : 1, 10)->setText("0.6");
        dlg.tableWgt->item(res ? 0 : 3, 13)->setText("5000");   // Т-11 or Т-21
        f.rec.clear();
        dlg.slot_saveVtv();
        QCOMPARE(f.files(), before);
        const QString head = "Предупреждение|Не сохранены строки, измененные в другом окне после открытия этого окна:\n";
        const QString tail = "\nОткройте окно ввода заново и повторите ввод.";
        const QStringList warned = res ? QStringList{"Предупреждение|РЭС не найден в таблице РЭС, данные не сохранены"}
                                       : QStringList{head + "линия Л2" + tail, head + "линия Л2: Т-21, узлы 1-2" + tail};
        QCOMPARE(f.rec.warnings(), warned);
    }

    // Lines and sections edited: when one table cannot be written, or was damaged meanwhile,
    // neither is written and no success is claimed.
    void saveWritesBothTablesOrNeither_data()
    {
        QTest::addColumn<QString>("spoilt");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("named");    // the file that could not be made or read
        QTest::newRow("the sections' .bak a folder") << "uch_lin.bak" << "Невозможно создать файл -" << "uch_lin.bak";
        QTest::newRow("lines cut") << "lines.xml" << "Ошибка чтения файла " << "lines.xml";
    }
    void saveWritesBothTablesOrNeither()
    {
        QFETCH(QString, spoilt);
        QFETCH(QString, warning);
        QFETCH(QString, named);
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        if (spoilt.endsWith(".bak"))
            QVERIFY(QDir().mkpath(f.filePath(spoilt + "/x")));
        else
            f.writeFile(spoilt, f.readFile(spoilt).chopped(30));
        const QMap<QString, QByteArray> before = f.files();
        dlg.tableLIN->item(0, 10)->setText("0.6");
        dlg.tableWgt->item(0, 13)->setText("5000");
        dlg.slot_saveVtv();
        QCOMPARE(f.files(), before);
        QCOMPARE(f.rec.warnings(), QStringList("Предупреждение|" + warning + f.filePath(named)));
    }

    // Т-12's row, then Т-11's with the cells H to K given; then Т-11's P, Q, WP, WQ, Т-12's WP.
    void importReadsSpreadsheetNumbers_data()
    {
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("stored");
        const QString before = "8|3|4000|1700|4000";
        QTest::newRow("digit groups and a decimal comma") << "8||4 315|4315,5" << "" << "8||4315|4315.5|7777";
        QTest::newRow("no-break spaces; numbers keep their text")
            << "1e3|3|1 234 567,25|12.50" << "" << "1e3|3|1234567.25|12.50|7777";
        QTest::newRow("text refuses the workbook") << "8|3|abc|1" << "Ошибка в строке 3, столбце J: не число" << before;
        QTest::newRow("beyond a double") << "8|3|1|1e400" << "Ошибка в строке 3, столбце K: не число" << before;
    }
    void importReadsSpreadsheetNumbers()
    {
        QFETCH(QString, cells);
        QFETCH(QString, warning);
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный РЭС");
        // A header row, which the import skips.
        QVERIFY(SaveXlsx(dlg.workbookFile(), {QVector<QString>(11, "h").toList(),
                                              {"1", "1", "1", "Т-12", "0", "3", "Т", "8", "3", "7777", "1700"},
                                              QStringList{"1", "1", "1", "Т-11", "0", "1", "Т"} + cells.split('|')}));
        const QByteArray onDisk = f.readFile("uch_lin.xml");
        dlg.slot_Import();
        QCOMPARE(f.readFile("uch_lin.xml"), onDisk);   // the window only; a save writes it
        QCOMPARE(f.rec.all(), QStringList("Загрузка из Xlsx файла|Загрузить информацию из Xlsx файла?")
                                  + (warning.isEmpty() ? QStringList() : QStringList{"Ошибка|" + warning}));
        const auto cell = [&dlg](int r, int c) { return dlg.tableWgt->item(r, c)->text(); };
        QTEST(QStringList({cell(0, 11), cell(0, 12), cell(0, 13), cell(0, 14), cell(1, 13)}).join('|'), "stored");
    }

    // Every transformer of the RES, hidden rows and unsaved edits too, as text cells.
    void workbookExport()
    {
        const QString missing = openpyxlMissing();
        if (!missing.isEmpty())
            QSKIP(qPrintable("openpyxl check not run: " + missing));
        Input f;
        CDlgVvodRES dlg("1", "1", "Северный/Южный РЭС");
        dlg.tableWgt->item(0, 13)->setText("4321.5");
        dlg.slot_Export();
        QCOMPARE(f.rec.all(), QStringList("Сохранение в Xlsx файл|Существующий Xlsx файл будет изменен. Продолжить?"));
        QCOMPARE(dlg.workbookFile(), f.filePath("Северный_Южный РЭС - нагрузки.xlsx"));
        QString error;
        const QByteArray out = runPython(QStringLiteral(R"(
import sys, json, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
rows = ["|".join(c.value if c.data_type == "s" else "not text" for c in row) for row in wb["Лист1"].iter_rows()]
print(json.dumps(wb.sheetnames + rows))
)"), {dlg.workbookFile()}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(QJsonDocument::fromJson(out).toVariant().toStringList(), QStringList({"Лист1",
            "*Кодировка npes|nres|nzp|название|начало|конец ветви|марка| Pнаг|Qнаг|WPген|WQген",
            "1|1|1|Т-11|0|1|ТДН-16000/110|8|3|4321.5|1700",
            "1|1|1|Т-12|0|3|ТДН-16000/110|8.12345|3|4000|1700",
            "1|1|2|Т-21|1|2|ТДН-16000/110|8|3|4000|1700"}));
    }
};

QTEST_MAIN(TestVvodRES)
#include "tst_vvodres.moc"
