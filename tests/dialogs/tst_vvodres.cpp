// Monthly input of a RES: what its tables show, what a save leaves in
// "lines" and "uch_lin", and the load workbook both ways.

#include "dialogs/CDlgRES.h"
#include "dialogs/CDlgVvodRES.h"
#include "store/readregim.h"
#include "pythonrunner.h"
#include "testsupport.h"

#include <QHeaderView>
#include <QJsonDocument>
#include <QPointer>
#include <QtTest>

namespace {

QStringList linRow(const QString& nres, const QString& nlin, const QString& name)
{
    return {"1", nres, nlin, name, "Л-" + nlin, "0", "110", "117", "114", "0.4", "0.7", "1.05", "0.9",
            "0", "0", "0", "0"};
}

QStringList uchRow(const QString& nres, const QString& nlin, const QString& name, const QString& tip,
                   const QString& from, const QString& to, const QString& podkt, const QString& key)
{
    return {"1", nres, nlin, name, "", from, to, tip, tip == "2" ? "ТДН-16000/110" : "АС-120/19",
            "", "1", "8", "3", "4000", "1700", "0", podkt, key};
}

// RES 1,1 ("Северный/Южный РЭС") has lines 1 and 2, line 1 twice in the file;
// its sections stand line 2 first, with a RES 1,2 row between and a section of
// a line that does not exist (9) at the end.
const Table kLines = {linRow("1", "1", "Л1"), linRow("1", "2", "Л2"), linRow("2", "1", "Чужая"),
                      linRow("1", "1", "Л1 дубль")};
const Table kSections = {
    uchRow("1", "2", "участок", "1", "0", "1", "0", "1"),
    uchRow("1", "2", "Т-21", "2", "1", "2", "", "2"),
    uchRow("2", "1", "чужой Т", "2", "0", "1", "", "1"),
    uchRow("1", "1", "Т-11", "2", "0", "1", "0", "1"),
    uchRow("1", "1", "Т-12", "2", "0", "3", "1", "2"),
    uchRow("1", "9", "сирота", "1", "0", "1", "", "1"),
};
const QString kResName = QStringLiteral("Северный/Южный РЭС");

QStringList column(QTableWidget* table, int c, bool shownOnly = false)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        if (!shownOnly || !table->isRowHidden(r))
            texts.append(table->item(r, c)->text());
    return texts;
}

} // namespace

class TestVvodRES : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fillsItsOwnRes();
    void saveWritesOnlyWhatChanged_data();
    void saveWritesOnlyWhatChanged();
    void workbookRoundTrip();
    void openedOnceFromResWindow();

private:
    CDlgVvodRES* open();

    TempWorkDir* m_dir = nullptr;
    MessageRecorder* m_messages = nullptr;
    QPointer<CDlgVvodRES> m_dlg;
};

void TestVvodRES::init()
{
    m_dir = new TempWorkDir;
    m_messages = new MessageRecorder;
    QVERIFY(saveShablonXML("lines", attrLin, "LIN", "net110_lines", kLines));
    QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", kSections));
    // The tree has moved on to another RES: the window keeps its own.
    NPES = "1";
    NRES = "2";
    m_messages->defaultAnswer = false;   // "Да" to every question
}

void TestVvodRES::cleanup()
{
    delete m_dlg;
    delete m_messages;
    delete m_dir;
}

CDlgVvodRES* TestVvodRES::open()
{
    m_dlg = new CDlgVvodRES("1", "1", kResName);
    return m_dlg;
}

