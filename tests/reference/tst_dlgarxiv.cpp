// The archive viewer on a hand-made archive: its periods per year and
// object, the tables of one and two periods, pruning and the workbook file.

#include "reference/CDlgArxiv.h"
#include "dialogs/CDlgPES.h"
#include "store/readregim.h"

#include "calcglobals.h"
#include "testsupport.h"

#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

namespace {

// A record with one row per "id=value" (every value of the row), or
// "id=value/dwpsxx" for a row whose no-load total is given apart.
QByteArray record(const char* period, const char* year, const char* nres, const char* type, const QByteArrayList& rows)
{
    QByteArray out = QByteArray("  <PoteriEn period=\"") + period + "\" year=\"" + year + "\" npes=\"1\" nres=\"" + nres
        + "\" type=\"" + type + "\">\n";
    for (const QByteArray& written : rows) {
        const QByteArrayList parts = written.split('=');
        const QByteArray value = parts.at(1).split('/').at(0);
        out += "    <ResArxiv id=\"" + parts.at(0) + "\" name=\"Имя " + parts.at(0) + "\"";
        for (int c = 2; c < attrArx.size(); ++c)
            out += " " + attrArx.at(c).toUtf8() + "=\"" + (c == 10 ? parts.at(1).split('/').value(1, value) : value) + "\"";
        out += "/>\n";
    }
    return out + "  </PoteriEn>\n";
}

QByteArray document(const QByteArray& records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<ArxivPot created=\"STAMP\" modeling_authority=\"TARNO\">\n" + records + "</ArxivPot>\n";
}

// RES 1,1 holds January, February and March 2023 (and January 2024), PES 1
// February 2023, RES 1,2 April 2023; the May record has no rows.
QByteArray jan() { return record("1", "2023", "1", "100", {"1,1,1=1.000", "35kV=1.000", "SUM=2.000"}); }
QByteArray pesFeb() { return record("2", "2023", "0", "000", {"B 1,1=5.000", "SUM=5.000"}); }
QByteArray feb() { return record("2", "2023", "1", "000", {"SUM=7.000/0.000"}); }
QByteArray mar() { return record("3", "2023", "1", "001", {"1,1,1=2.000", "110kV=2.000", "SUM=4.000"}); }
QByteArray may() { return "  <PoteriEn period=\"5\" year=\"2023\" npes=\"1\" nres=\"1\" type=\"000\"/>\n"; }
QByteArray apr() { return record("4", "2023", "2", "000", {"SUM=1.000"}); }
QByteArray jan24() { return record("1", "2024", "1", "000", {"SUM=3.000"}); }
// February as it is written again: the no-load total read as "dwpsumxx".
QByteArray febWritten() { return record("2", "2023", "1", "000", {"SUM=7.000"}); }

struct Archive : TempWorkDir
{
    MessageRecorder rec;
    Archive() { writeFile("arxiv110.xml", document(jan() + pesFeb() + feb() + mar() + may() + apr() + jan24())); }
    QByteArray archive() const { return withoutStamp(readFile("arxiv110.xml")); }
    QString html(const QString& name) const { return QString::fromUtf8(readFile("html/" + name + ".html")); }
};

QTableWidget* periods(CDlgArxiv& viewer)
{
    return viewer.findChild<QTableWidget*>("tableWidget");
}

QList<int> enabledPeriods(CDlgArxiv& viewer)
{
    QList<int> out;
    for (int i = 0; i < 13; ++i) {
        if (periods(viewer)->item(i, 1)->flags() == (Qt::ItemIsEnabled | Qt::ItemIsUserCheckable))
            out << i + 1;
    }
    return out;
}

void tick(CDlgArxiv& viewer, const QList<int>& ticked)
{
    for (int p : ticked)
        periods(viewer)->item(p - 1, 1)->setCheckState(Qt::Checked);
}

} // namespace

