#include "calc/netreports.h"
#include "calcglobals.h"
#include "store/SaveInfo.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QString P = QStringLiteral("<td align='center'>");
const QString B = P + QStringLiteral("<span style=\" font-weight:600; \">");
const QString RES_END = QStringLiteral("</span></p>");
const QString PES_END = QStringLiteral("</span></p>\n");
const QString BAL = QStringLiteral("<br>В т.ч. на балансе ЭСО");
const QString STYLE = QStringLiteral("<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; background-color: #FFFFFF'>");

// One table row as the reports write it: "<tr...>", a cell per content, the row end.
QStringList row(const QString& start, const QString& opener, const QString& closer,
                const QStringList& contents, const QString& end)
{
    QStringList lines{start};
    for (const QString& c : contents)
        lines << opener + c + closer;
    return lines << end;
}

QStringList summaryHeader(const QString& closer, const QString& headEnd)
{
    return {"<caption><h2>Обобщенные характеристики сети</h2></caption>", STYLE,
            "<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'>",
            "<tr>", "<th rowspan=\"3\">Название ЦП</th>",
            "<th colspan=\"2\" rowspan=\"2\">Количество<br>трансформаторов</th>",
            "<th colspan=\"2\" rowspan=\"2\">Мощность<br>трансформаторов, кВА</th>",
            "<th colspan=\"3\" rowspan=\"2\"><br>Количество линий, шт</th>", closer,
            "<th colspan=\"3\" rowspan=\"2\"><br>Длина линий, км</th>", closer, "</tr>", "<tr></tr>", "<tr>",
            "<th>Всего</th><th>Отключено</th><th>Всего</th><th>Отключено</th>",
            "<th>Всего</th><th>ВЛ</th><th>КЛ</th><th>Всего</th><th>ВЛ</th><th>КЛ</th>", headEnd};
}

const QStringList TR_HEAD = {
    "<tr><th></th><th>Мощность,<br>кВА</th><th>Всего,<br>штук</th><th>Всего,<br>кВА</th>",
    "<th>Отключено,<br>штук</th><th>Отключено,<br>кВА</th></tr>\n"};
const QStringList LIN_HEAD = {
    "<tr><th></th><th>Сечение,<br>мм2</th><th>Всего<br>участков</th><th>Всего<br>длина, км</th><th>Участков<br>КЛ</th>",
    "<th>Длина,<br>КЛ</th><th>Участков<br>ВЛ</th><th>Длина,<br>ВЛ</th></tr>\n"};
const QString TR_CAPTION = "<caption><h2 align = 'left'>Количество и мощность трансформаторов с разбивкой по типовым мощностям</h2></caption>";
const QString TR_TABLE = "<table border='1' bgcolor='#EEEEEE' align='center' width='100%' cellspacing='0' cellpadding ='2'>\n";
const QString LIN_CAPTION = "<caption><h2>Длины участков линий с разбивкой по сечениям, км</h2></caption>";
const QString LIN_TABLE = "<table border='1' bgcolor='#EEFFEE' align='center' width='100%' cellspacing='0' cellpadding ='2'>";

