#include "calcfixture.h"
#include "calc/netreports.h"

const QString P = QStringLiteral("<td align='center'>");
const QString B = P + QStringLiteral("<span style=\" font-weight:600; \">");

// A table row: the label with the company's part, then the cells, separated by ";", each written
// as "all/on the balance"; "feed" ends each cell with a line feed.
static QString row(const QString& start, const QString& opener, const QString& label, const QString& cells,
                   bool feed = false, const QString& end = "</tr>")
{
    const QString closer = feed ? "</span></p>\n" : "</span></p>";
    QString s = start + opener + label + "<br>В т.ч. на балансе ЭСО" + closer;
    for (const QString& c : cells.split(';'))
        s += opener + QString(c).replace('/', "<br>") + closer;
    return s + end;
}

// RES 1 of lines at 35 kV (a disconnected 250 kVA unit and a consumer's 400 kVA one), 110 kV (a name to
// escape), 220 kV (a variant, left out) and 220 kV again (cables only: no class row); no RES 2.
static TestNetwork fixture()
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.43", "0.44");
    net.addWire("К-120", "120", "1", "0.25", "0.1");
    net.addTransType("Т250", "10", "250", "1", "1", "1", "1", "0", "0", "10", "0.4");
    net.addTransType("Т400", "35", "400", "1", "1", "1", "1", "0", "0", "35", "0.4");
    net.addLine("1", "Л-1", 35);
    net.addLine("2", "Л<2>&", 110);
    net.addLine("3", "Вариант", 220);
    net.addLine("4", "Л-3", 220);
    for (QStringList& line : net.lines)
        TestNetwork::set(line, attrLin, "v_lin", line.at(2) == "3" ? "1" : "0");
    TestNetwork::set(net.addTrans("1", 1, 2, "Т250"), attrUchLin, "podkt", "1");
    net.addTrans("1", 1, 3, "Т400", 0, 0, 0, 0, "1");
    net.addSection("1", 1, 4, "АС-70", 2.5);
    net.addSection("1", 4, 5, "К-120", 1.5, "1");
    net.addTrans("2", 1, 2, "Т250");
    net.addSection("2", 1, 3, "АС-70", 1);
    net.addTrans("3", 1, 2, "Т400");
    net.addSection("4", 1, 2, "К-120", 0.5);
    net.addSection("4", 2, 3, "К-120", 0.25, "1");
    return net;
}

// The body of a characteristics report (0 RES, 1 PES, 2 line) around its rows.
static QString characteristics(int kind, const QStringList& summary, const QStringList& tr, const QStringList& sections)
{
    const QString feed = kind == 0 ? "" : "\n", closer = "</span></p>" + feed;
    const QString th = "<th colspan=\"3\" rowspan=\"2\"><br>";
    QStringList out;
    if (kind < 2)
        out << "<caption><h2>Обобщенные характеристики сети</h2></caption>" << STYLE << "<table border='1' bgcolor='#DEECFC' "
            + TABLE << "<thead><tr>" << "<th rowspan=\"3\">Название ЦП</th>" << "<th colspan=\"2\" rowspan=\"2\">Количество<br>"
            "трансформаторов</th>" << "<th colspan=\"2\" rowspan=\"2\">Мощность<br>трансформаторов, кВА</th>"
            << th + "Количество линий, шт</th>" << closer << th + "Длина линий, км</th>" << closer << "</tr>"
            << "<tr></tr>" << "<tr>" << "<th>Всего</th><th>Отключено</th><th>Всего</th><th>Отключено</th>"
            << "<th>Всего</th><th>ВЛ</th><th>КЛ</th><th>Всего</th><th>ВЛ</th><th>КЛ</th>" << "</tr>" + QString(kind ? "" : "\n") + "</thead>"
            << summary << "</table>\n" << "<caption><h2 align = 'left'>Количество и мощность трансформаторов с "
            "разбивкой по типовым мощностям</h2></caption>" + feed << STYLE + feed << "<table border='1' bgcolor='#EEEEEE' " + TABLE + "\n";
    else
        out << "<caption><h2 align = 'left'>Информация по трансформаторам с разбивкой по мощностям</h2></caption>\n"
            << STYLE + "\n" << "<table border='1' bgcolor='#DEECFC' " + TABLE + "\n";
    out << "<thead><tr><th></th><th>Мощность,<br>кВА</th><th>Всего,<br>штук</th><th>Всего,<br>кВА</th>"
        << "<th>Отключено,<br>штук</th><th>Отключено,<br>кВА</th></tr>\n</thead>" << tr << QString(kind < 2 ? "<tr>" : "")
        << "</table>\n" << (kind < 2 ? "<caption><h2>Длины участков линий с разбивкой по сечениям, км</h2></caption>" + feed
                                      : "<caption><h2>Информация по участкам линий с разбивкой по сечениям, км</h2></caption>\n")
        << STYLE + feed << "<table border='1' bgcolor='#EEFFEE' " + TABLE + feed
        << "<thead><tr><th></th><th>Сечение,<br>мм2</th><th>Всего<br>участков</th><th>Всего<br>длина, км</th><th>Участков<br>КЛ</th>"
        << "<th>Длина,<br>КЛ</th><th>Участков<br>ВЛ</th><th>Длина,<br>ВЛ</th></tr>\n</thead>" << sections << "</table>\n";
    return out.join(QString());
}