class TestDlgArxiv : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetCalcGlobals();
        pYear = "2024";
    }

    void periodsAndTables()
    {
        Archive dir;
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        QCOMPARE(enabledPeriods(viewer), QList<int>{1});
        viewer.findChild<QSpinBox*>("spinBox")->setValue(2023);
        QCOMPARE(enabledPeriods(viewer), (QList<int>{1, 2, 3}));
        viewer.slot_showArxiv();
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Не выбраны данные для вывода"});

        tick(viewer, {1});
        viewer.slot_showArxiv();
        QString html = dir.html("Расчет потерь электроэнергии (архив)");
        QVERIFY(html.contains("Расчетный период: январь: 2023 года"));
        QVERIFY(html.contains(">2.000<br>2.000<br>2.000</td>"));
        QVERIFY(html.contains("<caption><h3 align = 'left'> Расчет без учета балансовой принадлежности </h3>"));

        // Summed by id: March has no 35 kV row and its 110 kV row is left out.
        tick(viewer, {3});
        viewer.slot_showArxiv();
        html = dir.html("Расчет потерь электроэнергии (архив)");
        QVERIFY(html.contains("Расчетный период: январь: март: 2023 года"));
        QVERIFY(html.contains(">6.00<br>6.00<br>6.00</td>"));
        QVERIFY(html.contains("'left'> Расчет без учета балансовой принадлежности  Коэффициент коррекции нагрузки "
                              "не равен 1</h3>"));
        viewer.slot_showPower();
        html = dir.html("Расчет потерь мощности (архив)");
        QVERIFY(html.contains("Расчетный период: январь:март:2023 года"));
        QVERIFY(html.contains(">Имя 35kV</td>\n<td align='center'>1.000</td>"));
        QVERIFY(html.contains("Имя SUM</td>\n<td align='center'><span style=\" font-weight:600; \">6.00</td>"));
    }

    // Opened while a line window has moved the selection, the viewer of a
    // PES shows and removes only its own records under nres "0", and names
    // its PES in its reports.
    void pesViewerKeepsItsPes()
    {
        Archive dir;
        dir.writeFile("pes.xml", "<net10_PES><PES npes=\"1\" name=\"ПЭС\"/></net10_PES>");
        UROV = 0;
        CDlgPES pes(QString(), nullptr);
        QVERIFY(pes.ArxivPES->isEnabled());
        NPES = "7";
        NRES = "3";
        UROV = 2;
        pYear = "2023";
        pes.slot_ArxivPES();
        auto* viewer = qobject_cast<CDlgArxiv*>(pes.m_pArxiv.data());
        QVERIFY(viewer && viewer->isVisible());
        pes.slot_ArxivPES();
        QCOMPARE(pes.m_pArxiv.data(), viewer);
        QCOMPARE(NRES, QString("0"));
        QCOMPARE(enabledPeriods(*viewer), QList<int>{2});

        tick(*viewer, {2});
        pNameRas = QStringList{"РЭС", "Линия"};
        viewer->slot_showPower();
        QVERIFY(dir.html("Расчет потерь мощности (архив)").contains("Объект: ПЭС</h2>"));
        dir.rec.clear();
        dir.rec.answers = {false};
        viewer->slot_delRow();
        QCOMPARE(dir.rec.texts(), (QStringList{"Удалить данные за месяц?", "Данные удалены из архива"}));
        QCOMPARE(dir.archive(), document(jan() + febWritten() + mar() + apr() + jan24()));
    }

    void pruning()
    {
        Archive dir;
        pYear = "2023";
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        tick(viewer, {1, 3});
        const QByteArray before = dir.readFile("arxiv110.xml");
        viewer.slot_delRow();   // answered No
        QCOMPARE(dir.readFile("arxiv110.xml"), before);
        QCOMPARE(dir.rec.messages.value(0).title, QString("Удаление данных из архива"));

        // A result merged while the viewer is open survives the removal.
        const QByteArray jun = record("6", "2023", "1", "000", {"SUM=9.000"});
        dir.writeFile("arxiv110.xml", document(jan() + pesFeb() + feb() + mar() + apr() + jun));
        const QByteArray merged = dir.readFile("arxiv110.xml");
        dir.rec.clear();
        dir.rec.answers = {false};
        viewer.slot_delRow();
        QCOMPARE(dir.rec.texts(), (QStringList{"Удалить данные за несколько месяцев?", "Данные удалены из архива"}));
        QCOMPARE(dir.archive(), document(pesFeb() + febWritten() + apr() + jun));
        QCOMPARE(dir.readFile("arxiv110.bak"), merged);
        QCOMPARE(enabledPeriods(viewer), (QList<int>{2, 6}));

        // A year goes for every PES and RES; other years stay.
        dir.writeFile("arxiv110.xml", document(jan() + pesFeb() + apr() + jan24()));
        dir.rec.clear();
        dir.rec.answers = {false};
        viewer.slot_EraseArxiv();
        QCOMPARE(dir.rec.texts(), (QStringList{"Удалить данные за выбранный год?", "Данные удалены из архива"}));
        QCOMPARE(dir.archive(), document(jan24()));
        QCOMPARE(enabledPeriods(viewer), QList<int>());
    }

    // A damaged archive is never rewritten; a failed write claims nothing.
    void pruningRefusals()
    {
        Archive dir;
        pYear = "2023";
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        const QString path = dir.filePath("arxiv110.xml");
        const QByteArray damaged = document(jan() + feb()).chopped(20);
        dir.writeFile("arxiv110.xml", damaged);
        tick(viewer, {1});
        dir.rec.answers = {false};
        viewer.slot_delRow();
        QCOMPARE(dir.readFile("arxiv110.xml"), damaged);
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + path});

        // The archive is a link to a name that leaves no room for the
        // temporary file of a safe write.
        const QString longName(250, QLatin1Char('a'));
        dir.writeFile(longName, document(jan() + mar()));
        QVERIFY(QFile::remove(path) && QFile::link(dir.filePath(longName), path));
        tick(viewer, {1});
        dir.rec.clear();
        dir.rec.answers = {false};
        viewer.slot_delRow();
        QCOMPARE(withoutStamp(dir.readFile(longName)), document(jan() + mar()));
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + path});
        QCOMPARE(enabledPeriods(viewer), (QList<int>{1, 3}));
    }

    void workbookFile()
    {
        Archive dir;
        pYear = "2023";
        pNameRas = QStringList{"Северный / РЭС", "Л-5"};
        CDlgArxiv viewer(nullptr, 1, "1", "1");
        tick(viewer, {1, 3});
        viewer.slot_showExcel();
        const QString file = dir.filePath("Архив потерь  Северный _ РЭС Л-5.xlsx");
        QCOMPARE(dir.rec.warnings(), QStringList{"Информация|Данные сохранены в файл " + file});
        QVERIFY(QFileInfo(file).size() > 0);

        // A workbook that cannot be put in place leaves the old file.
        const QString longName(250, QLatin1Char('b'));
        dir.writeFile(longName, "old workbook");
        QVERIFY(QFile::remove(file) && QFile::link(dir.filePath(longName), file));
        dir.rec.clear();
        viewer.slot_showExcel();
        QCOMPARE(dir.readFile(longName), QByteArray("old workbook"));
        QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + file});
    }
};

QTEST_MAIN(TestDlgArxiv)
#include "tst_dlgarxiv.moc"
