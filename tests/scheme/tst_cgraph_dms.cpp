// The scheme editor window: saving, closing, the confirmations and the view's tools.

#include "schemefixture.h"
#include "shownmark.h"
#include "scheme/CGraph_DMS.h"
#include "scheme/CNavigate.h"
#include "scheme/CmenuBranch.h"
#include "scheme/CmenuNode.h"
#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"
#include "scheme/createsxem.h"
#include "scheme/CparamTR2.h"
#include "scheme/schemerecords.h"

#include <QColorDialog>
#include <QScreen>

namespace {

QStringList fileRows() { return rowTexts(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN")); }

SxemaLin savedLine1() { return readSxemaFile().records.value(0); }

// The record whose field holds key, joined by ';'.
QString withKey(const Table& records, int field, const QString& key)
{
    for (const QStringList& r : records)
        if (r.value(field) == key)
            return r.join(';');
    return QString();
}

// The current line's rows in "uch_lin", and its saved drawing.
Table lineInFile()
{
    Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](auto& r) { return r.mid(0, 3) != QStringList({NPES, NRES, NLIN}); }),
               rows.end());
    return rows;
}
SxemaLin savedDrawing()
{
    const QVector<SxemaLin> all = readSxemaFile().records;
    return *std::find_if(all.begin(), all.end(), [](auto& s) { return s.key.mid(0, 3) == QStringList({NPES, NRES, NLIN}); });
}

// "1 key" of a section, "2 key" of a transformer, sorted: of each row, or
// of each element drawn (and "bus n" of a bus drawn twice). The two are
// equal when the drawing and the rows stand one to one.
QStringList keysOf(const Table& rows)
{
    QStringList keys;
    for (const QStringList& row : rows)
        keys.append((row.at(uchTipEl) == "1" ? "1 " : "2 ") + row.at(uchKey));
    keys.sort();
    return keys;
}
QStringList keysOf(const SxemaLin& drawing)
{
    QStringList keys, buses;
    for (const QStringList& r : drawing.nodes)
        (buses.contains(r.at(4)) ? keys : buses).append("bus " + r.at(4));
    for (const QStringList& r : drawing.lines)
        keys.append("1 " + r.at(1));
    for (const QStringList& r : drawing.transf)
        keys.append("2 " + r.at(6));
    for (const QStringList& r : drawing.transf3)
        for (int k : {7, 8, 9})
            if (!r.at(k).isEmpty())
                keys.append("2 " + r.at(k));
    keys.sort();
    return keys;
}

// Registry records of key as "kind key name".
QStringList recordsOf(const DiagramScene& scene, const QString& key)
{
    QStringList out;
    for (const SORTED_OBJECT_INF* r : scene.recordsWithKey(key))
        out.append(QString("%1 %2 %3").arg(r->kind).arg(r->key, r->name).trimmed());
    return out;
}

} // namespace

class TestCGraphDMS : public SchemeCase
{
    Q_OBJECT

private:
    QPointer<CGraph_DMS> m_w;

