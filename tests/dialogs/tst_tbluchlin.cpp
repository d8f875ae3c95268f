// The sections editor: show, sort and save give the rows back; new rows; panel, filters, search.

#include "dialogfixture.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "dialogs/CDlgVvodRES.h"

// Line 1 first in the file, then line 2, so that a save of line 1 keeps the file's order.
static TestNetwork network()
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addWire("АС-50", "50", "0", "0.6", "0.45");
    // Only types of the line's class "35", as the text stands, are offered.
    for (const char* type : {"ТДН-10000/110 110", "ТМН-6300/35 35.0", "ТМН-2500/35 35", "ТМ-1000/35 35"})
        net.addTransType(QString(type).section(' ', 0, 0), QString(type).section(' ', 1), "2500", "3.9", "31", "5.1",
                         "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 1234.5, "1");
    net.addTrans("1", 1, 2, "ТДН-старый", 1.2, 0.5, 800, 300, "0", 3)[9] = "";
    QStringList& tap = net.addSection("1", 1, 3, "АС-50", 2.25);
    tap[4] = "Отпайка";
    tap[16] = "1";
    net.addTrans("1", 3, 4, "ТМН-2500/35", 0.4)[9] = "";
    net.addSection("2", 0, 1, "АС-70", 9);
    return net;
}

// Line 1,1,1's rows of a table.
static Table line1(const Table& rows)
{
    Table own;
    for (const QStringList& row : rows)
        if (row.mid(0, 3) == QStringList{"1", "1", "1"})
            own << row;
    return own;
}

// The examples' line 1 with its nine rows keyed as given ("|" between), made current.
static void keyLine1(const QString& keys)
{
    Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
    const QStringList key = keys.split('|');
    for (int i = 0, k = 0; i < rows.size(); ++i)
        if (rows[i].mid(0, 3) == QStringList{"1", "1", "1"})
            rows[i][17] = key.at(k++);
    QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
    NPES = NRES = NLIN = "1";
    UNOM = 110;
}

static int rowNamed(const CDlgTblUchLIN& dlg, const QString& name)
{
    return dlg.tableWgt->findItems(name, Qt::MatchExactly).value(0)->row();
}