// Line 1 of RES 1 (35 kV): a 250 kVA unit on the balance, disconnected, and a
// 400 kVA consumer unit. Line 2 (110 kV, a name to escape): one 250 kVA unit.
// Line 3 (220 kV) is a variant ("v_lin" 1) and stays out. RES 2 has one
// 220 kV line of cable sections only, so no 220 kV class row anywhere.
TestNetwork fixture()
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.43", "0.44");
    net.addWire("К-120", "120", "1", "0.25", "0.1");
    net.addTransType("Т250", "10", "250", "1", "1", "1", "1", "0", "0", "10", "0.4");
    net.addTransType("Т400", "35", "400", "1", "1", "1", "1", "0", "0", "35", "0.4");
    net.addLine("1", "Л-1", 35);
    net.addLine("2", "Л<2>&", 110);
    net.addLine("3", "Вариант", 220);
    net.setLine("1", "v_lin", "0");
    net.setLine("2", "v_lin", "0");
    net.setLine("3", "v_lin", "1");
    TestNetwork::set(net.addTrans("1", 1, 2, "Т250"), attrUchLin, "podkt", "1");
    net.addTrans("1", 1, 3, "Т400", 0, 0, 0, 0, "1");
    net.addSection("1", 1, 4, "АС-70", 2.5);
    net.addSection("1", 4, 5, "К-120", 1.5, "1");
    net.addTrans("2", 1, 2, "Т250");
    net.addSection("2", 1, 3, "АС-70", 1);
    net.addTrans("3", 1, 2, "Т400");
    net.nres = "2";
    net.addLine("1", "Л-3", 220);
    net.lines.last()[attrLin.indexOf("v_lin")] = "0";
    net.addSection("1", 1, 2, "К-120", 0.5);
    net.addSection("1", 2, 3, "К-120", 0.25, "1");
    return net;
}

QString reportBody(const QString& name)
{
    QFile file(reportFilePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(file.readAll());
    // The body follows the frame's style line and ends before the page end.
    const int start = text.indexOf(STYLE) + STYLE.size();
    return text.mid(start, text.size() - start - QStringLiteral("</body></html>\n").size());
}

} // namespace

class TestNetReports : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetCalcGlobals(); }
    void lineSummaryDefaults();
    void reportsOfTheFixture();
    void emptySummariesGiveZeros();
    void classBounds();
};

// Unknown marks take the defaults: a wire counts as overhead 240 mm², a
// transformer type as 10000 kVA.
void TestNetReports::lineSummaryDefaults()
{
    using Row = QVector<double>;
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.43", "0.44");
    net.addSection("1", 1, 2, "АС-70", 2.5);
    net.addSection("1", 2, 3, "Нет-такой", 1);
    net.addTrans("1", 3, 4, "Т999");
    const ParamU_Lin sum("1", net.sections, LoadKatalogLines(net.katLin), LoadKatalogTrans(net.katTr, 0));
    QCOMPARE(sum.LinRows, (QVector<Row>{{70, 1, 2.5, 0, 0, 1, 2.5, 1, 2.5, 0, 0, 1, 2.5},
                                        {240, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1},
                                        {155, 2, 3.5, 0, 0, 2, 3.5, 2, 3.5, 0, 0, 2, 3.5}}));
    QCOMPARE(sum.TrRows.first(), (Row{10000, 1, 10000, 0, 0, 1, 10000, 0, 0}));
    QCOMPARE(sum.SumAll, (Row{1, 0, 10000, 0, 2, 2, 0, 3.5, 3.5, 0}));
}

// Cell contents of the fixture's rows: line 1, line 2 (also the 35 and
// 110 kV class rows), the transformer and section groups.
const QStringList L1 = {"2<br>1", "1<br>1", "650<br>250", "250<br>250", "2<br>1", "1<br>1", "1<br> ",
                        "4.000<br>2.500", "2.500<br>2.500", "1.500<br> "};
const QStringList L2 = {"1<br>1", " <br> ", "250<br>250", " <br> ", "1<br>1", "1<br>1", " <br> ",
                        "1.000<br>1.000", "1.000<br>1.000", " <br> "};
const QStringList TR400 = {"400", "1<br>0", "400<br>0", "0<br>0", "0<br>0"};
const QStringList NONE = {"0<br>0", "0.000<br>0.000"};

