// The archive viewer on a hand-made archive: periods, tables, workbook and pruning.

#include "dialogs/CDlgPES.h"
#include "reference/CDlgArxiv.h"

#include "calcglobals.h"
#include "enterkey.h"
#include "tabletexts.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// A record of PES 1, "period year nres type", with one row per "id=value"
// (every value of the row) or "id=value/dwpsxx" (the no-load total apart).
QByteArray record(const QString& key, const QStringList& rows)
{
    const QStringList k = key.split(' ');
    QString out = QString("  <PoteriEn period=\"%1\" year=\"%2\" npes=\"1\" nres=\"%3\" type=\"%4\">\n").arg(k[0], k[1], k[2], k[3]);
    for (const QString& row : rows) {
        const QString id = row.section('=', 0, 0), value = row.section('=', 1).section('/', 0, 0);
        out += QString("    <ResArxiv id=\"%1\" name=\"Имя %1\"").arg(id);
        for (int c = 2; c < attrArx.size(); ++c)
            out += QString(" %1=\"%2\"").arg(attrArx.at(c), c == 10 && row.contains('/') ? row.section('/', 1) : value);
        out += "/>\n";
    }
    return (out + "  </PoteriEn>\n").toUtf8();
}

QByteArray document(const QByteArray& records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ArxivPot created=\"STAMP\" modeling_authority=\"TARNO\">\n"
        + records + "</ArxivPot>\n";
}

// RES 1,1: January to March 2023 and January 2024; PES 1: February; RES 1,2: April; May has no rows.
QByteArray jan() { return record("1 2023 1 111", {"1,1,1=1.000", "35kV=1.000", "SUM=2.000"}); }
QByteArray pesFeb() { return record("2 2023 0 000", {"B 1,1=5.000", "SUM=5.000"}); }
QByteArray feb() { return record("2 2023 1 000", {"SUM=7.000/0.000"}); }
QByteArray mar() { return record("3 2023 1 001", {"1,1,1=2.000", "110kV=2.000", "SUM=4.000"}); }
QByteArray may() { return "  <PoteriEn period=\"5\" year=\"2023\" npes=\"1\" nres=\"1\" type=\"000\"/>\n"; }
QByteArray apr() { return record("4 2023 2 000", {"SUM=1.000"}); }
QByteArray jan24() { return record("1 2024 1 000", {"SUM=3.000"}); }
// February as it is written again: the no-load total read as "dwpsumxx".
QByteArray febWritten() { return record("2 2023 1 000", {"SUM=7.000"}); }

struct Archive : TempWorkDir
{
    MessageRecorder rec;
    Archive() { writeFile("arxiv110.xml", document(jan() + pesFeb() + feb() + mar() + may() + apr() + jan24())); }
    QByteArray archive() const { return withoutStamp(readFile("arxiv110.xml")); }
    QString html(const QString& name) const { return QString::fromUtf8(readFile("html/" + name + ".html")); }
    // Removes the ticked periods (a year with byYear), answering Yes.
    void prune(CDlgArxiv& viewer, bool byYear = false)
    {
        rec.clear();
        rec.answers = {false};
        byYear ? viewer.slot_EraseArxiv() : viewer.slot_delRow();
    }
};

// Ticks the periods of ticks; gives the periods the viewer lets the user tick (the month's
// name shown enabled with its box; -period for one neither offered nor greyed whole).
QList<int> periods(CDlgArxiv& viewer, const QList<int>& ticks = {})
{
    auto* table = viewer.findChild<QTableWidget*>("tableWidget");
    QList<int> enabled;
    for (int i = 0; i < 13; ++i) {
        if (ticks.contains(i + 1))
            table->item(i, 1)->setCheckState(Qt::Checked);
        const Qt::ItemFlags name = table->item(i, 0)->flags(), box = table->item(i, 1)->flags();
        if (box == (Qt::ItemIsEnabled | Qt::ItemIsUserCheckable) && name == Qt::ItemIsEnabled)
            enabled << i + 1;
        else if (box != Qt::NoItemFlags || name != Qt::NoItemFlags)
            enabled << -(i + 1);
    }
    return enabled;
}

} // namespace