class TestNetReports : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_case = std::make_unique<CalcCase>(); }
    void cleanup() { m_case.reset(); }

    // Unknown marks count as an overhead 240 mm² wire and a 10000 kVA type; the 35 kV class ends below
    // 50 kV, the 110 kV class at 150 kV; no sections or no summary sum as zeros.
    void lineSummaries()
    {
        using Row = QVector<double>;
        TestNetwork net = fixture();
        net.addSection("5", 1, 2, "АС-70", 2.5);
        net.addSection("5", 2, 3, "Нет-такой", 1);
        net.addSection("5", 3, 5, "К-120", 0);   // its group, and nothing in it
        net.addTrans("5", 3, 4, "Т999");
        const ParamU_Lin sum("5", net.sections, LoadKatalogLines(net.katLin), LoadKatalogTrans(net.katTr, 0));
        QCOMPARE(sum.LinRows.at(1), (Row{120, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(sum.LinRows.at(2), (Row{240, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1}));
        QCOMPARE(sum.TrRows.first(), (Row{10000, 1, 10000, 0, 0, 1, 10000, 0, 0}));
        NetSummary classes;
        for (const char* unom : {"49.9", "", "50", "150", "150.5"})
            classes.addLine("Л-1", unom, &sum);
        QCOMPARE((Row{classes.classAll[0].at(0), classes.classAll[1].at(0), classes.classAll[2].at(0)}), (Row{2, 2, 1}));

        const ParamU_Lin empty("9", net.sections, LoadKatalogLines(Table()), LoadKatalogTrans(Table(), 0));
        QVERIFY(empty.LinRows == ValueRows{Row(13, 0.0)} && empty.TrRows == ValueRows{Row(9, 0.0)});
        NetSummary summary;
        summary.addLine("Л-1", "10", &empty);
        summary.addLine("Л-2", "10", nullptr);
        summary.merge();
        QVERIFY(summary.lineAll == ValueRows(2, Row(10, 0.0)) && summary.totalAll == Row(10, 0.0) && summary.trRows.last() == Row(9, 0.0));
        QVERIFY(m_case->recorder.messages.isEmpty());
        const ParamU_Lin none("1", Table(), LoadKatalogLines(Table()), LoadKatalogTrans(Table(), 0));   // no sections table
        QCOMPARE(m_case->recorder.warnings(), QStringList{"Предупреждение|Для линии не заведены участки"});
    }

    // The reports of the RES, its first line and the PES it alone makes up, byte for byte.
    void reportsOfTheFixture()
    {
        fixture().write();
        QVERIFY(ParamRESReport("Заречный") && ParamLineReport("Л-1"));
        saveShablonXMLAllowEmpty("res", attrRES, "RES", "net10_RES", {{"1", "1", "Заречный", "", "0", "0"},
                                 {"2", "1", "Чужой", "", "0", "0"}, {"1", "2", "Луговой", "", "0", "0"}});
        NRES = "7";
        QVERIFY(ParamPESReport("Юг & Север/2"));
        QCOMPARE(NRES, QString("2"));   // left at the last RES of the PES
        QVERIFY(m_case->dir.exists("html/Параметры линий по Юг & Север_2.html"));
        const QString L1 = "2/1;1/1;650/250;250/250;2/1;1/1;1/ ;4.000/2.500;2.500/2.500;1.500/ ",
                      L2 = "1/1; / ;250/250; / ;1/1;1/1; / ;1.000/1.000;1.000/1.000; / ", tr400 = "400;1/0;400/0;0/0;0/0";
        for (const bool pes : {false, true}) {
            const QString name = pes ? "Юг &amp; Север/2" : "Заречный", level = pes ? "Всего по ПЭС" : "Всего по РЭС";
            const QString white = "<tr BGCOLOR = '#FFFFFF'>", yellow = "<tr BGCOLOR = '#DDCC99'>", end = pes ? "</tr>\n" : "</tr>";
            auto group = [&](const QString& cells, const QString& rowEnd) { return row("<tr>", P, "Всего", cells, pes, rowEnd); };
            QCOMPARE(reportBody("Параметры линий по " + QString(pes ? "Юг & Север/2" : "Заречный")), characteristics(pes,
                {row(white, P, "Л-1", L1, pes), row(white, P, "Л&lt;2&gt;&amp;", L2, pes),
                 row(white, P, "Л-3", " / ; / ; / ; / ;2/1; / ;2/1;0.750/0.500; / ;0.750/0.500", pes),
                 row(yellow, P, "Всего по 35 кВ", L1, pes), row(yellow, P, "Всего по 110 кВ", L2, pes),
                 row("<tr BGCOLOR = '#CCEEDD'>", B, "Всего по " + name,
                     "3/2;1/1;900/500;250/250;5/3;2/2;3/1;5.750/4.000;3.500/3.500;2.250/0.500", pes)},
                {group("250;2/2;500/500;1/1;250/250", "</tr>"), group(tr400, "</tr>"), row("<tr>", B, level, "300;3/2;900/500;1/1;250/250", pes)},
                {group("70;2/2;3.500/3.500;0/0;0.000/0.000;2/2;3.500/3.500", end), group("120;3/1;2.250/0.500;3/1;2.250/0.500;0/0;0.000/0.000", end),
                 row("<tr>", B, level, "100;5/3;5.750/4.000;3/1;2.250/0.500;2/2;3.500/3.500", pes, end)}));
        }
        const QString end = "</tr>\n";
        QCOMPARE(reportBody("Параметры линии Л-1"), characteristics(2, {},
            {row("<tr>", P, "Всего", "250;1/1;250/250;1/1;250/250", true, end), row("<tr>", P, "Всего", tr400, true, end),
             row("<tr>", B, "Всего по линии", "325;2/1;650/250;1/1;250/250", true, end)},
            {row("<tr>", P, "Всего", "70;1/1;2.500/2.500;0/0;0.000/0.000;1/1;2.500/2.500", true, end),
             row("<tr>", P, "Всего", "120;1/0;1.500/0.000;1/0;1.500/0.000;0/0;0.000/0.000", true, end),
             row("<tr>", B, "Всего по линии", "95;2/1;4.000/2.500;1/0;1.500/0.000;1/1;2.500/2.500", true, end)}));
        QCOMPARE(m_case->recorder.texts(), (QStringList{"Параметры линий по Заречный", "Параметры линии Л-1",
                                                        "Параметры линий по Юг & Север/2"}));
    }

private:
    std::unique_ptr<CalcCase> m_case;
};

QTEST_GUILESS_MAIN(TestNetReports)
#include "tst_netreports.moc"