// The RES report of RES 1, or the PES report, which adds RES 2's line.
QStringList netBody(bool pes, const QString& name)
{
    const QString end = pes ? PES_END : RES_END, nl = pes ? "\n" : "";
    auto sumRow = [&](const QString& colour, const QString& opener, const QString& label, const QStringList& cells) {
        return row("<tr BGCOLOR = '" + colour + "'>", opener, end, QStringList{label + BAL} + cells, "</tr>");
    };
    auto group = [&](const QString& opener, const QString& label, const QStringList& cells, const QString& rowEnd) {
        return row("<tr>", opener, end, QStringList{label + BAL} + cells, rowEnd);
    };
    const QString total = pes ? "Всего по ПЭС" : "Всего по РЭС";
    QStringList e = summaryHeader(end, pes ? "</tr>" : "</tr>\n");
    e << sumRow("#FFFFFF", P, "Л-1", L1) << sumRow("#FFFFFF", P, "Л&lt;2&gt;&amp;", L2);
    if (pes)
        e << sumRow("#FFFFFF", P, "Л-3", {" <br> ", " <br> ", " <br> ", " <br> ", "2<br>1", " <br> ", "2<br>1",
                                         "0.750<br>0.500", " <br> ", "0.750<br>0.500"});
    e << sumRow("#DDCC99", P, "Всего по 35 кВ", L1) << sumRow("#DDCC99", P, "Всего по 110 кВ", L2);
    e << sumRow("#CCEEDD", B, "Всего по " + name,
                pes ? QStringList{"3<br>2", "1<br>1", "900<br>500", "250<br>250", "5<br>3", "2<br>2", "3<br>1",
                                  "5.750<br>4.000", "3.500<br>3.500", "2.250<br>0.500"}
                    : QStringList{"3<br>2", "1<br>1", "900<br>500", "250<br>250", "3<br>2", "2<br>2", "1<br> ",
                                  "5.000<br>3.500", "3.500<br>3.500", "1.500<br> "});
    e << "</table>\n" << TR_CAPTION + nl << STYLE + nl << TR_TABLE << TR_HEAD
      << group(P, "Всего", {"250", "2<br>2", "500<br>500", "1<br>1", "250<br>250"}, "</tr>")
      << group(P, "Всего", TR400, "</tr>")
      << group(B, total, {"300", "3<br>2", "900<br>500", "1<br>1", "250<br>250"}, "</tr>")
      << "<tr>" << "</table>\n" << LIN_CAPTION + nl << STYLE + nl << LIN_TABLE + nl << LIN_HEAD;
    const QString rowEnd = pes ? "</tr>\n" : "</tr>";
    e << group(P, "Всего", QStringList{"70", "2<br>2", "3.500<br>3.500"} + NONE + QStringList{"2<br>2", "3.500<br>3.500"}, rowEnd);
    if (pes)
        e << group(P, "Всего", QStringList{"120", "3<br>1", "2.250<br>0.500", "3<br>1", "2.250<br>0.500"} + NONE, rowEnd)
          << group(B, total, {"100", "5<br>3", "5.750<br>4.000", "3<br>1", "2.250<br>0.500", "2<br>2", "3.500<br>3.500"}, rowEnd);
    else
        e << group(P, "Всего", QStringList{"120", "1<br>0", "1.500<br>0.000", "1<br>0", "1.500<br>0.000"} + NONE, rowEnd)
          << group(B, total, {"87", "3<br>2", "5.000<br>3.500", "1<br>0", "1.500<br>0.000", "2<br>2", "3.500<br>3.500"}, rowEnd);
    return e << "</table>\n";
}

