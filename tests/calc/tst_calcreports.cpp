#include "calc/zorvantask.h"
#include "calcglobals.h"
#include "calcnetwork.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

QString withoutTime(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).replace(
        QRegularExpression("\\(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\)"), "(STAMP)");
}

// One transformer of 10 MVA fed at 110 kV with 4 MW mean load (see the load
// flow tests for the figures worked by hand).
TestNetwork smallLine()
{
    TestNetwork net;
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addLine("1", "Л", 110, 110, 110, "0.5", "0");
    net.addTrans("1", 0, 1, "Т-1", 0, 0, 2880, 1440);
    return net;
}

const QString kHead =
    "<html><head><title>%1</title>"
    "<meta name='qrichtext' content='1' /><meta http-equiv='Content-Type' content='text/html; charset=UTF-8' />"
    "<style type='text/css'>p, li { white-space: pre-wrap; } </style></head><body>"
    "<caption><h1 align = 'center'>Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН</h1>"
    "<caption><h2 align = 'center'>%1 (STAMP)</h2>"
    "<caption><h2 align = 'center'>Расчетный период: Январь 2026 года</h2>"
    "<caption><h2 align = 'left'> Объект: Заречный РЭС Л</h2>"
    "<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; background-color: #FFFFFF'>"
    "<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'><tr>";

} // namespace

class TestCalcReports : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); }
    void summaryAndProtocolReports();
    void errorLogOnlyWithMoreThanTheHeading();
    void everyExampleLineCalculates();
};

void TestCalcReports::summaryAndProtocolReports()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    pNameRas = QStringList{"Заречный РЭС", "Л"};
    smallLine().write();
    CalcRadial calc;
    calc.CalcUR("1", 1, 1, 0);

    QCOMPARE(withoutTime(dir.readFile("html/Информация по участкам линии Л.html")),
             kHead.arg("Информация по участкам линии Л")
             + calc.m_headCells.join(QString())
             + "<tr>\n"
               "<td align='center'>Участок 0-1</td>\n<td align='center'>0 - 1</td>\n"
               "<td align='center'>Т-1</td>\n<td align='center'>ЭСО</td>\n<td align='center'>0</td>\n"
               "<td align='center'>1.85</td>\n<td align='center'>4.03</td>\n<td align='center'>2.24</td>\n"
               "<td align='center'>107.65</td>\n<td align='center'>2.14</td>\n<td align='center'>70.405</td>\n"
               "<td align='center'>172.6</td>\n<td align='center'>16893</td>\n<td align='center'>100.00</td>\n"
               "</tr>\n"
               "</body></html>\n");
    QVERIFY(calc.m_headCells.at(6).contains("Активная<br>мощность,<br>мВт"));

    QCOMPARE(withoutTime(dir.readFile("html/Потери по линии Л.html")),
             kHead.arg("Потери по линии Л")
             + "<th rowspan=\"4\">Линия</th>"
               "<th> Отпуск в сеть, тыс.квтч</th>"
               "<th colspan=\"7\">Потери электроэнергии, тыс.квтч / % от отпуска в соответствующую сеть</th>"
               "</tr><tr>"
               "<th rowspan=\"3\">По гол. участку/<br>В собственную сеть/<br>(Транзит по сети)</th>"
               "<th colspan=\"3\">нагрузочные</th><th colspan=\"3\">холостого хода</th>"
               "<th rowspan=\"3\">суммарные</th></tr><tr>"
               "<th rowspan=\"2\">в линиях</th><th rowspan=\"2\">в трансфор-<br>маторах</th>"
               "<th rowspan=\"2\">суммарные</th><th rowspan=\"2\">в трансфор-<br>маторах</th>"
               "<th rowspan=\"2\">в изоляции<br>КЛ</th><th rowspan=\"2\">суммарные</th></tr><tr></tr>"
               "<tr><td align='center'>Л</td>\n"
               "<td align='center'>2906.973<br>2906.973</td>\n"
               "<td align='center'>0.000<br>0.00 %</td>\n"
               "<td align='center'>16.893<br>0.58 %</td>\n"
               "<td align='center'>16.893<br>0.58 %</td>\n"
               "<td align='center'>10.080<br>0.35 %</td>\n"
               "<td align='center'>0.000<br>0.00 %</td>\n"
               "<td align='center'>10.080<br>0.35 %</td>\n"
               "<td align='center'>26.973<br>0.93 %</td>\n"
               "</tr></table>\n"
               "<caption><h3 align = 'left'>Кз = 0.50, температура 20.0</h3></caption>\n"
               "</body></html>\n");

    // The protocol is always shown, the summary as the caller asks.
    QStringList shown;
    for (const RecordedMessage& m : recorder.messages)
        shown.append(m.kind + ":" + m.text);
    QCOMPARE(shown, (QStringList{"show:Информация по участкам линии Л", "show:Потери по линии Л"}));

    recorder.clear();
    CalcRadial quiet;
    quiet.CalcUR("1", 1, 0, 0);
    QCOMPARE(recorder.texts(), QStringList{"Информация по участкам линии Л"});
}

void TestCalcReports::errorLogOnlyWithMoreThanTheHeading()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net = smallLine();
    net.write();
    CalcRadial clean;
    clean.CalcUR("1", 0, 0, 1);
    QVERIFY(!dir.exists("Ошибки при расчете потерь.log"));

    net.addTrans("1", 1, 2, "Нет-такого");
    net.write();
    CalcRadial faulty;
    faulty.CalcUR("1", 0, 0, 1);
    QCOMPARE(QString::fromUtf8(dir.readFile("Ошибки при расчете потерь.log")),
             QString("--------------------- Л --------------------- \n"
                     "*** задана неверная марка Нет-такого в ветви 1 -2\n"));
    QCOMPARE(recorder.texts(), QStringList{"Ошибки при расчете потерь.log"});
}

void TestCalcReports::everyExampleLineCalculates()
{
    TempWorkDir dir;
    dir.copyExamples();
    MessageRecorder recorder;
    const CalcTables tables = CalcTables::read();
    QVERIFY(!tables.lines.isEmpty());
    for (const QStringList& line : tables.lines) {
        NPES = line.at(0);
        NRES = line.at(1);
        CalcRadial calc;
        calc.setTables(tables);
        calc.CalcUR(line.at(2), 0, 0, 0);
        QVERIFY2(calc.m_errorCount == 0, qPrintable(calc.m_messages.join('\n')));
        QCOMPARE(calc.m_totals.size(), 16);
        for (const QString& message : calc.m_messages.mid(1))
            QVERIFY2(!message.startsWith("*"), qPrintable(message));
        QVERIFY2(calc.m_totals.at(0) > 0.0, qPrintable(calc.m_lineName));
    }
    QVERIFY(recorder.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestCalcReports)
#include "tst_calcreports.moc"
