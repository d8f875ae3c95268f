// The line dialog: its record loaded and saved, the protocol-mode run, its own line kept; beside it
// the windows of its line and RES, on a deleted object and saving twice.

#include "dialogfixture.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgRES.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "dialogs/CDlgVvodRES.h"
#include "scheme/CGraph_DMS.h"

// Line 1 (attrLin values from "name" on) between two lines of its RES, with one 35 kV transformer.
static TestNetwork network(const QString& line1)
{
    saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "РЭС-1", "1", "-5.5"}});
    TestNetwork net;
    net.addLine("2", "ВЛ-2", 110);
    net.lines.append(QStringList{"1", "1", "1"} + line1.split('|'));
    net.addLine("3", "ВЛ-3", 110);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 4.5);
    net.addTrans("1", 1, 2, "ТМН-2500/35", 1.2, 0.5, 800, 300);
    return net;
}

// A window on the examples' current line or RES (NPES, NRES, NLIN); the monthly input shows the line.
static QDialog* openWindow(const QString& kind)
{
    if (kind == "line dialog")
        return new CDlgLIN(QString(), nullptr);
    if (kind == "RES dialog")
        return new CDlgRES(QString(), nullptr);
    if (kind == "sections editor")
        return new CDlgTblUchLIN(nullptr);
    auto* input = new CDlgVvodRES(NPES, NRES, "РЭС");
    for (int r = 0; r < input->tableLIN->rowCount(); ++r)
        if (input->tableLIN->item(r, 2)->text() == NLIN)
            emit input->tableLIN->cellClicked(r, 0);
    return input;
}

// Sets field 0 (a name: the first shown transformer's in the monthly input) or field 1 (a second
// row's comment in the sections editor, the temperature, or a coefficient of the line, with that
// transformer's energy in the monthly input: numbers of their own).
static void setField(QDialog* w, int field, const QString& text)
{
    if (auto* line = qobject_cast<CDlgLIN*>(w))
        field == 0 ? line->DnLIN->setText(text) : line->Kz->setValue(0.33);
    else if (auto* res = qobject_cast<CDlgRES*>(w))
        field == 0 ? res->DnRES->setText(text) : res->SpinTemp->setValue(12.5);
    else if (auto* editor = qobject_cast<CDlgTblUchLIN*>(w))
        editor->tableWgt->item(field, 4)->setText(text);
    else if (auto* input = qobject_cast<CDlgVvodRES*>(w)) {
        int r = 0, line = 0;
        while (input->tableWgt->isRowHidden(r))
            ++r;
        while (input->tableLIN->item(line, 2)->text() != input->currentLine())
            ++line;
        if (field == 0)
            input->tableWgt->item(r, 3)->setText(text);
        else
            for (QTableWidgetItem* item : {input->tableWgt->item(r, 13), input->tableLIN->item(line, 10)})
                item->setText("0.6");
    }
}

static void saveWindow(QDialog* w)
{
    w->findChild<QPushButton*>(qobject_cast<CDlgVvodRES*>(w) ? "SaveButt" : "SaveButton")->click();
}