void TestNetReports::reportsOfTheFixture()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    fixture().write();
    QVERIFY(ParamRESReport("Заречный"));
    QCOMPARE(reportBody("Параметры линий по Заречный"), netBody(false, "Заречный").join(QString()));

    QVERIFY(ParamLineReport("Л-1"));
    auto group = [](const QString& opener, const QString& label, const QStringList& cells) {
        return row("<tr>", opener, PES_END, QStringList{label + BAL} + cells, "</tr>\n");
    };
    QStringList e{"<caption><h2 align = 'left'>Информация по трансформаторам с разбивкой по мощностям</h2></caption>\n",
                  STYLE + "\n",
                  "<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'>\n"};
    e << TR_HEAD << group(P, "Всего", {"250", "1<br>1", "250<br>250", "1<br>1", "250<br>250"}) << group(P, "Всего", TR400)
      << group(B, "Всего по линии", {"325", "2<br>1", "650<br>250", "1<br>1", "250<br>250"}) << "</table>\n"
      << "<caption><h2>Информация по участкам линий с разбивкой по сечениям, км</h2></caption>\n"
      << STYLE + "\n" << LIN_TABLE + "\n" << LIN_HEAD
      << group(P, "Всего", QStringList{"70", "1<br>1", "2.500<br>2.500"} + NONE + QStringList{"1<br>1", "2.500<br>2.500"})
      << group(P, "Всего", QStringList{"120", "1<br>0", "1.500<br>0.000", "1<br>0", "1.500<br>0.000"} + NONE)
      << group(B, "Всего по линии", {"95", "2<br>1", "4.000<br>2.500", "1<br>0", "1.500<br>0.000", "1<br>1", "2.500<br>2.500"})
      << "</table>\n";
    QCOMPARE(reportBody("Параметры линии Л-1"), e.join(QString()));

    saveShablonXMLAllowEmpty("res", attrRES, "RES", "net10_RES",
                             {{"1", "1", "Заречный", "", "0", "0"}, {"2", "1", "Чужой", "", "0", "0"},
                              {"1", "2", "Луговой", "", "0", "0"}});
    NRES = "7";
    QVERIFY(ParamPESReport("Юг & Север/2"));
    QCOMPARE(NRES, QString("2"));   // left at the last RES of the PES
    QVERIFY(dir.exists("html/Параметры линий по Юг & Север_2.html"));
    QCOMPARE(reportBody("Параметры линий по Юг & Север/2"), netBody(true, "Юг &amp; Север/2").join(QString()));
    QCOMPARE(recorder.texts(), (QStringList{"Параметры линий по Заречный", "Параметры линии Л-1",
                                            "Параметры линий по Юг & Север/2"}));
}

// A line without sections of its own, or one with no summary at all, sums as
// zeros; with no sections table the reader warns once per line.
void TestNetReports::emptySummariesGiveZeros()
{
    MessageRecorder recorder;
    TestNetwork net;
    net.addSection("9", 1, 2, "АС-70", 1);   // another line's sections only
    const ParamU_Lin empty("1", net.sections, LoadKatalogLines(Table()), LoadKatalogTrans(Table(), 0));
    QCOMPARE(empty.LinRows, ValueRows{QVector<double>(13, 0.0)});
    QCOMPARE(empty.TrRows, ValueRows{QVector<double>(9, 0.0)});
    NetSummary summary;
    summary.addLine("Л-1", "10", &empty);
    summary.addLine("Л-2", "10", nullptr);
    summary.merge();
    QCOMPARE(summary.lineAll, ValueRows(2, QVector<double>(10, 0.0)));
    QCOMPARE(summary.totalAll, QVector<double>(10, 0.0));
    QCOMPARE(summary.trRows.last(), QVector<double>(9, 0.0));
    QVERIFY(recorder.messages.isEmpty());
    const ParamU_Lin none("1", Table(), LoadKatalogLines(Table()), LoadKatalogTrans(Table(), 0));
    QCOMPARE(recorder.warnings(), QStringList{"Предупреждение|Для линии не заведены участки"});
}

void TestNetReports::classBounds()
{
    // Below 50 kV (or no voltage) a line counts in the 35 kV class, from 50 to
    // 150 kV in the 110 kV class, above in the 220 kV class.
    const TestNetwork net = fixture();
    const ParamU_Lin line1("1", net.sections, LoadKatalogLines(net.katLin), LoadKatalogTrans(net.katTr, 0));
    NetSummary summary;
    for (const QString& unom : {"49.9", "", "50", "150", "150.5"})
        summary.addLine("Л-1", unom, &line1);
    // Two transformers per line.
    QCOMPARE((QVector<double>{summary.classAll[0].at(0), summary.classAll[1].at(0), summary.classAll[2].at(0)}),
             (QVector<double>{4, 4, 2}));
}

QTEST_GUILESS_MAIN(TestNetReports)
#include "tst_netreports.moc"
