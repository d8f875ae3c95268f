// Reports and logs: the exact bytes of a report page, where report and log
// files land, and what is shown or refused.

#include "store/SaveInfo.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QByteArray kHead1 = "<html><head><title>";
const QByteArray kHead2 =
    "</title><meta name='qrichtext' content='1' /><meta http-equiv='Content-Type' content='text/html; charset=UTF-8' />"
    "<style type='text/css'>p, li { white-space: pre-wrap; } </style></head><body>"
    "<caption><h1 align = 'center'>Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН</h1>"
    "<caption><h2 align = 'center'>";
const QByteArray kBodyStyle =
    "<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; background-color: #FFFFFF'>";
const QByteArray kTableOpen =
    "<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'><tr>";
const QByteArray kEnd = "</body></html>\n";

// The report with its time stamp replaced by "STAMP".
QByteArray stampless(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QRegularExpression(QStringLiteral("\\(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\)")),
                 QStringLiteral("(STAMP)"));
    return text.toUtf8();
}

} // namespace

class TestHtmlReports : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { pNameRas.clear(); }
    void reportBytes_data();
    void reportBytes();
    void viewerOpensUnlessModeZero_data();
    void viewerOpensUnlessModeZero();
    void namesAreEscapedAndFileNamesSafe();
    void reportReplacesTheOldOne();
    void unwritableReportShowsNothing();
    void lossTableHeader();
    void safeFileName_data();
    void safeFileName();
    void logs();
    void unwritableLogShowsNothing();
};

void TestHtmlReports::reportBytes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("middle");   // between the stamp line and the body style

    QTest::newRow("mode 0, bare") << 0 << QString() << QStringList() << QByteArray();
    QTest::newRow("mode 0, period and names")
        << 0 << "Январь 2026 года" << QStringList({"ПЭС-1", "РЭС Север"})
        << QByteArray("<caption><h2 align = 'center'>Расчетный период: Январь 2026 года</h2>"
                      "<caption><h2 align = 'left'> Объект: ПЭС-1 РЭС Север</h2>");
    QTest::newRow("mode 2, bare") << 2 << QString() << QStringList() << QByteArray();
    QTest::newRow("mode 2, names only")
        << 2 << QString() << QStringList({"РЭС"})
        << QByteArray("<caption><h2 align = 'left'> Объект: РЭС</h2>");
    QTest::newRow("mode 2, period only")
        << 2 << "год 2025" << QStringList()
        << QByteArray("<caption><h2 align = 'center'>Расчетный период: год 2025</h2>");
}

void TestHtmlReports::reportBytes()
{
    QFETCH(int, mode);
    QFETCH(QString, period);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, middle);
    TempWorkDir dir;
    MessageRecorder rec;
    pNameRas = names;
    QVERIFY(HtmlBody("Отчет", period, {"<tr><td>1</td>", "<td>2\n</td></tr></table>"}, mode));
    const QByteArray expected = kHead1 + "Отчет" + kHead2 + "Отчет (STAMP)</h2>" + middle + kBodyStyle
        + (mode < 2 ? kTableOpen : QByteArray()) + "<tr><td>1</td><td>2\n</td></tr></table>" + kEnd;
    QCOMPARE(stampless(dir.readFile("html/Отчет.html")), expected);
}

void TestHtmlReports::viewerOpensUnlessModeZero_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shown");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("2") << 2 << true;
    QTest::newRow("3") << 3 << true;
}

void TestHtmlReports::viewerOpensUnlessModeZero()
{
    QFETCH(int, mode);
    QFETCH(bool, shown);
    TempWorkDir dir;
    MessageRecorder rec;
    QVERIFY(HtmlBody("Потери", QString(), {}, mode));
    QVERIFY(dir.exists("html/Потери.html"));
    QCOMPARE(rec.messages.size(), shown ? 1 : 0);
    if (shown) {
        QCOMPARE(rec.messages.at(0).kind, QStringLiteral("show"));
        QCOMPARE(rec.messages.at(0).title, QStringLiteral("html"));
        QCOMPARE(rec.messages.at(0).text, QStringLiteral("Потери"));
    }
}

