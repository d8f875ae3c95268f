// Reports and logs: the bytes of a page, where the files land, what is shown.

#include "store/SaveInfo.h"
#include "storetest.h"

#include <QRegularExpression>

const QByteArray kBodyStyle = "<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:"
                              "none; background-color: #FFFFFF'>";

static QByteArray stampless(const QByteArray& bytes)
{
    static const QRegularExpression stamp(QStringLiteral("\\(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\)"));
    return QString::fromUtf8(bytes).replace(stamp, QStringLiteral("(STAMP)")).toUtf8();
}

class TestHtmlReports : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { pNameRas.clear(); }

    // A bare report in mode 2 (shown); one with period and object names in
    // mode 0 (written only), with the loss table and its 19 header lines.
    // Names escaped in the page; report and log files under safe names, the
    // viewer asked for the real ones. Unwritable: a warning each, no viewer.
    void reportsAndLogs()
    {
        Scratch work;
        const QByteArray head = "<html><head><title>Отчет</title><meta name='qrichtext' content='1' /><meta http-equiv="
            "'Content-Type' content='text/html; charset=UTF-8' /><style type='text/css'>p, li { white-space: pre-wrap; } "
            "</style></head><body><caption><h1 align = 'center'>Программа расчета потерь электроэнергии в радиальных "
            "сетях 35-220 кВ ЗОРВАН</h1><caption><h2 align = 'center'>Отчет (STAMP)</h2>";
        const QByteArray tail = "<tr><td>1</td><td>2\n</td></tr></table></body></html>\n";
        QVERIFY(HtmlBody("Отчет", QString(), {"<tr><td>1</td>", "<td>2\n</td></tr></table>"}, 2));
        QCOMPARE(stampless(work.readFile("html/Отчет.html")), head + kBodyStyle + tail);
        pNameRas = QStringList({"ПЭС-1", "РЭС Север"});
        QVERIFY(HtmlBody("Отчет", "Январь 2026 года", TableHtml() << "<tr><td>1</td><td>2\n</td></tr></table>", 0));
        QCOMPARE(stampless(work.readFile("html/Отчет.html")), head
                 + "<caption><h2 align = 'center'>Расчетный период: Январь 2026 года</h2><caption><h2 align = "
                   "'left'> Объект: ПЭС-1 РЭС Север</h2>" + kBodyStyle + "<table border='1' bgcolor='#DEECFC' "
                   "align='center' width='100%' cellspacing='0' cellpadding ='2'><thead><tr><th rowspan=\"4\">Линия</th>"
                   "<th> Отпуск в сеть, тыс.квтч</th><th colspan=\"7\">Потери электроэнергии, тыс.квтч / % от "
                   "отпуска в соответствующую сеть</th></tr><tr><th rowspan=\"3\">По гол. участку/<br>В собственную "
                   "сеть/<br>(Транзит по сети)</th><th colspan=\"3\">нагрузочные</th><th colspan=\"3\">холостого "
                   "хода</th><th rowspan=\"3\">суммарные</th></tr><tr><th rowspan=\"2\">в линиях</th><th rowspan="
                   "\"2\">в трансфор-<br>маторах</th><th rowspan=\"2\">суммарные</th><th rowspan=\"2\">в трансфор-"
                   "<br>маторах</th><th rowspan=\"2\">в изоляции<br>КЛ</th><th rowspan=\"2\">суммарные</th></tr>"
                   "<tr></tr></thead>" + tail);

        pNameRas = QStringList({"ПС <А&Б>"});
        const QString name = QStringLiteral("Протокол Л-1/2 \\ <б>"), log = QStringLiteral("Ф-1/2\t.log");
        QVERIFY(HtmlBody(name, QString(), {}, 1));
        const QByteArray page = work.readFile("html/Протокол Л-1_2 _ <б>.html");
        QVERIFY(page.startsWith("<html><head><title>Протокол Л-1/2 \\ &lt;б&gt;</title>"));
        QVERIFY(page.contains("<h2 align = 'left'> Объект: ПС &lt;А&amp;Б&gt;</h2>"));
        QVERIFY(SaveLog(log, {"Линия Л-1", "", "<нет узла>"}));
        QCOMPARE(work.readFile("Ф-1_2_.log"), QByteArray("Линия Л-1\n\n<нет узла>\n"));
        QVERIFY(QDir(work.filePath("html")).removeRecursively() && QFile::remove(work.filePath("Ф-1_2_.log")));
        work.writeFile("html", "a file where the folder should be");
        QVERIFY(QDir().mkpath(work.filePath("Ф-1_2_.log/x")));
        QVERIFY(!HtmlBody(name, QString(), {}, 1) && !SaveLog(log, {"x"}));
        QStringList messages;
        for (const RecordedMessage& m : work.messages)
            messages.append(m.kind + "|" + m.title + "|" + m.text);
        const QString cannot = "warning|Предупреждение|Невозможно создать файл -" + work.path();
        QCOMPARE(messages, QStringList({"show|html|Отчет", "show|html|" + name, "show||" + log,
                                        cannot + "html/Протокол Л-1_2 _ <б>.html", cannot + "Ф-1_2_.log"}));
    }

    // A table's heading goes into <thead>: rows of header cells with the
    // empty rows their spans need, or a first row all in bold; the data
    // begin at the first other row. Tables with a <thead> or without data
    // stay as they are.
    void marksTableHeads_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("marked");
        const QString bold = "<td align='center'><span style=\" font-weight:600; \">";
        QTest::newRow("header cells, a filler, a total in bold")
            << "<p>x</p><table border='1'><tr><th rowspan=\"2\">A</th></tr><tr></tr><tr>" + bold + "Всего</td></tr></table>"
            << "<p>x</p><table border='1'><thead><tr><th rowspan=\"2\">A</th></tr><tr></tr></thead><tr>" + bold
                   + "Всего</td></tr></table>";
        QTest::newRow("bold first row, two tables")
            << "<table><tr>" + bold + "Элемент</td>\n" + bold + "Длина</td></tr><tr>\n<td>Т-1</td><td>2</td></tr></table>"
                   "<TABLE><TR><TH>B</TH></TR><TR><TD>1</TD></TR></TABLE>"
            << "<table><thead><tr>" + bold + "Элемент</td>\n" + bold + "Длина</td></tr></thead><tr>\n<td>Т-1</td>"
                   "<td>2</td></tr></table><TABLE><thead><TR><TH>B</TH></TR></thead><TR><TD>1</TD></TR></TABLE>";
        const QString unchanged = "<table><thead><tr><th>A</th></tr></thead><tr><td>1</td></tr></table>"
                                  "<table><tr><th>A</th></tr><tr></tr></table><table><tr><td>1</td></tr></table>";
        QTest::newRow("marked already, no data, no heading") << unchanged << unchanged;
    }
    void marksTableHeads()
    {
        QFETCH(QString, page);
        QTEST(markTableHeads(page), "marked");
    }
};

QTEST_GUILESS_MAIN(TestHtmlReports)
#include "tst_htmlreports.moc"