class TestDlgArxiv : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }

    void resViewer()
    {
        Archive dir;
        pYear = "2024";
        pNameRas = QStringList{"Северный / РЭС", "Л-5"};
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        QVERIFY(programHeads(viewer.findChild<QTableWidget*>("tableWidget")));
        QCOMPARE(viewer.pos(), QPoint(300, 60));   // where it opens when the screen has room
        QCOMPARE(periods(viewer), QList<int>{1});
        viewer.findChild<QSpinBox*>("spinBox")->setValue(2023);
        QCOMPARE(periods(viewer), (QList<int>{1, 2, 3}));
        viewer.slot_showArxiv();   // nothing ticked

        periods(viewer, {1, 3});
        viewer.slot_showArxiv();
        QString html = dir.html("Расчет потерь электроэнергии (архив)");
        QVERIFY(html.contains("Расчетный период: январь: март: 2023 года"));
        QVERIFY(html.contains("'left'> Расчет без учета балансовой принадлежности  Расчет без учета транзитных перетоков "
                              " Коэффициент коррекции нагрузки не равен 1 Коэффициент коррекции нагрузки не равен 1</h3>"));
        viewer.slot_showPower();
        html = dir.html("Расчет потерь мощности (архив)");
        QVERIFY(html.contains("Расчетный период: январь:март:2023 года"));
        QVERIFY(html.contains("Имя SUM</td>\n<td align='center'><span style=\" font-weight:600; \">6.00</td>"));

        viewer.slot_showExcel();
        const QString book = dir.filePath("Архив потерь  Северный _ РЭС Л-5.xlsx");
        // A link to a name too long for the safe write's temporary file: its target stays.
        const QString longName(250, QLatin1Char('b'));
        dir.writeFile(longName, "old workbook");
        QVERIFY(QFile::remove(book) && QFile::link(dir.filePath(longName), book));
        viewer.slot_showExcel();
        QCOMPARE(dir.readFile(longName), QByteArray("old workbook"));
        QCOMPARE(dir.rec.warnings(), (QStringList{"Предупреждение|Не выбраны данные для вывода",
                                                  "Информация|Данные сохранены в файл " + book,
                                                  "Предупреждение|Невозможно создать файл -" + book}));

        // Answered No, or with the archive not writable or damaged, pruning changes nothing.
        const QString path = dir.filePath("arxiv110.xml");
        const QByteArray before = dir.readFile("arxiv110.xml");
        viewer.slot_delRow();
        QCOMPARE(dir.readFile("arxiv110.xml"), before);
        QCOMPARE(dir.rec.messages.last().title, QString("Удаление данных из архива"));
        dir.writeFile(longName, document(jan() + mar()));
        QVERIFY(QFile::remove(path) && QFile::link(dir.filePath(longName), path));
        periods(viewer, {1});
        dir.prune(viewer);
        QCOMPARE(withoutStamp(dir.readFile(longName)), document(jan() + mar()));
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + path});
        QCOMPARE(periods(viewer), (QList<int>{1, 3}));   // the records as read again

        QVERIFY(QFile::remove(path));
        dir.writeFile("arxiv110.xml", before);
        // A .bak that leads out of the folder stops it as well, and is named.
        const QTemporaryDir elsewhere;
        const QString bak = dir.filePath("arxiv110.bak");
        QVERIFY(QFile::link(elsewhere.filePath("bak"), bak));
        periods(viewer, {1});
        dir.prune(viewer);
        QVERIFY(dir.readFile("arxiv110.xml") == before && !QFile::exists(elsewhere.filePath("bak")));
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + bak});
        QVERIFY(QFile::remove(bak));

        periods(viewer, {1, 3});
        dir.prune(viewer);
        const QString removed = "Предупреждение|Данные удалены из архива";
        QCOMPARE(dir.rec.all(), (QStringList{"Удаление данных из архива|Удалить данные за несколько месяцев?", removed}));
        QCOMPARE(dir.archive(), document(pesFeb() + febWritten() + apr() + jan24()));
        // A year goes for every PES and RES; other years stay.
        dir.prune(viewer, true);
        QCOMPARE(dir.rec.all(), (QStringList{"Предупреждение|Удалить данные за выбранный год?", removed}));
        QCOMPARE(dir.archive(), document(jan24()));
        // A damaged reread leaves the file and the viewer nothing of it to show.
        const QByteArray damaged = document(jan() + feb()).chopped(20);
        dir.writeFile("arxiv110.xml", damaged);
        viewer.findChild<QSpinBox*>("spinBox")->setValue(2024);
        periods(viewer, {1});
        dir.prune(viewer);
        QCOMPARE(dir.readFile("arxiv110.xml"), damaged);
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + path});
        QCOMPARE(periods(viewer), QList<int>());
    }

    // Two months whose rows stand in other orders, a line renamed between them: the power table sums
    // each line, class and total with its own id under the first month's names. The notes name each
    // month's options; a change of year unticks every period.
    void powerTablePairsRowsById()
    {
        Archive dir;
        const QByteArray jun = record("6 2023 1 010", {"SUM=4.000", "35kV=1.500", "1,1,1=2.500"}).replace("Имя 1,1,1", "Л-1 новая");
        dir.writeFile("arxiv110.xml", document(jan() + jun));
        pYear = "2023";
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        QCOMPARE(periods(viewer, {1, 6}), (QList<int>{1, 6}));
        viewer.slot_showPower();
        // Name, power drawn, then the five losses, each 0.10 % of what was drawn.
        const auto row = [](const QString& start, const QString& cell, const QString& id, const QString& value) {
            QString out = start + cell + "Имя " + id + "</td>\n" + cell + value + "</td>\n";
            for (int c = 0; c < 5; ++c)
                out += cell + value + "<br>0.10 %</td>\n";
            return out + "</tr>\n";
        };
        const QString plain = "<td align='center'>", bold = plain + "<span style=\" font-weight:600; \">";
        QVERIFY(dir.html("Расчет потерь мощности (архив)").contains(
            row("<tr>\n", plain, "1,1,1", "3.50") + row("<tr BGCOLOR = '#DDCC99'>\n", plain, "35kV", "2.50")
            + row("<tr BGCOLOR = '#99CC99'>\n", bold, "SUM", "6.00") + "</table>"));
        viewer.slot_showArxiv();
        QVERIFY(dir.html("Расчет потерь электроэнергии (архив)").contains(
            "'left'> Расчет без учета балансовой принадлежности  Расчет без учета транзитных перетоков  Коэффициент "
            "коррекции нагрузки не равен 1 Расчет без учета транзитных перетоков </h3>"));
        // A year without records: nothing to erase, and no question asked.
        auto* year = viewer.findChild<QSpinBox*>("spinBox");
        year->setValue(2030);
        dir.rec.clear();
        viewer.slot_EraseArxiv();
        year->setValue(2023);
        viewer.slot_showPower();
        viewer.slot_delRow();
        QCOMPARE(dir.rec.all(), (QStringList{"Предупреждение|Нет данных для удаления за выбранный год",
                                             "Предупреждение|Не выбраны данные для вывода",
                                             "Предупреждение|Не выбраны данные для удаления"}));
    }

    // Opened while a line window has moved the selection, a PES viewer shows, names and removes
    // only its PES's records (nres "0"). A result merged meanwhile survives the removal.
    void pesViewerKeepsItsPes()
    {
        Archive dir;
        dir.writeFile("pes.xml", "<net10_PES><PES npes=\"1\" name=\"ПЭС\"/></net10_PES>");
        pYear = "2023";
        CDlgPES pes(QString(), nullptr);
        QVERIFY(pes.ArxivPES->isEnabled());
        NPES = "7";
        NRES = "3";
        UROV = 2;
        pNameRas = QStringList{"РЭС", "Линия"};
        pes.slot_ArxivPES();
        auto* viewer = qobject_cast<CDlgArxiv*>(pes.m_pArxiv.data());
        QVERIFY(viewer && viewer->isVisible());
        pes.slot_ArxivPES();
        QCOMPARE(pes.m_pArxiv.data(), viewer);
        QCOMPARE(NRES, QString("0"));
        QCOMPARE(periods(*viewer, {2}), QList<int>{2});

        pNameRas = QStringList{"РЭС", "Линия"};
        viewer->slot_showPower();
        QVERIFY(dir.html("Расчет потерь мощности (архив)").contains("Объект: ПЭС</h2>"));
        const QByteArray jun = record("6 2023 0 000", {"SUM=9.000"}), merged = document(jan() + pesFeb() + feb() + jun);
        dir.writeFile("arxiv110.xml", merged);
        dir.prune(*viewer);
        QCOMPARE(dir.rec.all(), (QStringList{"Удаление данных из архива|Удалить данные за месяц?",
                                             "Предупреждение|Данные удалены из архива"}));
        QCOMPARE(dir.archive(), document(jan() + febWritten() + jun));
        QCOMPARE(dir.readFile("arxiv110.bak"), merged);
        QCOMPARE(periods(*viewer), QList<int>{6});
    }

    // An archive cut inside its last row: a warning, and nothing of it to tick, show or export.
    void cutArchiveShowsNothing()
    {
        Archive dir;
        const QByteArray whole = document(jan() + feb() + mar());
        dir.writeFile("arxiv110.xml", whole.left(whole.lastIndexOf("lenerp=") + 10));
        pYear = "2023";
        pNameRas = QStringList{"РЭС"};
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        QCOMPARE(periods(viewer, {1, 2, 3}), QList<int>());
        viewer.slot_showArxiv();
        viewer.slot_showPower();
        viewer.slot_showExcel();
        const QString nothing = "Предупреждение|Не выбраны данные для вывода";
        QCOMPARE(dir.rec.warnings(), (QStringList{"Предупреждение|Ошибка чтения файла " + dir.filePath("arxiv110.xml"),
                                                  nothing, nothing, nothing}));
        QVERIFY(!dir.exists("html") && !dir.exists("Архив потерь  РЭС.xlsx"));
    }

    // Enter in the year or the period table presses no button: nothing is shown, asked or pruned.
    void enterPressesNoButton_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("year") << "spinBox" << "2023";
        QTest::newRow("periods") << "tableWidget" << QString();
    }
    void enterPressesNoButton()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        Archive dir;
        pYear = "2023";
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        periods(viewer, {1});
        QVERIFY(typeAndEnter(viewer.findChild<QWidget*>(box), typed));
        QCOMPARE(dir.rec.all(), QStringList());
        QCOMPARE(shownWindows(), QStringList(viewer.windowTitle()));
        QCOMPARE(dir.archive(), document(jan() + pesFeb() + feb() + mar() + may() + apr() + jan24()));
    }
};

QTEST_MAIN(TestDlgArxiv)
#include "tst_dlgarxiv.moc"