void TestVvodRES::fillsItsOwnRes()
{
    CDlgVvodRES* dlg = open();
    QCOMPARE(dlg->windowTitle(), "Ввод информации по линиям " + kResName);
    QCOMPARE(dlg->Export->toolTip(), "Вывод информации в файл " + kResName + " - нагрузки.xlsx");
    QVERIFY(m_messages->messages.isEmpty());

    // Line 1 once; its sections first, in file order, whatever the file order of lines.
    QCOMPARE(column(dlg->tableLIN, 3), QStringList({"Л1", "Л2"}));
    QCOMPARE(column(dlg->tableWgt, 3), QStringList({"Т-11", "Т-12", "участок", "Т-21"}));
    QCOMPARE(column(dlg->tableWgt, 3, true), QStringList({"Т-11", "Т-12"}));
    QCOMPARE(dlg->tableWgt->item(1, 16)->checkState(), Qt::Checked);
    QCOMPARE(dlg->tableWgt->item(1, 16)->text(), QString());
    QVERIFY(dlg->tableWgt->isSortingEnabled());

    dlg->show();
    QTableWidget* lin = dlg->tableLIN;
    QTest::mouseClick(lin->viewport(), Qt::LeftButton, {},
                      lin->visualItemRect(lin->item(1, 3)).center());
    QCOMPARE(dlg->currentLine(), QStringLiteral("2"));
    QCOMPARE(column(dlg->tableWgt, 3, true), QStringList({"Т-21"}));

    QVERIFY(dlg->tableWgt->isColumnHidden(11));
    dlg->checkEner->click();
    QVERIFY(!dlg->tableWgt->isColumnHidden(11) && !dlg->tableWgt->isColumnHidden(12));
    QVERIFY(!dlg->linesChanged() && !dlg->sectionsChanged());
}

void TestVvodRES::saveWritesOnlyWhatChanged_data()
{
    QTest::addColumn<bool>("editLine");
    QTest::addColumn<bool>("tickTransformer");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::newRow("line only") << true << false
                               << QStringList({"Сохранить изменения?", "Данные о линиях сохранены"});
    QTest::newRow("transformer only")
        << false << true << QStringList({"Сохранить изменения?", "Данные об участках линий сохранены"});
    QTest::newRow("nothing") << false << false << QStringList({"Сохранить изменения?"});
}

void TestVvodRES::saveWritesOnlyWhatChanged()
{
    QFETCH(bool, editLine);
    QFETCH(bool, tickTransformer);
    QFETCH(QStringList, expectedTexts);

    CDlgVvodRES* dlg = open();
    // Meanwhile other windows change rows this one does not edit.
    Table lines = kLines;
    lines[1][4] = "изменено";
    lines[2][3] = "Чужая изменена";
    Table sections = kSections;
    sections[2][13] = "999";
    sections[3][3] = "Т-11 новое имя";
    QVERIFY(saveShablonXML("lines", attrLin, "LIN", "net110_lines", lines));
    QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", sections));
    QFile::remove(m_dir->filePath("lines.bak"));
    QFile::remove(m_dir->filePath("uch_lin.bak"));

    if (editLine)
        dlg->tableLIN->item(0, 10)->setText("0.65");
    if (tickTransformer)
        dlg->tableWgt->item(3, 16)->setCheckState(Qt::Checked);   // Т-21
    dlg->slot_saveVtv();
    QCOMPARE(m_messages->texts(), expectedTexts);
    QCOMPARE(m_dir->exists("lines.bak"), editLine);
    QCOMPARE(m_dir->exists("uch_lin.bak"), tickTransformer);

    if (editLine) {
        lines[0][10] = "0.65";
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), lines);
    }
    if (tickTransformer) {
        sections[1][16] = "1";   // Т-21 ticked, the RES's other rows "0"
        sections[3][16] = "0";
        // Other RES and the section of no line stay as they are.
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"), sections);
        QCOMPARE(dlg->tableWgt->item(0, 16)->text(), QStringLiteral("0"));
    }
}