class TestTblUchLin : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 35; }

    // Rows with an unlisted mark, a length beyond the field, flags and keys "0" (the first row's) or empty,
    // shown one by one in another order and saved, come back with keys after the largest, beside line 2's
    // row saved meanwhile.
    void saveGivesRowsBack()
    {
        Folder f;
        TestNetwork net = network();
        const auto writeKeys = [&net](const QStringList& keys) {
            for (int i = 0; i < 4; ++i)
                net.sections[i][17] = keys.at(i);
            net.write();
        };
        writeKeys({"0", "3", "7", ""});
        CDlgTblUchLIN dlg(nullptr);
        net.sections[4][3] = "сохранено другим окном";
        writeKeys({"8", "3", "7", "9"});
        const QByteArray expected = withoutStamp(f.readFile("uch_lin.xml"));
        writeKeys({"0", "3", "7", ""});
        dlg.tableWgt->sortItems(5, Qt::DescendingOrder);
        for (int r = 0; r < 4; ++r)
            dlg.slot_RowChanged(r, 0);
        dlg.tableWgt->sortItems(3, Qt::AscendingOrder);
        dlg.SaveButton->click();
        // The disconnected 1-3 leaves the transformer 3-4 unfed: logged, saved all the same.
        const QStringList checked = {"|Ошибки в участках линии.log", "Предупреждение|В информации об участках линии есть ошибки",
                                     "Сохранение|Сохранить изменения?"};
        QCOMPARE(f.rec.all(), checked + QStringList("Информация|Данные сохранены"));
        QCOMPARE(QString::fromUtf8(f.readFile("Ошибки в участках линии.log")),
                 QString("*** Узел 4 находится за отключенным участком\n"));
        QCOMPARE(withoutStamp(f.readFile("uch_lin.xml")), expected);
        QVERIFY(dlg.tableWgt->isSortingEnabled());   // a header click still sorts

        // A file damaged meanwhile is not rewritten from what could be read of it; nothing else is asked.
        const QByteArray damaged = f.readFile("uch_lin.xml").chopped(40);
        f.writeFile("uch_lin.xml", damaged);
        f.rec.clear();
        dlg.SaveButton->click();
        QCOMPARE(f.readFile("uch_lin.xml"), damaged);
        QCOMPARE(f.rec.all(), QStringList("Предупреждение|Ошибка чтения файла " + f.filePath("uch_lin.xml")));
    }

    // New rows take the next two nodes, past the largest int too, and the first mark of the
    // catalog (of the line's class for a transformer); a line without sections opens with one,
    // and only a first section starts at the feeder's node 0.
    void newRows_data()
    {
        QTest::addColumn<QString>("sections");
        QTest::addColumn<bool>("transformer");
        QTest::addColumn<double>("unom");
        QTest::addColumn<QString>("row");   // from "name" to "key"
        QTest::newRow("an empty line") << "" << false << 35.0 << "Новая линия|0|0|1|1|АС-70|0|0|||||0|0|0";
        // The nodes of the section it opened with, deleted, are not handed out again.
        QTest::newRow("a transformer first") << "" << true << 35.0
                                             << "Новый трансформатор|0|2|3|2|ТМН-2500/35||0|0|0|0|0|0|0|0";
        QTest::newRow("a section") << "0-1 1-2" << false << 35.0 << "Новая линия|0|3|4|1|АС-70|0|0|||||0|0|0";
        QTest::newRow("a transformer") << "0-1 1-2" << true << 35.0
                                       << "Новый трансформатор|0|3|4|2|ТМН-2500/35||0|0|0|0|0|0|0|0";
        for (double unom : {50.0, 150.0})   // 50 kV already in the 110 kV class
            QTest::addRow("a transformer of a %g kV line", unom)
                << "0-1" << true << unom << "Новый трансформатор|0|2|3|2|ТДН-10000/110||0|0|0|0|0|0|0|0";
        QTest::newRow("after the largest int") << "0-2147483647" << false << 35.0
                                               << "Новая линия|0|2147483648|2147483649|1|АС-70|0|0|||||0|0|0";
    }
    void newRows()
    {
        QFETCH(QString, sections);
        QFETCH(bool, transformer);
        QFETCH(double, unom);
        Folder f;
        TestNetwork net = network();
        net.sections.clear();
        for (const QString& ends : sections.split(' ', Qt::SkipEmptyParts))
            net.addSection("1", ends.section('-', 0, 0).toInt(), ends.section('-', 1).toInt(), "АС-50", 1);
        net.write();
        UNOM = unom;
        CDlgTblUchLIN dlg(nullptr);
        if (sections.isEmpty() && transformer) {   // the section it opened with deleted first
            dlg.tableWgt->setCurrentCell(0, 3);
            dlg.DelButton->click();
        }
        if (!sections.isEmpty() || transformer)
            (transformer ? dlg.AddTrans : dlg.AddButton)->click();
        QTEST(dlg.rowTexts(dlg.tableWgt->rowCount() - 1).mid(3).join('|'), "row");
    }

    // The panel shows the first row on opening and writes into the row it shows: the length with
    // three decimals, "Откл" and "На балансе" as 1 or 0. A transformer shows no length, whatever the file holds.
    void panelWritesItsRow()
    {
        Folder f;
        TestNetwork net = network();
        net.sections[3][9] = "7";
        net.write();
        CDlgTblUchLIN dlg(nullptr);
        QCOMPARE(QStringList({QString::number(dlg.panelRow()), dlg.DlinaSpin->text(), dlg.Markacombo->currentText()}),
                 QStringList({"0", "999.990", "АС-70"}));   // its length beyond the field
        const auto cells = [&dlg](int r) {
            const QStringList row = dlg.rowTexts(r);
            return QStringList{row[9], row[15], row[16]}.join('|');
        };
        QCOMPARE(cells(3), QString("|0|0"));
        dlg.slot_RowChanged(2, 0);   // 1-3, disconnected
        QVERIFY(dlg.groupBox_2->isEnabled());
        QCOMPARE(dlg.DlinaSpin->value(), 2.25);
        dlg.DlinaSpin->setValue(2.5);
        dlg.checkOtkl->setChecked(false);
        dlg.checkBalance->setChecked(true);
        QCOMPARE(cells(2), QString("2.500|1|0"));
        dlg.checkOtkl->setChecked(true);
        dlg.checkBalance->setChecked(false);
        QCOMPARE(cells(2), QString("2.500|0|1"));
    }

    // Filters, search, the tap shown and written back, the marks offered, a copy; the last row
    // deleted leaves the panel cleared and disabled, and its edits go nowhere.
    void panelAndFilters()
    {
        Folder f;
        network().write();
        CDlgTblUchLIN dlg(nullptr);
        const auto shown = [&dlg] {
            QStringList rows;
            for (int r = 0; r < dlg.tableWgt->rowCount(); ++r)
                if (!dlg.tableWgt->isRowHidden(r))
                    rows << dlg.tableWgt->item(r, 5)->text() + "-" + dlg.tableWgt->item(r, 6)->text();
            return rows.join(' ') + " " + headerLine(dlg.tableWgt);
        };
        const QString columns = "Комментарий-1|Комментарий-2|Начало|Конец|Элемент";
        QVERIFY(programHeads(dlg.tableWgt));
        QCOMPARE(dlg.windowTitle(), QString("Информация по участкам линии "));   // no line dialog behind it
        QStringList tips;
        for (int c : {5, 6, 8})
            tips << dlg.tableWgt->horizontalHeaderItem(c)->toolTip();
        QCOMPARE(tips, (QStringList{"Номер начала ветви", "Номер конца ветви", "Номер района"}));
        QCOMPARE(editorRanges(dlg.tableWgt, {5, 6, 11, 14}), (QStringList{"0 99999999 1 0", "0 99999999 1 0",
                                                                          "-99999999 99999999 1 3", "-99999999 99999999 1 3"}));
        dlg.TransfShow->click();
        QCOMPARE(shown(), "1-2 3-4 " + columns + "|P, МВт|Q, мвар|WP, мвтч|WQ, мварч");
        dlg.LinesShow->click();
        QCOMPARE(shown(), "0-1 1-3 " + columns);
        QList<int> found;
        for (const char* text : {"1", "1", "1", "1", "ОТП"}) {
            dlg.LineFind->setText(text);
            dlg.FindButton->click();
            found << dlg.tableWgt->selectionModel()->selectedRows().value(0).row();
        }
        // The hidden 1-2 skipped; none after 1-3, then the top again; the second comment searched too.
        QCOMPARE(found, QList<int>({0, 2, 2, 0, 2}));
        dlg.LinesShow->click();
        QCOMPARE(shown(), "0-1 1-2 1-3 3-4 " + columns);

        dlg.slot_RowChanged(1, 0);
        QCOMPARE(dlg.spinOtv->value(), 3);
        dlg.spinOtv->setValue(-2);
        dlg.slot_RowChanged(3, 0);
        QCOMPARE(dlg.spinOtv->value(), 0);
        QCOMPARE(dlg.tableWgt->item(1, 10)->text() + dlg.tableWgt->item(3, 10)->text(), QString("-20"));
        QCOMPARE(comboItems(dlg.Markacombo), QStringList({"ТМ-1000/35", "ТМН-2500/35"}));
        dlg.slot_RowChanged(2, 0);
        dlg.slot_copyRow();
        QStringList copy = dlg.rowTexts(2);
        copy[17] = "5";
        QCOMPARE(dlg.rowTexts(4), copy);

        while (dlg.tableWgt->rowCount() > 0) {
            dlg.tableWgt->setCurrentCell(dlg.tableWgt->rowCount() - 1, 3);
            dlg.DelButton->click();
        }
        QCOMPARE(dlg.panelRow(), -1);
        QVERIFY(!dlg.groupBox_2->isEnabled());
        dlg.slot_copyRow();
        dlg.slot_DlinaSpinChanged(5);
        QCOMPARE(dlg.tableWgt->rowCount(), 0);
        // Saved so, after the warnings, the line has no sections left; line 2 keeps its own.
        f.rec.clear();
        dlg.SaveButton->click();
        QCOMPARE(f.rec.all(), QStringList({"Предупреждение|Для линии не заведены участки",
                                           "Предупреждение|В информации об участках линии есть ошибки",
                                           "Сохранение|Сохранить изменения?", "Информация|Данные сохранены"}));
        QCOMPARE(ReadShablonXML("uch_lin", {"nlin"}, "UCH_LIN"), Table{{"2"}});
    }

    // Beside the monthly input of its RES, in either order, each keeps what the other saved; a line
    // deleted meanwhile gets no rows back; a new row whose key was taken meanwhile moves on; a
    // freed key given to another element takes no edit meant for the old one.
    void savesBesideOtherWindows_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("input saved, editor untouched") << "input";
        QTest::newRow("input saved, editor edited") << "input edit";
        QTest::newRow("editor saved, then input") << "editor input";
        QTest::newRow("line deleted") << "delete";
        QTest::newRow("key taken") << "key";
        QTest::newRow("freed key") << "freed";
    }
    void savesBesideOtherWindows()
    {
        QFETCH(QString, meanwhile);
        Folder f(true);
        NPES = NRES = NLIN = "1";
        UNOM = 110;
        CDlgTblUchLIN editor(nullptr);
        CDlgVvodRES input("1", "1", "Заречный РЭС");
        // A cell of line 1's row with the key, in a table widget or in the file.
        const auto item = [](QTableWidget* t, const QString& key, int c) {
            for (int r = 0; r < t->rowCount(); ++r)
                if (t->item(r, 1)->text() == "1" && t->item(r, 2)->text() == "1" && t->item(r, 17)->text() == key)
                    return t->item(r, c);
            return static_cast<QTableWidgetItem*>(nullptr);
        };
        const auto stored = [](const QString& key, int c) {
            for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"))
                if (row.mid(0, 3) == QStringList({"1", "1", "1"}) && row.at(17) == key)
                    return row.at(c);
            return QString("(нет)");
        };
        if (meanwhile.startsWith("input")) {
            item(input.tableWgt, "5", 13)->setText("7777");
            input.SaveButt->click();
            if (meanwhile.endsWith("edit"))
                item(editor.tableWgt, "1", 9)->setText("20.000");
            editor.SaveButton->click();
            QCOMPARE(stored("5", 13) + " " + stored("1", 9), meanwhile.endsWith("edit") ? "7777 20.000" : "7777 16.400");
        } else if (meanwhile.startsWith("editor")) {
            item(editor.tableWgt, "1", 9)->setText("20.000");
            editor.SaveButton->click();
            item(input.tableWgt, "5", 13)->setText("7777");
            input.SaveButt->click();
            QCOMPARE(stored("5", 13) + " " + stored("1", 9), QString("7777 20.000"));
        } else if (meanwhile == "delete") {
            DeleteObj(2, "1", "1", "1");
            const QByteArray table = f.readFile("uch_lin.xml");
            f.rec.clear();
            // Refused first and alone: no check, no question.
            editor.SaveButton->click();
            QCOMPARE(f.rec.all(), QStringList("Предупреждение|Линия не найдена в таблице линий, данные не сохранены"));
            QCOMPARE(f.readFile("uch_lin.xml"), table);
        } else if (meanwhile == "freed") {
            // "ПС Берёзовка Т-1" (key 9, nodes 4-9) deleted and saved; an editor opened after
            // gives its new transformer key 9 and nodes 9-10. This editor's own new transformer
            // takes neither the key it has seen nor the node the other holds; the input's energy
            // typed for Берёзовка lands on no other transformer, and it says so.
            editor.tableWgt->setCurrentItem(item(editor.tableWgt, "9", 3));
            editor.DelButton->click();
            editor.SaveButton->click();
            CDlgTblUchLIN later(nullptr);
            later.AddTrans->click();
            later.SaveButton->click();
            editor.AddTrans->click();
            editor.SaveButton->click();
            QCOMPARE(stored("9", 5) + "-" + stored("9", 6) + " " + stored("10", 5) + "-" + stored("10", 6),
                     QString("9-10 12-11"));
            item(input.tableWgt, "9", 13)->setText("7777");
            f.rec.clear();
            input.SaveButt->click();
            QCOMPARE(stored("9", 13), QString("0"));
            QVERIFY(f.rec.warnings().value(0).contains(": ПС Берёзовка Т-1, узлы 4-9\n"));
        } else {
            editor.AddButton->click();
            Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
            QStringList other = rows.at(0);
            other[3] = "Из другого окна";
            other[17] = "10";   // the key the editor's new row is about to take, after line 1's 9
            rows.insert(11, other);
            QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
            editor.SaveButton->click();
            QCOMPARE(stored("10", 3) + "|" + stored("11", 3), QString("Из другого окна|Новая линия"));
            QVERIFY(item(editor.tableWgt, "11", 3));
            QVERIFY(!editor.hasUnsavedEdits());
        }
    }

    // Line 1's keys as stored (the examples' are 1 to 9, the transformers the last five): rows
    // without a key of their own get the next keys above the line's largest as the editor reads
    // them, written with its next save, never by opening and closing alone; a delete takes out the
    // one row deleted.
    void keysOfTheirOwn_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("deleted");   // the row deleted before the save; "-" for no save at all
        QTest::addColumn<QString>("stored");    // line 1's keys after
        QTest::newRow("opened and closed") << "0|0|0|0|0|0|0|0|0" << "-" << "0|0|0|0|0|0|0|0|0";
        QTest::newRow("transformers keyed 0, one deleted") << "1|2|3|4|0|0|0|0|0" << "ПС Сосновка Т-1" << "1|2|3|4|5|6|8|9";
        QTest::newRow("every key empty, a section deleted") << "||||||||" << "ПС Полевая - ПС Сосновка" << "1|2|4|5|6|7|8|9";
        QTest::newRow("repeated keys") << "1|2|3|4|5|6|5|5|9" << "" << "1|2|3|4|5|6|10|11|9";
    }
    void keysOfTheirOwn()
    {
        QFETCH(QString, keys);
        QFETCH(QString, deleted);
        Folder f(true);
        keyLine1(keys);
        const QMap<QString, QByteArray> before = f.files();
        QPointer<CDlgTblUchLIN> dlg = new CDlgTblUchLIN(nullptr);
        dlg->show();
        if (!deleted.isEmpty() && deleted != "-") {
            dlg->tableWgt->setCurrentCell(rowNamed(*dlg, deleted), 3);
            dlg->DelButton->click();
        }
        deleted == "-" ? void(dlg->close()) : dlg->SaveButton->click();
        if (deleted == "-")
            QVERIFY(f.rec.all().isEmpty() && f.files() == before);
        QTEST(column(line1(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN")), 17).join('|'), "stored");
        delete dlg.data();
    }

    // Beside another editor of line 1 ("ПС Сосновка Т-2" stored with key "0", which both show as 10):
    // a delete or an edit whose element the other's save changed or took out is named, and the
    // window then shows the line as the file holds it; a node number of a new section that the
    // other took meanwhile moves on, and the save says so.
    void besideAnotherEditor_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("said");   // after the question
        QTest::addColumn<QString>("rows");   // "Сосновка Т-2", "Берёзовка Т-1" and new rows, shown and stored
        const QString head = "Предупреждение|Не сохранены строки, измененные в другом окне после открытия этого окна:\n";
        const QString tail = "\nОткройте окно ввода заново и повторите ввод.";
        QTest::newRow("delete of a row renumbered") << "delete" << head + "линия 1: ПС Сосновка Т-2, узлы 3-8" + tail
                                                    << "ПС Сосновка Т-2 3-8 10 другое|ПС Берёзовка Т-1 4-9 9 ";
        QTest::newRow("edit of a row deleted") << "edit" << head + "линия 1: ПС Берёзовка Т-1, узлы 4-9" + tail
                                               << "ПС Сосновка Т-2 3-8 10 в резерве";
        QTest::newRow("node taken") << "add" << "Информация|Данные сохранены\nУзел 10 занят другим окном, присвоен номер 12\n"
                                                "Узел 11 занят другим окном, присвоен номер 13"
                                    << "ПС Сосновка Т-2 3-8 10 в резерве|ПС Берёзовка Т-1 4-9 9 |Новая линия 12-13 12 0";
    }
    void besideAnotherEditor()
    {
        QFETCH(QString, step);
        Folder f(true);
        keyLine1("1|2|3|4|5|6|7|0|9");
        CDlgTblUchLIN mine(nullptr), other(nullptr);
        const QString name = step == "delete" ? "ПС Сосновка Т-2" : "ПС Берёзовка Т-1";
        if (step == "add") {
            other.AddButton->click();
            other.tableWgt->item(rowNamed(other, "Новая линия"), 3)->setText("Из другого окна");
        } else if (step == "delete") {
            other.tableWgt->item(rowNamed(other, name), 4)->setText("другое");
        } else {
            other.tableWgt->setCurrentCell(rowNamed(other, name), 3);
            other.DelButton->click();
        }
        other.SaveButton->click();
        if (step == "add") {
            mine.AddButton->click();
        } else if (step == "delete") {
            mine.tableWgt->setCurrentCell(rowNamed(mine, name), 3);
            mine.DelButton->click();
        } else {
            mine.tableWgt->item(rowNamed(mine, name), 4)->setText("правка");
        }
        f.rec.clear();
        mine.SaveButton->click();
        const QStringList said = f.rec.all();
        QTEST(said.mid(said.indexOf("Сохранение|Сохранить изменения?") + 1).join('|'), "said");
        // Those rows in the table, and in the file.
        const auto named = [](const Table& rows) {
            QStringList out;
            for (const QStringList& row : rows)
                if (QStringList({"ПС Сосновка Т-2", "ПС Берёзовка Т-1", "Новая линия"}).contains(row.at(3)))
                    out << row.at(3) + " " + row.at(5) + "-" + row.at(6) + " " + row.at(17) + " " + row.at(4);
            return out.join('|');
        };
        Table shown;
        for (int r = 0; r < mine.tableWgt->rowCount(); ++r)
            shown << mine.rowTexts(r);
        QTEST(named(shown), "rows");
        QTEST(named(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN")), "rows");
        QVERIFY(!mine.hasUnsavedEdits());
    }
};

QTEST_MAIN(TestTblUchLin)
#include "tst_tbluchlin.moc"