void TestHtmlReports::namesAreEscapedAndFileNamesSafe()
{
    TempWorkDir dir;
    MessageRecorder rec;
    pNameRas = QStringList({"ПС <А&Б>"});
    const QString name = QStringLiteral("Протокол Л-1/2 \\ <б>");
    QVERIFY(HtmlBody(name, QString(), {}, 1));
    // The file lands inside "html/", the viewer is asked for the real name.
    QVERIFY(QFileInfo(dir.filePath("html/Протокол Л-1_2 _ <б>.html")).isFile());
    QCOMPARE(QDir(dir.filePath("html")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    QCOMPARE(rec.messages.at(0).text, name);
    const QByteArray page = dir.readFile("html/Протокол Л-1_2 _ <б>.html");
    QVERIFY(page.startsWith(kHead1 + "Протокол Л-1/2 \\ &lt;б&gt;</title>"));
    QVERIFY(page.contains("<h2 align = 'center'>Протокол Л-1/2 \\ &lt;б&gt; ("));
    QVERIFY(page.contains("<h2 align = 'left'> Объект: ПС &lt;А&amp;Б&gt;</h2>"));
}

void TestHtmlReports::reportReplacesTheOldOne()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("html/Отчет.html", "old report, much longer than the new one ................");
    QVERIFY(HtmlBody("Отчет", QString(), {"NEW"}, 2));
    const QByteArray page = dir.readFile("html/Отчет.html");
    QVERIFY(page.endsWith("NEW" + kEnd));
    QVERIFY(!page.contains("old report"));
    QCOMPARE(page.count('\n'), 1);
}

void TestHtmlReports::unwritableReportShowsNothing()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("html", "a file where the folder should be");
    QVERIFY(!HtmlBody("Отчет", QString(), {}, 1));
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Невозможно создать файл -" + dir.path() + "html/Отчет.html"));
    QCOMPARE(rec.messages.size(), 1);   // and no viewer
}

void TestHtmlReports::lossTableHeader()
{
    QCOMPARE(TableHtml(), QStringList({
        "<th rowspan=\"4\">Линия</th>",
        "<th> Отпуск в сеть, тыс.квтч</th>",
        "<th colspan=\"7\">Потери электроэнергии, тыс.квтч / % от отпуска в соответствующую сеть</th>",
        "</tr>",
        "<tr>",
        "<th rowspan=\"3\">По гол. участку/<br>В собственную сеть/<br>(Транзит по сети)</th>",
        "<th colspan=\"3\">нагрузочные</th>",
        "<th colspan=\"3\">холостого хода</th>",
        "<th rowspan=\"3\">суммарные</th>",
        "</tr>",
        "<tr>",
        "<th rowspan=\"2\">в линиях</th>",
        "<th rowspan=\"2\">в трансфор-<br>маторах</th>",
        "<th rowspan=\"2\">суммарные</th>",
        "<th rowspan=\"2\">в трансфор-<br>маторах</th>",
        "<th rowspan=\"2\">в изоляции<br>КЛ</th>",
        "<th rowspan=\"2\">суммарные</th>",
        "</tr>",
        "<tr></tr>",
    }));
}

void TestHtmlReports::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << "РЭС Север (1)" << "РЭС Север (1)";
    QTest::newRow("slashes") << "ТП 10/0,4 \\ яч.1" << "ТП 10_0,4 _ яч.1";
    QTest::newRow("climbing out") << "../../etc/x" << ".._.._etc_x";
    QTest::newRow("controls") << QString("a\tb\nc") + QChar(0x7f) + QChar(0x85) + "d"
                              << "a_b_c__d";
}

void TestHtmlReports::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(::safeFileName(name), safe);
}

void TestHtmlReports::logs()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QVERIFY(SaveLog("Ошибки при расчете потерь.log", {"Линия Л-1", "", "<нет узла>"}));
    QCOMPARE(dir.readFile("Ошибки при расчете потерь.log"), QByteArray("Линия Л-1\n\n<нет узла>\n"));
    QVERIFY(SaveLog("Ф-1/2.log", {}));
    QVERIFY(dir.exists("Ф-1_2.log"));
    QCOMPARE(dir.readFile("Ф-1_2.log"), QByteArray());
    QCOMPARE(rec.messages.size(), 2);
    QCOMPARE(rec.messages.at(0).kind, QStringLiteral("show"));
    QCOMPARE(rec.messages.at(0).title, QString());
    QCOMPARE(rec.messages.at(0).text, QStringLiteral("Ошибки при расчете потерь.log"));
    QCOMPARE(rec.messages.at(1).text, QStringLiteral("Ф-1/2.log"));
}

void TestHtmlReports::unwritableLogShowsNothing()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QVERIFY(QDir().mkpath(dir.filePath("x.log")));
    QVERIFY(!SaveLog("x.log", {"a"}));
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|Невозможно создать файл -" + dir.path() + "x.log"));
    QCOMPARE(rec.messages.size(), 1);
}

QTEST_GUILESS_MAIN(TestHtmlReports)
#include "tst_htmlreports.moc"