class TestDlgLin : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 7; }

    // Values the fields cannot hold are saved as the fields show them (unom 0 as 35, podkl 400 as
    // 366), except a cell another window changed meanwhile: that change stays.
    void savesWhatTheFieldsShow()
    {
        Folder f;
        TestNetwork net = network("ВЛ-1||400|0|600||abc|7|||1|1|0|1");
        net.write();
        CDlgLIN dlg("1,1,1", nullptr);
        QCOMPARE(dlg.windowTitle(), QString("Режимы работы на уровне линии Заречный РЭС ВЛ-1"));
        QCOMPARE(pT_RES, -5.5);
        QCOMPARE(UNOM, 0.0);
        // The form factor is shown only for a line with a graph of its own.
        QVERIFY(!dlg.Kfor->isVisibleTo(&dlg));
        dlg.checkKF->click();
        QVERIFY(dlg.Kfor->isVisibleTo(&dlg));
        net.lines[1][10] = "0.5";   // the monthly input's fill factor, saved meanwhile
        net.write();
        dlg.SaveButton->click();
        QCOMPARE(f.rec.all(), QStringList({"Сохранение|Сохранить изменения?", "Информация|Данные сохранены"}));
        net.lines[1] = QStringList{"1", "1", "1"} + QString("ВЛ-1||366|35|550|35|0|0.5|1|0|1|1|1|1").split('|');
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
        QVERIFY(f.readFile("lines.xml").contains("\n<net110_lines created="));   // the root this save writes
    }

    // Its RES and line are those of all three codes, whatever rows of other RES and PES stand before them.
    void readsItsOwnRows()
    {
        Folder f;
        TestNetwork net = network("ВЛ-1|Л-1|0|0|35|38|31|0.3|1|1|0|1|0|1");
        for (const char* other : {"2|1|1|ВЛ другой ПЭС|Л-21", "1|2|1|ВЛ другого РЭС|Л-12"})
            net.lines.prepend((QString(other) + "|0|0|35|38|31|0.3|1|1|0|1|0|1").split('|'));
        net.write();
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"2", "1", "РЭС другой ПЭС", "", "1", "0"},
                                                             {"1", "2", "Другой РЭС", "", "1", "0"},
                                                             {"1", "1", "Заречный РЭС", "РЭС-1", "1", "-5.5"}});
        CDlgLIN dlg("1,1,1", nullptr);
        QCOMPARE(QStringList({dlg.windowTitle(), dlg.NazvLIN->text(), dlg.DnLIN->text()}),
                 QStringList({"Режимы работы на уровне линии Заречный РЭС ВЛ-1", "ВЛ-1", "Л-1"}));
        QCOMPARE(pT_RES, -5.5);
    }

    // A name longer than its box shows from its start.
    void longNameFromItsStart()
    {
        Folder f;
        const QString name = "ВЛ 110 кВ Заречная - Сосновка с отпайками на ПС Берёзовка, ПС Полевая и ПС Луговая";
        network(name + "|Л-112|400|0|600||1|7|||1|1|0|1").write();
        CDlgLIN dlg("1,1,1", nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.NazvLIN->fontMetrics().horizontalAdvance(name) > dlg.NazvLIN->width());
        QCOMPARE(QStringList({dlg.NazvLIN->text(), dlg.DnLIN->text(), dlg.nomRES->text(), dlg.nomLIN->text()}),
                 QStringList({name, "Л-112", "1", "1"}));
        QCOMPARE(dlg.NazvLIN->cursorPosition(), 0);
    }

    // A decimal comma typed into a field is the decimal point it is everywhere else,
    // never a digit-group blank ("0,45" would be stored as 45). A digit that would take a
    // figure beyond its field's range is refused as it is typed: what the field shows is saved.
    void typedCommaSaved()
    {
        Folder f;
        TestNetwork net = network("ВЛ-1|Л-1|400|0|35|38|31|0.3|1|1|0|1|0|1");
        net.write();
        CDlgLIN dlg("1,1,1", nullptr);
        QStringList shown;
        for (const auto& [box, typed] : {std::pair{"tg", "0,45"}, {"Umax", "38,5"}, {"Otkl", "400"}}) {
            auto* spin = dlg.findChild<QDoubleSpinBox*>(box);
            spin->selectAll();
            QTest::keyClicks(spin, typed);
            shown << spin->text();
        }
        QCOMPARE(shown, (QStringList{"0,45", "38,5", "40"}));
        dlg.SaveButton->click();
        // The rest of the record as shown: the voltage 0 shown clamped is saved as 35.
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN").value(1).mid(3).join('|'),
                 QString("ВЛ-1|Л-1|40|35|38.5|38|0.45|0.3|1|1|0|1|0|1"));
    }

    // Another line's window opened after it: it calculates, reports, saves and edits the sections of its own line.
    void keepsItsOwnLine()
    {
        Folder f;
        TestNetwork net = network("ВЛ-1|Л-1|0|35|38|36|0.45|0|1.08|0.85|0|0|1|0");   // a fill factor 0: logged
        net.addSection("2", 0, 1, "АС-70", 9);
        net.write();
        CDlgLIN first("1,1,1", nullptr);
        first.show();
        first.InfoUchLin->click();
        QPointer<CDlgTblUchLIN> sections = first.m_pTblUchLIN;
        QVERIFY(sections && sections->isVisible());
        QCOMPARE(sections->windowTitle(), QString("Информация по участкам линии ВЛ-1"));
        NLIN = "2";
        CDlgLIN second("1,1,2", nullptr);
        first.CalcLin->click();
        QCOMPARE(NLIN, QString("1"));
        const QStringList run = {"html|Информация по участкам линии ВЛ-1", "|Ошибки при расчете потерь.log",
                                 "html|Потери по линии ВЛ-1"};
        QCOMPARE(f.rec.all(), run);
        first.CalcLin->click();   // and again
        QCOMPARE(f.rec.all(), run + run);
        NLIN = "2";
        first.ParamLin->click();   // a 2500 kVA group
        QVERIFY(f.readFile("html/Параметры линии ВЛ-1.html").contains("<td align='center'>2500</span>"));
        NLIN = "2";
        first.NazvLIN->setText("ВЛ-1 новая");
        first.SaveButton->click();
        sections->slot_addTrans();
        sections->SaveButton->click();
        net.lines[1][3] = "ВЛ-1 новая";
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
        QCOMPARE(ReadShablonXML("uch_lin", {"nlin"}, "UCH_LIN"), (Table{{"1"}, {"1"}, {"1"}, {"2"}}));

        // The line is deleted in the tree meanwhile (a line window does not lock it): nothing is added.
        net.lines.removeAt(1);
        net.write();
        first.SaveButton->click();
        QCOMPARE(f.rec.warnings().last(),
                 QString("Предупреждение|Линия не найдена в таблице линий, данные не сохранены"));
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
    }

    // Only fields changed here are saved: a coefficient the monthly input saved and a name the
    // tree gave meanwhile stay; a line deleted meanwhile is not written back.
    void keepsWhatOthersSaved_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("expected");   // name, dnlin and k_zapol stored after the save
        QTest::newRow("coefficient") << "coefficient" << "Новое имя|Л-1|0.33";
        QTest::newRow("renamed in the tree") << "renamed" << "Из дерева|Л-2|0.72";
        QTest::newRow("deleted") << "deleted" << "";
    }
    void keepsWhatOthersSaved()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, expected);
        Folder f;
        TestNetwork net = network("ВЛ-1|Л-1|0|35|38|36|0.45|0.72|1.08|0.85|0|0|1|0");
        net.write();
        CDlgLIN dlg("1,1,1", nullptr);
        if (meanwhile == "coefficient") {
            net.lines[1][10] = "0.33";
            net.write();
            dlg.NazvLIN->setText("Новое имя");
        } else if (meanwhile == "renamed") {
            UpdateObj(2, "Из дерева", "1", "1", "1");
            dlg.DnLIN->setText("Л-2");
        } else {
            DeleteObj(2, "1", "1", "1");
        }
        const QByteArray before = f.readFile("lines.xml");
        f.rec.clear();
        dlg.SaveButton->click();
        if (expected.isEmpty()) {
            QCOMPARE(f.rec.warnings(), QStringList{"Предупреждение|Линия не найдена в таблице линий, данные не сохранены"});
            QCOMPARE(f.readFile("lines.xml"), before);
            return;
        }
        const QStringList row = ReadShablonXML("lines", attrLin, "LIN").value(1);
        QCOMPARE(QStringList({row.value(3), row.value(4), row.value(10)}).join('|'), expected);
    }

    // The scheme button brings the line's open editor to the front: two editors of one line would
    // save their whole drawings over each other. Another line gets its own.
    void oneSchemeEditorPerLine()
    {
        Folder f;
        network("ВЛ-1|Л-1|0|35|38|36|0.45|0.72|1.08|0.85|0|0|1|0").write();
        const auto editors = [] {
            QList<QPointer<CGraph_DMS>> open;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* editor = qobject_cast<CGraph_DMS*>(w))
                    open.append(editor);
            return open;
        };
        CDlgLIN first("1,1,1", nullptr);
        first.SxemaEdit->click();
        first.SxemaEdit->click();
        QCOMPARE(editors().size(), 1);
        NLIN = "3";
        CDlgLIN other("1,1,3", nullptr);
        other.SxemaEdit->click();
        const QList<QPointer<CGraph_DMS>> open = editors();
        QCOMPARE(open.size(), 2);
        for (const QPointer<CGraph_DMS>& editor : open)
            delete editor.data();
    }

    // A line or RES deleted in the tree is gone for every window open on it, even once a new object
    // has taken its codes (line 1,1,3 and RES 1,3 are the largest of theirs): its edits are saved
    // neither by the save button nor by closing with "Да", and the new object stays as the tree made
    // it. The monthly input names its rows of the deleted line and shows them no more.
    void goneObjectRefused_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("said");   // by the save, then by closing with "Да"
        const QString line = "Предупреждение|Линия не найдена в таблице линий, данные не сохранены";
        const QString res = "Предупреждение|РЭС не найден в таблице РЭС, данные не сохранены";
        const QString ask = "Сохранение|Сохранить изменения?";
        const QString head = "Предупреждение|Не сохранены строки, измененные в другом окне после открытия этого окна:\n"
                             "линия ВЛ 35 кВ Заречная - Кузьминки";
        const QString tail = "\nОткройте окно ввода заново и повторите ввод.";
        QTest::newRow("line dialog") << "line dialog" << 2 << QStringList{ask, line, ask, line};
        QTest::newRow("sections editor") << "sections editor" << 2 << QStringList{line, ask, line};
        // Nor does the line dialog open a sections or scheme editor on the new line.
        QTest::newRow("line dialog's editors opened after") << "editors" << 2 << QStringList{line, line};
        QTest::newRow("monthly input, its line deleted")
            << "monthly input" << 2 << QStringList{ask, head + tail, head + ": Правка, узлы 2-5" + tail};
        QTest::newRow("RES dialog") << "RES dialog" << 1 << QStringList{ask, res, ask, res};
        QTest::newRow("monthly input, its RES deleted") << "monthly input" << 1 << QStringList{ask, res, ask, res};
    }
    void goneObjectRefused()
    {
        QFETCH(QString, window);
        QFETCH(int, level);
        Folder f(true);
        NRES = level == 1 ? "3" : "1";
        NLIN = "3";
        QPointer<QDialog> w = openWindow(window == "editors" ? "line dialog" : window);
        setField(w, 0, "Правка");
        setField(w, 1, "Правка");
        DeleteObj(level, NPES, NRES, NLIN);
        CreateNewObj(level);
        const QMap<QString, QByteArray> created = f.files();
        w->show();
        f.rec.clear();
        if (window == "editors") {
            auto* line = static_cast<CDlgLIN*>(w.data());
            line->InfoUchLin->click();
            line->SxemaEdit->click();
            QVERIFY(!line->m_pTblUchLIN);
            for (QWidget* top : QApplication::topLevelWidgets())
                QVERIFY(!qobject_cast<CGraph_DMS*>(top));
        } else {
            saveWindow(w);
            if (auto* input = qobject_cast<CDlgVvodRES*>(w); input && level == 2)
                QCOMPARE(input->tableLIN->item(2, 3)->text() + " " + QString::number(input->tableWgt->rowCount()),
                         QString("Новая линия 15"));   // lines 1 and 2 keep their 15 sections, line 3 has none
            f.rec.defaultSaveAnswer = SaveAnswer::Save;
            w->close();
        }
        QTEST(f.rec.all(), "said");
        QCOMPARE(f.files(), created);
        delete w.data();
    }

    // Each window saves twice on the examples' line 1,1,1 or RES 1,1, another window of its kind
    // saving in between: the second save keeps what the other saved, even in the field of this
    // window's first save. This window sets field 0, the other sets it again, this window field 1.
    void secondSaveKeepsOthers_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("stored");   // the two fields in the file after
        QTest::newRow("sections editor") << "sections editor" << "Правка1|Правка2";
        QTest::newRow("monthly input") << "monthly input" << "Правка1|0.6 0.6";
        QTest::newRow("line dialog") << "line dialog" << "Правка1|0.33";
        QTest::newRow("RES dialog") << "RES dialog" << "Правка1|12.5";
    }
    void secondSaveKeepsOthers()
    {
        QFETCH(QString, window);
        Folder f(true);
        UNOM = 110;
        QScopedPointer<QDialog> mine(openWindow(window)), other(openWindow(window));
        for (const auto& [w, field, text] : {std::tuple{mine.data(), 0, "Правка0"}, {other.data(), 0, "Правка1"},
                                             {mine.data(), 1, "Правка2"}}) {
            setField(w, field, text);
            saveWindow(w);
        }
        const Table sections = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");   // line 1's first
        const QStringList line = ReadShablonXML("lines", attrLin, "LIN").value(0);
        const QStringList res = ReadShablonXML("res", attrRES, "RES").value(0);
        const QMap<QString, QStringList> stored = {{"sections editor", {sections[0][4], sections[1][4]}},
                                                   {"monthly input", {sections[4][3], sections[4][13] + " " + line[10]}},
                                                   {"line dialog", {line[4], line[10]}},
                                                   {"RES dialog", {res[3], res[5]}}};
        QTEST(stored[window].join('|'), "stored");
    }
};

QTEST_MAIN(TestDlgLin)
#include "tst_dlglin.moc"