    CGraph_DMS* open(const QString& nlin = "1", QSize size = {800, 400})
    {
        NLIN = nlin;
        m_w = new CGraph_DMS;
        m_w->resize(size);
        m_w->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(m_w)); }();
        return m_w;
    }
    void close()
    {
        m_w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    DiagramScene& scene() const { return *m_w->scene(); }
    void damageTable() const { m_dir->writeFile("uch_lin.xml", m_dir->readFile("uch_lin.xml") + "<UCH_LIN npes="); }
    QString asked() const
    {
        const RecordedMessage m = m_rec->messages.value(0);
        return m.kind == "question" ? m.title + '|' + m.text : QString();
    }
    // The question about saving before closing, with "Да", "Нет" and "Отмена".
    QString askedToSave() const
    {
        const RecordedMessage m = m_rec->messages.value(0);
        return m.kind == "save" ? m.title + '|' + m.text : QString();
    }

private slots:
    void init() { openWork(); }
    void cleanup() { delete m_w.data(); }

    // Saved as laid out, labels where the loader put them, the rows left
    // alone but for the key section 2-10 was given.
    void layoutSaved()
    {
        QFile::remove(m_dir->filePath("sxemalin.xml"));
        QStringList rows = fileRows();
        rows.replaceInStrings("1: Участок 2-10", "1:8 Участок 2-10");
        Table keyed = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN").mid(0, 8);
        keyed[7][uchKey] = "8";
        const CreateSxem laid(1, &keyed);
        open()->slot_SaveGraph();
        QCOMPARE(m_rec->texts(), QStringList({"В архиве схем нет сохраненной схемы. Схема будет создана автоматически",
                                              "Данные сохранены"}));
        const SxemaLin saved = savedLine1();
        QCOMPARE(saved.key, QStringList({"1", "1", "1", "rgb(0,0,0)"}));
        QCOMPARE(schemeRecords(saved, 3, true), schemeRecords(laid, 3, true));
        QVERIFY(schemeRecords(saved).contains("Node 10;117;35;7;0;-10;97;0"));
        QCOMPARE(fileRows(), rows);
    }

    // A line dragged whole and the background are saved as drawn; reopened, all is saved the same.
    void savedAsDrawn()
    {
        open();
        SchemeView view(&scene());
        view.drag(QPointF(276, 80), {QPointF(281, 90), QPointF(286, 100)});
        m_w->bkGroundButton->click();
        m_w->findChild<QColorDialog*>()->setCurrentColor(QColor(232, 232, 232));
        m_w->slot_SaveGraph();
        const SxemaLin saved = savedLine1();
        QCOMPARE(saved.key.value(3), QString("rgb(232,232,232)"));
        close();
        open()->slot_SaveGraph();
        QCOMPARE(vertices(line(scene(), "2")), QString("172,139 250,61 322,139"));
        QCOMPARE(m_w->m_pView->backgroundBrush().color(), QColor(232, 232, 232));
        QCOMPARE(schemeRecords(savedLine1(), 0, true), schemeRecords(saved, 0, true));
    }

    // Rows others saved meanwhile stay unless the editor changed them; all goes to the editor's line.
    void changesMeanwhileSurvive()
    {
        open();
        NLIN = "2";
        QStringList edited = scene().lineRows().at(0);
        edited[uchName] = "Правка в схеме";
        scene().slot_ParamUCH(edited);
        element(scene(), KindTransf2, "3")->setSelected(true);
        scene().DelItems();
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddTP();
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        for (int i : {0, 1, 2, 8})
            rows[i][uchName] = "Из таблицы";
        rows[0][uchWpnagr] = "7777";   // a cell the editor did not touch
        rows.append(rows.at(1));
        rows.last()[uchKey] = "30";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        m_w->slot_SaveGraph();
        QCOMPARE(fileRows(), QStringList({"1:1 Правка в схеме", "1:2 Из таблицы", "1:4 Участок 2-4", "1:5 Участок 4-5",
                                          "1:6 Участок 4-6", "1:7 Участок 0-7", "1:8 Участок 2-10", "2:9 Из таблицы",
                                          "1:30 Из таблицы", "1:9 Новый тр-р"}));
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN").at(0).value(uchWpnagr), QString("7777"));
        QCOMPARE(readSxemaFile().records.size(), 1);
    }

    // A key and a node another window took meanwhile go to the next free
    // ones, the drawn section, its new bus and their labels with them, so
    // the two windows' sections are not joined, and the save says the
    // node's new number; a second save changes nothing.
    void addedNumbersTakenMeanwhile()
    {
        open();
        QVERIFY(scene().setCurrentNode("2", bus(scene(), "2")));
        scene().AddLine();   // key 9, to the new node 11
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        rows.insert(8, rows.at(0));
        rows[8][uchKey] = "9";
        rows[8][uchName] = "Из таблицы";
        rows[8][uchNyzln] = "11";
        rows[8][uchNyzlk] = "12";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        m_rec->clear();
        m_w->slot_SaveGraph();
        QCOMPARE(m_rec->warnings(), QStringList("Информация|Данные сохранены\nУзел 11 занят другим окном, присвоен номер 13"));
        QCOMPARE(fileRows().mid(7, 3), QStringList({"1:8 Участок 2-10", "1:9 Из таблицы", "1:10 Новая линия"}));
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN").at(9).mid(uchNyzln, 2), QStringList({"2", "13"}));
        QVERIFY(line(scene(), "10") && !line(scene(), "9"));
        QVERIFY(bus(scene(), "2")->m_links.contains("10") && !bus(scene(), "2")->m_links.contains("9"));
        QVERIFY(bus(scene(), "13") && !bus(scene(), "11"));
        const SxemaLin saved = savedLine1();
        QVERIFY(withKey(saved.lines, 1, "9").isEmpty());
        QVERIFY(withKey(saved.lines, 1, "10").section(';', 2, 2).toInt() > 0);   // with its label
        QVERIFY(withKey(saved.nodes, 4, "11").isEmpty());
        QVERIFY(withKey(saved.nodes, 4, "13").section(';', 5, 5).toInt() > 0);
        QVERIFY(!m_w->hasUnsavedEdits());
        const QByteArray table = m_dir->readFile("uch_lin.xml");
        m_w->slot_SaveGraph();
        QCOMPARE(m_dir->readFile("uch_lin.xml"), table);   // not even rewritten
    }

    // A key another window freed and gave to another element: this editor's delete of the old
    // element, opened before, takes nothing with it and says so.
    void deleteOfAFreedKey()
    {
        open();
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        rows[6] = rows.at(0);   // the three-winding unit 0-7 (key 7) deleted, key 7 given anew
        rows[6][uchKey] = "7";
        rows[6][uchName] = "Из таблицы";
        rows[6][uchNyzln] = "11";
        rows[6][uchNyzlk] = "12";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        element(scene(), KindTransf3, "7")->setSelected(true);
        scene().DelItems();
        m_rec->messages.clear();
        m_w->slot_SaveGraph();
        QCOMPARE(fileRows().at(6), QString("1:7 Из таблицы"));
        QVERIFY(m_rec->texts().value(0).contains(":\nУчасток 0-7, узлы 0-7\n"));
    }

    // A save writes only what differs from the files as they are now: a
    // layout never saved is written; saved again, or reopened and saved,
    // the drawing's file and its .bak stay; a row changed alone writes the
    // rows alone. Each says "Данные сохранены", as a save always has.
    void savesOnlyWhatChanged()
    {
        openWork(false);
        m_dir->copyExamples();
        open();
        const auto written = [&] {
            const QMap<QString, QByteArray> files = m_dir->files();
            m_rec->clear();
            m_w->slot_SaveGraph();
            QStringList changed;
            for (const QString& name : m_dir->files().keys())
                if (m_dir->files().value(name) != files.value(name))
                    changed.append(name);
            return m_rec->texts().join('|') + ": " + changed.join(' ');
        };
        QCOMPARE(written(), QString("Данные сохранены: sxemalin.xml"));
        QCOMPARE(written(), QString("Данные сохранены: "));
        close();
        open();
        QCOMPARE(written(), QString("Данные сохранены: "));
        QStringList row = scene().lineRows().at(0);
        row[uchName] = "Правка";
        scene().slot_ParamUCH(row);
        QCOMPARE(written(), QString("Данные сохранены: uch_lin.bak uch_lin.xml"));
    }

    // Rows stored without keys of their own (every row keyed "0", or the
    // transformers, with a drawing saved keyed "0" too) get keys of their
    // own, and each drawn element its own rows by the buses it is drawn on:
    // its pop-up edits its row, its bus, label and saved drawing take its
    // key, and its delete takes its rows alone. A delete whose element
    // another window renumbered meanwhile, and an edit of a row it deleted
    // or moved, are named; the editor then shows what the file holds (the
    // element drawn again under its key; the row gone with its element;
    // the row as the file has it), saved one to one with the drawing.
    // Another window's change between two saves stays.
    void oneElementOneRow_data()
    {
        QTest::addColumn<QString>("line");        // nres nlin (line 2,2 drawn and saved), the keys made "0"
        QTest::addColumn<QString>("name");        // of the element's rows
        QTest::addColumn<QString>("meanwhile");   // another window's change before the editor's last save
        QTest::addColumn<QString>("here");        // what the editor does to the element
        QTest::addColumn<QString>("named");       // in the warning of rows not saved
        QTest::addColumn<QStringList>("records"); // of the element after it
        QTest::addColumn<int>("gone");            // rows
        const QString sosnovka = "ПС Сосновка Т-2", section = "ПС Ключи - ПС Дубки", unit3 = "ПС Ключи Т-1";
        QTest::newRow("transformers of line 1 keyed 0") << "1 1 transformers" << sosnovka << "cell"
                                                        << "pop-up delete" << "" << QStringList() << 1;
        QTest::newRow("section keyed 0") << "2 2 all" << section << "cell" << "pop-up delete" << ""
                                         << QStringList() << 1;
        QTest::newRow("two-winding keyed 0") << "2 2 all" << "ПС Дубки Т-1" << "cell" << "pop-up delete"
                                             << "" << QStringList() << 1;
        QTest::newRow("three-winding keyed 0") << "2 2 all" << unit3 << "cell" << "pop-up delete" << ""
                                               << QStringList() << 3;
        QTest::newRow("key 0 numbered meanwhile") << "1 1 8" << sosnovka << "renumber" << "delete"
                                                  << sosnovka + ", узлы 3-8" << QStringList("2 18 " + sosnovka) << 0;
        QTest::newRow("section renumbered") << "2 2" << section << "renumber" << "delete"
                                            << section + ", узлы 1-2" << QStringList("4 12 " + section) << 0;
        QTest::newRow("three-winding renumbered") << "2 2" << unit3 << "renumber" << "delete"
                                                  << unit3 + ", узлы 1-3\n" + unit3 + ", узлы 3-4\n" + unit3 + ", узлы 3-5"
                                                  << QStringList("3 13 " + unit3) << 0;
        QTest::newRow("edit of a row deleted") << "2 2" << "ПС Дубки Т-1" << "delete" << "edit"
                                               << "ПС Дубки Т-1, узлы 2-6" << QStringList() << 1;
        QTest::newRow("edit of a row moved") << "2 2" << section << "move" << "edit"
                                             << section + ", узлы 1-2" << QStringList("4 2 " + section) << 0;
    }
    void oneElementOneRow()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, meanwhile);
        QFETCH(QString, here);
        QFETCH(QString, named);
        QFETCH(int, gone);
        openWork(false);
        m_dir->copyExamples();
        NRES = line.section(' ', 0, 0);
        const QString nlin = line.section(' ', 1, 1), zero = line.section(' ', 2, 2);
        if (NRES == "2") {
            open(nlin)->slot_SaveGraph();
            close();
        }
        if (zero == "all") {   // the drawing keyed "0" as well
            SxemaLin s = savedDrawing();
            for (auto [records, first, last] : {std::tuple(&s.lines, 1, 1), std::tuple(&s.transf, 6, 6),
                                                 std::tuple(&s.transf3, 7, 9)})
                for (QStringList& r : *records)
                    for (int k = first; k <= last; ++k)
                        r[k] = "0";
            QVERIFY(writeSxemaFile({s}));
        }
        NLIN = nlin;
        // Another window's save of the line's rows.
        const auto change = [&](const std::function<void(QStringList&)>& edit) {
            Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
            for (QStringList& row : rows)
                if (row.mid(0, 3) == QStringList({NPES, NRES, NLIN}))
                    edit(row);
            rows.removeAll(QStringList());
            QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        };
        change([&](QStringList& row) {
            if (zero == "all" || (zero == "transformers" && row.at(uchTipEl) != "1") || row.at(uchKey) == zero)
                row[uchKey] = "0";
        });
        const Table before = lineInFile();
        const int first = std::find_if(before.begin(), before.end(), [&](auto& r) { return r.at(uchName) == name; })
                        - before.begin();   // the element's row, or its HV winding's
        open(nlin);
        const SORTED_OBJECT_INF* element = nullptr;
        for (const auto& r : scene().objects())
            if (r->name == name && !element)
                element = r.get();
        QVERIFY(element);
        const QString key = element->key;

        if (here.startsWith("pop-up")) {
            if (element->kind == KindLine) {
                m_w->slot_BranchMenu(QPointF(), key, element->item);
                m_w->slot_BranchExec(CmenuBranch::Param);
            } else {
                m_w->slot_TransMenu(QPointF(), key, element->item);
            }
            const QList<QWidget*> popups{shownPopup<CparamUCH>(), shownPopup<CparamTR2>(), shownPopup<CparamTR3>()};
            QWidget* popup = *std::find_if(popups.begin(), popups.end(), [](QWidget* w) { return w; });
            QCOMPARE(popup->findChild<QLineEdit*>("KommEdit")->text(), name);
            popup->findChild<QLineEdit*>("KommEdit_2")->setText("Правка");
            popup->findChild<QPushButton*>("OKButton")->click();
            m_w->slot_SaveGraph();
            QCOMPARE(lineInFile().at(first).at(uchName1) + ' ' + lineInFile().at(first).at(uchKey), "Правка " + key);
            QCOMPARE(lineInFile().size(), before.size());
            QCOMPARE(keysOf(savedDrawing()), keysOf(lineInFile()));
            QVERIFY(bus(scene(), before.at(first).at(uchNyzln))->m_links.contains(key));
            const QList<QGraphicsItem*> items = scene().items();
            QVERIFY(std::any_of(items.cbegin(), items.cend(), [&](QGraphicsItem* i) {
                auto* label = qgraphicsitem_cast<TextParam*>(i);
                return label && label->m_kind == element->kind && label->m_name == key;
            }));
        }
        change([&](QStringList& row) {
            if (meanwhile == "cell" && row == lineInFile().at(0))
                row[uchWpnagr] = "7777";
            else if (row.at(uchName) != name)
                return;
            else if (meanwhile == "renumber")   // a key "0" as the sections editor might number it
                row[uchKey] = row.at(uchKey) == "0" ? "18" : QString::number(row.at(uchKey).toInt() + 10);
            else if (meanwhile == "move")
                row[uchNyzlk] = "7";
            else if (meanwhile == "delete")
                row.clear();
        });
        if (here.endsWith("delete")) {
            element->item->setSelected(true);
            scene().DelItems();
        } else {
            QStringList row = scene().lineRows().value(first);
            row[uchName1] = "Правка";
            scene().slot_ParamUCH(row);
        }
        m_rec->clear();
        m_w->slot_SaveGraph();
        QCOMPARE(m_rec->warnings(), QStringList(named.isEmpty() ? "Информация|Данные сохранены"
                                                               : "Предупреждение|Не сохранены строки, измененные в другом окне "
                                                                 "после открытия этого окна:\n" + named
                                                                     + "\nОткройте окно ввода заново и повторите ввод."));
        QStringList records;
        for (const auto& r : scene().objects())
            if (r->name == name)
                records.append(QString("%1 %2 %3").arg(r->kind).arg(r->key, r->name));
        QTEST(records, "records");
        QCOMPARE(lineInFile().size(), before.size() - gone);
        QCOMPARE(lineInFile().at(0).at(uchWpnagr) == "7777", meanwhile == "cell");
        QVERIFY(named.isEmpty() || scene().lineRows() == lineInFile());
        QCOMPARE(keysOf(savedDrawing()), keysOf(lineInFile()));
        QVERIFY(!m_w->hasUnsavedEdits());
    }

    // A drawn element stands only for a row of its kind: one whose row
    // another window deleted, or whose key it gave to an element of another
    // kind, is left out, while one whose nodes it changed stays. What the
    // editor adds then takes numbers above every row's and drawn one's:
    // each key and bus once in the saved drawing.
    void drawingStandsForItsRows_data()
    {
        QTest::addColumn<QString>("meanwhile");   // key, and what another window did to its row
        QTest::addColumn<QStringList>("drawn");   // the records of the key when reopened
        QTest::addColumn<QString>("added");       // the section the editor then adds at bus 2
        QTest::newRow("transformer's key given to a section") << "9 given" << QStringList() << "10:2-11";
        QTest::newRow("section added here deleted") << "10 deleted" << QStringList("0 10") << "11:2-11";
        QTest::newRow("section's nodes changed") << "4 moved" << QStringList({"0 4", "4 4 оп.84 - ПС Берёзовка"}) << "10:2-12";
    }
    void drawingStandsForItsRows()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, added);
        const QString key = meanwhile.section(' ', 0, 0);
        openWork(false);
        m_dir->copyExamples();
        open();
        if (meanwhile.endsWith("deleted")) {   // a section at bus 3: key 10, node 10
            QVERIFY(scene().setCurrentNode("3", bus(scene(), "3")));
            scene().AddLine();
        }
        m_w->slot_SaveGraph();
        close();
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        int r = 0;
        while (rows.at(r).at(uchKey) != key)   // line 1's rows come first
            ++r;
        if (meanwhile.endsWith("deleted"))
            rows.removeAt(r);
        else if (meanwhile.endsWith("moved"))
            rows[r][uchNyzlk] = "11";
        else   // transformer 4-9 deleted, its key on a new section 4-10
            rows[r] = QStringList({"1", "1", "1", "Из таблицы", "", "4", "10", "1", "", "1.", "", "", "", "", "", "0", "0", "9"});
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        open();
        QTEST(recordsOf(scene(), key), "drawn");
        QVERIFY(scene().setCurrentNode("2", bus(scene(), "2")));
        scene().AddLine();
        m_w->slot_SaveGraph();
        const QStringList last = lineInFile().last();
        QCOMPARE(last.at(uchKey) + ':' + last.at(uchNyzln) + '-' + last.at(uchNyzlk), added);
        QStringList expected = keysOf(lineInFile());
        expected.removeAll(meanwhile.endsWith("given") ? "1 9" : "");   // drawn by the next update
        QCOMPARE(keysOf(savedDrawing()), expected);
    }

    // "Да" writes line 2's new row after its line, the old table kept; a refused drawing
    // writes the rows alone and keeps the window; a damaged table writes nothing.
    void saveAndClose_data()
    {
        QTest::addColumn<QString>("before");   // damage, edit, save: done in this order
        QTest::addColumn<bool>("answerNo");
        QTest::addColumn<bool>("written");
        QTest::newRow("no edits") << "" << false << false;
        QTest::newRow("edited, No") << "edit" << true << false;
        QTest::newRow("edited, Yes") << "edit" << false << true;
        QTest::newRow("edited and saved") << "edit save" << false << true;
        QTest::newRow("drawing refused") << "edit refuse save" << false << true;
        QTest::newRow("damaged at opening") << "damage save" << false << false;
        QTest::newRow("damaged at saving") << "edit damage save" << false << false;
    }
    void saveAndClose()
    {
        QFETCH(QString, before);
        QFETCH(bool, answerNo);
        QFETCH(bool, written);
        const QByteArray table = m_dir->readFile("uch_lin.xml");
        const QStringList rows = fileRows();
        if (before.startsWith("damage"))
            damageTable();
        open("2");
        if (before.startsWith("edit")) {
            QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
            scene().AddLine();
        }
        if (before.startsWith("edit damage"))
            damageTable();
        if (before.contains("refuse"))
            m_dir->writeFile("sxemalin.xml", "<lines_sxemes><LinID");
        const QMap<QString, QByteArray> files = m_dir->files();
        m_rec->clear();
        if (before.endsWith("save"))
            m_w->slot_SaveGraph();
        if (before.contains("damage")) {
            QCOMPARE(m_rec->warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + m_dir->filePath("uch_lin.xml")});
            QCOMPARE(m_dir->files(), files);
        }
        if (before.contains("refuse")) {
            QCOMPARE(m_rec->warnings(), QStringList({"Предупреждение|Ошибка чтения файла " + m_dir->filePath("sxemalin.xml"),
                                                     "Предупреждение|Схема не сохранена, данные об участках линии сохранены"}));
            QCOMPARE(m_dir->readFile("sxemalin.xml"), files.value("sxemalin.xml"));
        }
        m_rec->clear();
        m_rec->saveAnswers = {answerNo ? SaveAnswer::Discard : SaveAnswer::Save};
        close();
        const bool refused = before == "edit damage save" || before == "edit refuse save";
        QCOMPARE(askedToSave(), before == "edit" || refused ? QString("Сохранение|Сохранить изменения?") : QString());
        QCOMPARE(!m_w, !refused);
        QCOMPARE(fileRows(), written ? rows + QStringList{"2:10 Новая линия"} : rows);
        QCOMPARE(m_dir->readFile("uch_lin.bak"), written ? table : QByteArray());
    }

    // A reread that would lose rows, or that finds the line deleted meanwhile,
    // stops the save whole: no file changes. A line without rows still in
    // "lines" is saved; a save of the drawing alone asks "lines" only.
    void saveRefusedByTheReread_data()
    {
        QTest::addColumn<QString>("meanwhile");   // done to the tables after the editor opened
        QTest::addColumn<bool>("edit");           // a line added in the editor
        QTest::addColumn<QString>("warning");
        QTest::newRow("table removed") << "remove" << true << "Отсутствует файл -%1uch_lin.xml";
        QTest::newRow("line deleted, drawing only") << "delete" << false
                                                    << "Линия не найдена в таблице линий, данные не сохранены";
        QTest::newRow("table blank") << "blank" << true << "Ошибка чтения файла %1uch_lin.xml";
        QTest::newRow("line deleted") << "delete" << true << "Линия не найдена в таблице линий, данные не сохранены";
        QTest::newRow("rows deleted, line kept") << "rows" << true << "";
    }
    void saveRefusedByTheReread()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, edit);
        QFETCH(QString, warning);
        const QStringList line1 = fileRows().mid(0, 8);
        open("2");
        if (edit) {
            QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
            scene().AddLine();
        }
        if (meanwhile == "remove") {
            QVERIFY(QFile::remove(m_dir->filePath("uch_lin.xml")));
        } else if (meanwhile == "blank") {
            m_dir->writeFile("uch_lin.xml", "");
        } else {
            Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
            rows.removeLast();   // line 2's one row
            QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
            if (meanwhile == "delete")
                QVERIFY(saveShablonXML("lines", attrLin, "LIN", "net110_LIN",
                                       {QStringList({"1", "1", "1", "Линия 1"}) + QVector<QString>(13).toList()}));
        }
        const QMap<QString, QByteArray> files = m_dir->files();
        m_rec->clear();
        m_w->slot_SaveGraph();
        if (warning.isEmpty()) {
            QCOMPARE(m_rec->warnings(), QStringList{"Информация|Данные сохранены"});
            QCOMPARE(fileRows(), line1 + QStringList{"2:10 Новая линия"});
            return;
        }
        QCOMPARE(m_rec->warnings(), QStringList{"Предупреждение|" + warning.arg(m_dir->path())});
        QCOMPARE(m_dir->files(), files);
    }

    // A line deleted in the tree is gone for its editor even when a new
    // line takes its codes: the editor's save and "Да" at closing refuse,
    // writing nothing into the new line or the drawings, and the new line's
    // scheme button finds an editor of its own.
    void deletedLineTakenAnew()
    {
        openWork(false);
        m_dir->copyExamples();
        QPointer<CGraph_DMS> old = open("3");   // the largest code of its RES
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddLine();
        DeleteObj(2, NPES, NRES, NLIN);
        CreateNewObj(2);
        const Table lines = ReadShablonXML("lines", attrLin, "LIN");
        QCOMPARE(lines.value(rowWithCodes(lines, {"1", "1", "3"})).value(3), QString("Новая линия"));
        const QMap<QString, QByteArray> files = m_dir->files();
        QVERIFY(!CGraph_DMS::editorOf("1", "1", "3"));
        m_rec->clear();
        old->slot_SaveGraph();
        m_rec->saveAnswers = {SaveAnswer::Save};
        old->close();
        QCOMPARE(m_rec->all(), QStringList({"Предупреждение|Линия не найдена в таблице линий, данные не сохранены",
                                            "Сохранение|Сохранить изменения?",
                                            "Предупреждение|Линия не найдена в таблице линий, данные не сохранены"}));
        QVERIFY(old && old->isVisible());
        QCOMPARE(m_dir->files(), files);
        open("3");
        QVERIFY(m_w != old && CGraph_DMS::editorOf("1", "1", "3") == m_w);
        QVERIFY(scene().lineRows().isEmpty());
        delete old.data();
    }

    // On a nearly full disk the drawing and the rows are written together, or
    // the rows alone when only the drawing does not fit, or nothing; the
    // success message only after both; a failure names the file that could
    // not be made: the drawing, the rows or a .bak of them.
    void nearlyFullDisk_data()
    {
        QTest::addColumn<int>("freePages");
        for (int pages = 0; pages <= 5; ++pages)
            QTest::newRow(qPrintable(QString("%1 KB free").arg(pages * 4))) << pages;
    }
    void nearlyFullDisk()
    {
        QFETCH(int, freePages);
        const QMap<QString, QByteArray> fixture = m_dir->files();
        SmallDisk disk(*m_dir, 256);
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        for (auto file = fixture.cbegin(); file != fixture.cend(); ++file)
            m_dir->writeFile(file.key(), file.value());
        open("2");
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddLine();
        const QMap<QString, QByteArray> before = m_dir->files();
        disk.fill();
        QFile filler(m_dir->filePath(".filler"));
        QVERIFY(filler.resize(filler.size() - freePages * 4096));
        m_rec->clear();
        m_w->slot_SaveGraph();
        const QMap<QString, QByteArray> after = m_dir->files();
        delete m_w.data();
        const auto changed = [&](const char* name) { return after.value(name) != before.value(name); };
        if (m_rec->warnings() == QStringList{"Информация|Данные сохранены"}) {
            for (const char* name : {"sxemalin.xml", "sxemalin.bak", "uch_lin.xml", "uch_lin.bak"})
                QVERIFY2(changed(name), name);
            return;
        }
        const auto cannot = [&](const QStringList& names) {
            QStringList warnings;
            for (const QString& name : names)
                warnings << "Предупреждение|Невозможно создать файл -" + m_dir->filePath(name);
            return warnings;
        };
        // Rows without their drawing, said so; never a drawing without its rows.
        if (changed("uch_lin.xml")) {
            QCOMPARE(m_rec->warnings().size(), 2);
            QVERIFY2(cannot({"sxemalin.xml", "sxemalin.bak"}).contains(m_rec->warnings().at(0)),
                     qPrintable(m_rec->warnings().at(0)));
            QCOMPARE(m_rec->warnings().at(1), QString("Предупреждение|Схема не сохранена, данные об участках линии сохранены"));
            QVERIFY(changed("uch_lin.bak") && !changed("sxemalin.xml") && !changed("sxemalin.bak"));
            return;
        }
        QCOMPARE(after, before);
        const QString failed = m_rec->warnings().value(0);
        QCOMPARE(m_rec->warnings().size(), 1);
        QVERIFY2(cannot({"sxemalin.xml", "sxemalin.bak", "uch_lin.xml", "uch_lin.bak"}).contains(failed), qPrintable(failed));
    }

    // Any change of the drawing since it was opened or saved is asked about;
    // "Да" saves it, and the window stays open when that save fails.
    void closeAsksAboutTheDrawing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("question");
        QTest::newRow("a line hovered") << "hover" << false;
        QTest::newRow("bus moved") << "bus" << true;
        QTest::newRow("bus moved and saved") << "bus save" << false;
        QTest::newRow("bus moved, save refused") << "bus refuse" << true;
        QTest::newRow("background") << "background" << true;
    }
    void closeAsksAboutTheDrawing()
    {
        QFETCH(QString, change);
        QFETCH(bool, question);
        open();
        SchemeView view(&scene());
        if (change == "hover") {
            view.hover(QPointF(276, 80));
            QVERIFY(!line(scene(), "2")->dots().isEmpty());
        } else if (change.startsWith("bus")) {
            bus(scene(), "1")->setSelected(true);
            QTest::keyClick(&view.view, Qt::Key_D);
        } else if (change == "background") {
            m_w->slot_colorBkgSelected(QColor(1, 2, 3));
        }
        if (change.endsWith("save"))
            m_w->slot_SaveGraph();
        if (change.endsWith("refuse"))
            m_dir->writeFile("sxemalin.xml", "<lines_sxemes><LinID");
        const QByteArray drawing = m_dir->readFile("sxemalin.xml");
        m_rec->clear();
        m_rec->saveAnswers = {SaveAnswer::Save};
        close();
        QCOMPARE(askedToSave(), question ? QString("Сохранение|Сохранить изменения?") : QString());
        QCOMPARE(!m_w, !change.endsWith("refuse"));
        QCOMPARE(m_dir->readFile("sxemalin.xml") != drawing, question && !change.endsWith("refuse"));
    }

    void confirmations_data()
    {
        QTest::addColumn<QString>("question");   // asked by the button the row is named after
        QTest::newRow("DeleteButton") << "Вы действительно хотите удалить выбранные объекты со схемы и из базы данных?";
        QTest::newRow("CreateSxemButton") << "Существующая схема будет заменена новой. Продолжить?";
        QTest::newRow("UpdateButton") << "Обновить существующую схему?";
    }
    void confirmations()
    {
        QFETCH(QString, question);
        for (bool answerNo : {true, false}) {
            delete m_w.data();
            open();
            QPointer<VLKL_Item> section = line(scene(), "8");   // deleted, or drawn anew
            section->setSelected(true);
            m_rec->clear();
            m_rec->answers = {answerNo};
            m_w->findChild<QToolButton*>(QTest::currentDataTag())->click();
            QCOMPARE(asked(), "Предупреждение|" + question);
            QCOMPARE(!section, !answerNo);
            QVERIFY(line(scene(), "1"));
        }
    }

    // A new layout draws every element anew, its labels at their default
    // places; only the update keeps where the saved drawing has them.
    void newLayoutOrUpdate_data()
    {
        QTest::addColumn<int>("mode");            // of the layout the button's command draws
        QTest::addColumn<QStringList>("moved");   // bus 1 and line 1 as they would be saved
        QTest::newRow("CreateSxemButton") << 1 << QStringList({"160;117;35;7;1;140;97;0", "12,119 162,119;1;52;104;0"});
        QTest::newRow("UpdateButton") << 2 << QStringList({"200;50;35;7;1;210;40;0", "12,119 90,150 162,119;1;70;160;0"});
    }
    void newLayoutOrUpdate()
    {
        QFETCH(int, mode);
        SxemaLin s = savedLine1();
        s.nodes[1] = QStringList{"200", "50", "35", "7", "1", "210", "40", "0"};
        s.lines[0][2] = "70";
        s.lines[0][3] = "160";
        QVERIFY(writeSxemaFile({s}));
        open();
        m_rec->answers = {false};
        m_w->findChild<QToolButton*>(QTest::currentDataTag())->click();
        const SxemaLin drawn = drawnScheme(scene(), "");
        Table keyed = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN").mid(0, 8);
        keyed[7][uchKey] = s.lines[2][1] = "8";   // section 2-10 as the editor keys it
        QCOMPARE(schemeRecords(drawn, 3, true), schemeRecords(CreateSxem(mode, &keyed, &s), 3, true));
        QTEST(QStringList({withKey(drawn.nodes, 4, "1"), withKey(drawn.lines, 1, "1")}), "moved");
    }

    // Places without decimals, a bar's height as it is, a unit's voltages in
    // the general format; a hidden label is saved hidden, an element whose
    // label was deleted without one.
    void savedRecords()
    {
        open();
        BusItem* b = bus(scene(), "0");
        b->setPos(10.6, 99.4);
        b->setRect(0, 0, 20, 5.1234567);
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddTP();
        SchemeView view(&scene());
        view.click(QPointF(20, 125), Qt::RightButton);   // the label of line 1
        scene().itemAt(QPointF(300, 100), QTransform())->setSelected(true);   // the label of bus 2
        scene().DelItems();
        m_w->slot_SaveGraph();
        const SxemaLin saved = savedLine1();
        QCOMPARE(QStringList({withKey(saved.nodes, 4, "0"), withKey(saved.nodes, 4, "2"), withKey(saved.lines, 1, "1"),
                              withKey(saved.transf, 6, "9")}),
                 QStringList({"11;99;20;5.12346;0;-10;97;0", "310;117;70;7;2;0;0;0", "12,119 90,150 162,119;1;16;119;1",
                              "145;122;35;70;110;10;9;280;197;0"}));
    }

    // A right click on a line section makes it the current branch and opens
    // its menu, whose parameter command shows that section's row; a right
    // click on a bus or a transformer makes neither the current branch.
    void rightClicks()
    {
        open();
        SchemeView view(&scene());
        view.click(QPointF(276, 80), Qt::RightButton);   // line 2
        QCoreApplication::processEvents();
        QVERIFY(m_w->branchMenu()->isVisible());
        QCOMPARE(scene().currentBranchKey(), QString("2"));
        QCOMPARE(scene().currentBranchItem(), line(scene(), "2"));
        m_w->slot_BranchExec(CmenuBranch::Param);
        QVERIFY(!m_w->branchMenu()->isVisible());
        QCOMPARE(shownPopup<CparamUCH>()->findChild<QLineEdit*>("KommEdit")->text(), QString("Участок 1-2"));

        view.click(QPointF(350, 120), Qt::RightButton);   // bus 2
        view.click(QPointF(170, 170), Qt::RightButton);   // transformer 3: its pop-up at once
        QCoreApplication::processEvents();
        QVERIFY(m_w->nodeMenu()->isVisible());
        QCOMPARE(shownPopup<CparamTR2>()->findChild<QLineEdit*>("KommEdit")->text(), QString("Участок 1-3"));
        QCOMPARE(scene().currentBranchItem(), line(scene(), "2"));
        QVERIFY(!scene().setCurrentBranch("3", element(scene(), KindTransf2, "3")));
        QVERIFY(!scene().currentBranchItem() && scene().currentBranchKey().isEmpty());
    }

    // Offered from a drawing 1550 wide on. A press on the picture centres the
    // view on the point the picture shows there, also when the picture is
    // taller than its window and shown whole, scaled down (1697 x 1500), up
    // to its corners.
    void navigation()
    {
        SxemaLin s = savedLine1();
        s.nodes.append({"1452", "117", "7", "7", "20", "0", "0", "0"});
        QVERIFY(writeSxemaFile({s}));
        QVERIFY(!open()->NavigateButton->isEnabled());
        delete m_w.data();
        s.nodes.last()[0] = "1453";
        QVERIFY(writeSxemaFile({s}));
        QVERIFY(open()->NavigateButton->isEnabled());
        addMark(&scene(), QPointF(775, 232.5));
        m_w->NavigateButton->click();
        QPointer<CNavigate> navigator = shownPopup<CNavigate>();
        QCOMPARE(navigator->findChild<QLabel*>()->pixmap(Qt::ReturnByValue).size(), QSize(400, 154));
        QVERIFY(navigator->testAttribute(Qt::WA_DeleteOnClose));
        const auto centre = [&] { return m_w->m_pView->mapToScene(m_w->m_pView->viewport()->rect().center()); };
        QTest::mouseClick(navigator, Qt::LeftButton, {}, shownMark(navigator));
        QVERIFY2(QLineF(centre(), QPointF(775, 232.5)).length() < 5, qPrintable(QString::number(centre().y())));
        delete navigator.data();
        delete m_w.data();

        s.nodes.last()[0] = "1600";
        s.nodes.last()[1] = "1410";
        QVERIFY(writeSxemaFile({s}));
        open();
        scene().setSceneRect(-1000, -1000, 4000, 4000);   // so that the view can centre on a corner
        const QPointF end(scene().drawingWidth(), scene().drawingHeight());
        for (const auto& [target, press] : QVector<QPair<QPointF, Press>>{
                 {{850, 1250}, Press::Mark}, {{700, 300}, Press::Mark}, {{0, 0}, Press::TopLeft}, {end, Press::BottomRight}}) {
            std::unique_ptr<QGraphicsRectItem> shown(press == Press::Mark ? addMark(&scene(), target) : nullptr);
            m_w->NavigateButton->click();
            navigator = shownPopup<CNavigate>();
            QCOMPARE(QImage(navigationPicturePath()).size(), QSize(400, 353));   // shown whole, scaled down
            QTest::mouseClick(navigator, Qt::LeftButton, {}, pressPoint(navigator, press));
            QVERIFY2(QLineF(centre(), target).length() < 10,   // a pixel as shown is about 5 units
                     qPrintable(QString("%1,%2").arg(centre().x()).arg(centre().y())));
            delete navigator.data();
        }
        navigator = (m_w->NavigateButton->click(), shownPopup<CNavigate>());

        // Closing takes the windows it opened along.
        QPointer<QWidget> nodeMenu = m_w->nodeMenu(), branchMenu = m_w->branchMenu();
        m_w->bkGroundButton->click();
        QPointer<QColorDialog> colors = m_w->findChild<QColorDialog*>();
        scene().setCurrentBranchKey("1");
        scene().ParamUCH(KindLine, QPoint(10, 10));
        QPointer<CparamUCH> popup = shownPopup<CparamUCH>();
        QVERIFY(nodeMenu && branchMenu && navigator && colors && colors->isVisible() && popup);
        close();
        QVERIFY(!m_w && !nodeMenu && !branchMenu && !navigator && !colors && !popup);
    }

    // A new window shows "100%" but keeps the zoom factor another window left.
    void viewTools()
    {
        m_iScale = 2.0;
        open("1", QSize(400, 300));
        QVERIFY(m_w->ViewParam->isChecked());   // as the labels are: shown
        QGraphicsView& view = *m_w->m_pView;
        m_w->FindLine->setText("Участок 1");
        view.centerOn(0, 0);
        m_w->m_pFindButton->click();
        QCOMPARE(line(scene(), "2")->m_color, QColor(255, 0, 0));
        QVERIFY(qAbs(view.mapToScene(view.viewport()->rect().center()).x() - 237) < 2);
        m_w->FindLine->setText("Участок 2-4");
        m_w->m_pFindButton->click();
        QCOMPARE(element<Transf3>(scene(), KindTransf3, "4")->m_colorHV, QColor(255, 0, 0));

        BusItem* b = bus(scene(), "1");   // under its transformer, over its lines
        b->setSelected(true);
        m_w->toFrontButton->click();
        QCOMPARE(b->zValue(), 1100.1);
        m_w->sendBackButton->click();
        QCOMPARE(b->zValue(), -0.1);

        auto zoom = [&] {   // factor, view scale (none if not a plain scale), the enabled buttons
            const QTransform t = view.transform();
            const bool plain = t.type() <= QTransform::TxScale && t.m11() == t.m22();
            return QString("%1 %2 %3%4").arg(m_iScale).arg(plain ? t.m22() : -1)
                .arg(m_w->Scale_minus->isEnabled() ? "-" : "", m_w->Scale_plus->isEnabled() ? "+" : "");
        };
        QCOMPARE(m_w->sceneScaleCombo->currentText() + ' ' + zoom(), QString("100% 2 1 -+"));
        m_w->Scale_minus->click();
        m_w->Scale_minus->click();
        QCOMPARE(zoom(), QString("0.25 0.25 +"));
        for (int i = 0; i < 4; ++i)
            m_w->Scale_plus->click();
        QCOMPARE(zoom(), QString("4 4 -"));
        m_w->sceneScaleCombo->setCurrentText("200%");
        QCOMPARE(zoom(), QString("2 2 -+"));
    }

    // The test screen (800 x 600) is smaller than the editor: the editor, its
    // menus and parameter pop-ups opened at the pointer near any edge, and
    // the navigation window each lie on it, the latter over the view, not
    // over the tools. Away from the edges a menu keeps its place beside the
    // pointer.
    void opensOnTheScreen_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("spaced");
        QTest::newRow("middle") << QPoint(300, 250) << true;
        QTest::newRow("right edge") << QPoint(790, 250) << false;
        QTest::newRow("bottom right corner") << QPoint(799, 599) << false;
        QTest::newRow("top left corner") << QPoint(1, 1) << false;
    }
    void opensOnTheScreen()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, spaced);
        SxemaLin s = savedLine1();
        s.nodes.append({"1600", "117", "7", "7", "20", "0", "0", "0"});   // wide enough for navigation
        QVERIFY(writeSxemaFile({s}));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_w = new CGraph_DMS;
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
        QVERIFY(screen.contains(m_w->frameGeometry()));
        auto onScreen = [&](QWidget* w) { return w && w->isVisible() && screen.contains(w->frameGeometry()); };

        m_w->slot_NodeMenu(pointer, "1", bus(scene(), "1"));
        QVERIFY(onScreen(m_w->nodeMenu()));
        QVERIFY(!spaced || m_w->nodeMenu()->pos() == pointer + QPoint(20, -40));
        m_w->nodeMenu()->hide();
        m_w->slot_BranchMenu(pointer, "1", line(scene(), "1"));
        QVERIFY(onScreen(m_w->branchMenu()));
        QVERIFY(!spaced || m_w->branchMenu()->pos() == pointer + QPoint(20, 20));
        m_w->slot_BranchExec(CmenuBranch::Param);
        QVERIFY(onScreen(shownPopup<CparamUCH>()));
        QVERIFY(!spaced || shownPopup<CparamUCH>()->pos() == pointer + QPoint(20, 20));
        shownPopup<CparamUCH>()->hide();
        m_w->slot_TransMenu(pointer, "3", element(scene(), KindTransf2, "3"));
        QVERIFY(onScreen(shownPopup<CparamTR2>()));
        shownPopup<CparamTR2>()->hide();
        m_w->slot_TransMenu(pointer, "4", element(scene(), KindTransf3, "4"));
        QVERIFY(onScreen(shownPopup<CparamTR3>()));
        QVERIFY(!spaced || shownPopup<CparamTR3>()->pos() == pointer + QPoint(20, -20));
        shownPopup<CparamTR3>()->hide();

        m_w->NavigateButton->click();
        CNavigate* navigator = shownPopup<CNavigate>();
        QVERIFY(onScreen(navigator));
        QCOMPARE(navigator->frameGeometry().topLeft(), m_w->m_pView->mapToGlobal(QPoint(0, 0)));
    }
};

QTEST_MAIN(TestCGraphDMS)
#include "tst_cgraph_dms.moc"