void TestVvodRES::workbookRoundTrip()
{
    const QString missing = openpyxlMissing();
    if (!missing.isEmpty())
        QSKIP(qPrintable("openpyxl check not run: " + missing));
    CDlgVvodRES* dlg = open();
    dlg->tableWgt->item(0, 13)->setText("4321.5");   // exported unsaved
    dlg->slot_Export();
    QCOMPARE(dlg->workbookFile(), m_dir->filePath("Северный_Южный РЭС - нагрузки.xlsx"));
    const QByteArray onDisk = m_dir->readFile("uch_lin.xml");

    // Read as exported, then edited by the user: Т-21's energy, a ";" in
    // Т-12's comment with a new power, and a row of a line this RES lacks.
    QString error;
    const QByteArray out = runPython(QStringLiteral(R"(
import sys, json, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["Лист1"]
rows = ["|".join(c.value if c.data_type == "s" else "not text" for c in row) for row in ws.iter_rows()]
ws["J4"] = "5555"
ws["D3"] = "Т-12; резерв"
ws["H3"] = 9.5
ws.append(["1", "1", "7", "нет такой", "0", "1", "", "1", "1", "1", "1"])
wb.save(sys.argv[1])
print(json.dumps({"sheets": wb.sheetnames, "rows": rows}))
)"), {dlg->workbookFile()}, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonObject read = QJsonDocument::fromJson(out).object();
    QCOMPARE(read.value("sheets").toVariant().toStringList(), QStringList{"Лист1"});
    QCOMPARE(read.value("rows").toVariant().toStringList(), QStringList({
        "*Кодировка npes|nres|nzp|название|начало|конец ветви|марка| Pнаг|Qнаг|WPген|WQген",
        "1|1|1|Т-11|0|1|ТДН-16000/110|8|3|4321.5|1700",
        "1|1|1|Т-12|0|3|ТДН-16000/110|8|3|4000|1700",
        "1|1|2|Т-21|1|2|ТДН-16000/110|8|3|4000|1700"}));

    dlg->slot_Import();
    QCOMPARE(m_messages->texts(), QStringList({"Существующий Xlsx файл будет изменен. Продолжить?",
                                               "Загрузить информацию из Xlsx файла?"}));
    QCOMPARE(column(dlg->tableWgt, 13), QStringList({"4321.5", "4000", "4000", "5555"}));
    QCOMPARE(column(dlg->tableWgt, 11), QStringList({"8", "9.5", "8", "8"}));
    QCOMPARE(column(dlg->tableWgt, 3), QStringList({"Т-11", "Т-12", "участок", "Т-21"}));
    QCOMPARE(m_dir->readFile("uch_lin.xml"), onDisk);

    dlg->slot_saveVtv();
    const Table saved = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
    QCOMPARE(saved.at(1).at(13), QStringLiteral("5555"));
    QCOMPARE(saved.at(4).at(11), QStringLiteral("9.5"));
}

void TestVvodRES::openedOnceFromResWindow()
{
    QVERIFY(saveShablonXML("res", attrRES, "RES", "net10_RES",
                           {{"1", "1", kResName, "", "0", "0"}, {"1", "2", "Другой", "", "0", "0"}}));
    NRES = "1";
    QPointer<CDlgRES> res = new CDlgRES(QString(), nullptr);
    NRES = "2";   // the tree has moved on
    QVERIFY(res->VvodRES->isEnabled());
    res->VvodRES->click();
    QPointer<QWidget> first = res->m_pVvod;
    res->VvodRES->click();
    QCOMPARE(res->m_pVvod, first);
    QCOMPARE(first->windowTitle(), "Ввод информации по линиям " + kResName);
    QCOMPARE(qobject_cast<CDlgVvodRES*>(first.data())->tableLIN->rowCount(), 2);

    first->close();   // deletes itself; the next press opens a fresh one
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    res->VvodRES->click();
    QPointer<QWidget> second = res->m_pVvod;
    QVERIFY(second);
    delete res;
    QVERIFY(!second);
}

QTEST_MAIN(TestVvodRES)
#include "tst_vvodres.moc"
