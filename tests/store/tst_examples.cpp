// The example working directory is where a new user starts and what other
// tests lean on. These checks catch the data mistakes that would make it
// misleading: a file the program would write differently, a mark missing from
// its catalog, a repeated key, a ring or a loose node, a three-winding
// transformer that does not meet at its star point, energies out of
// proportion with the transformer that carries them.

#include "store/readregim.h"
#include "testsupport.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QtMath>
#include <QtTest>

namespace {

const int kJanuaryDays = 31;   // the examples hold the energies of January

QString value(const QStringList& row, const QStringList& names, const char* name)
{
    return row.value(names.indexOf(QLatin1String(name)));
}

double number(const QStringList& row, const QStringList& names, const char* name)
{
    return value(row, names, name).toDouble();
}

QString lineKey(const QStringList& row, const QStringList& names)
{
    return value(row, names, "npes") + "," + value(row, names, "nres") + "," +
           value(row, names, "nlin");
}

// The class string under which the section editor offers transformer types.
QString voltageClass(double unom)
{
    return unom > 200 ? QStringLiteral("220") : unom < 50 ? QStringLiteral("35")
                                                          : QStringLiteral("110");
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void filesAsTheProgramWritesThem_data();
    void filesAsTheProgramWritesThem();
    void hierarchyIsComplete();
    void marksAreInTheirCatalogs();
    void keysAreUniqueWithinALine();
    void linesAreRadialFromTheSupplyNode_data();
    void linesAreRadialFromTheSupplyNode();
    void threeWindingTransformersMeetAtAStarPoint();
    void energiesFitTheTransformers();
    void coversTheSpecialCases();

private:
    const QStringList* transformerType(const QString& name) const;
    bool isHighWinding(const QStringList& type) const;
    QVector<QStringList> rowsOf(const QString& key) const;

    QString m_previousPath;
    MessageRecorder* m_recorder = nullptr;
    Table m_pes, m_res, m_lines, m_uch, m_wires, m_trans;
};

void TestExamples::initTestCase()
{
    m_previousPath = ZORVAN_PATH;
    ZORVAN_PATH = examplesPath();
    m_recorder = new MessageRecorder;
    m_pes = ReadShablonXML("pes", attrPES, "PES");
    m_res = ReadShablonXML("res", attrRES, "RES");
    m_lines = ReadShablonXML("lines", attrLin, "LIN");
    m_uch = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
    m_wires = ReadShablonXML("kat_lin", attrL, "Wire");
    m_trans = ReadShablonXML("kat_tr", attrTR, "Trans");
    QCOMPARE(m_recorder->warnings(), QStringList());
}

void TestExamples::cleanupTestCase()
{
    delete m_recorder;
    ZORVAN_PATH = m_previousPath;
}

const QStringList* TestExamples::transformerType(const QString& name) const
{
    for (const QStringList& t : m_trans) {
        if (value(t, attrTR, "name") == name)
            return &t;
    }
    return nullptr;
}

// The HV winding of a three-winding transformer ends in the star point: its
// catalog voltages are equal, so its ratio is about 1.
bool TestExamples::isHighWinding(const QStringList& type) const
{
    const double uvn = number(type, attrTR, "uvn");
    const double ratio = uvn > 0 ? number(type, attrTR, "unn") / uvn : 0;
    return ratio > 0.8 && ratio < 1.2;
}

QVector<QStringList> TestExamples::rowsOf(const QString& key) const
{
    QVector<QStringList> rows;
    for (const QStringList& r : m_uch) {
        if (lineKey(r, attrUchLin) == key)
            rows.append(r);
    }
    return rows;
}

void TestExamples::filesAsTheProgramWritesThem_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("root");
    QTest::newRow("pes") << "pes" << attrPES << "PES" << "net110_PES";
    QTest::newRow("res") << "res" << attrRES << "RES" << "net110_RES";
    QTest::newRow("lines") << "lines" << attrLin << "LIN" << "net110_LIN";
    QTest::newRow("uch_lin") << "uch_lin" << attrUchLin << "UCH_LIN" << "net110_uch_lin";
    QTest::newRow("kat_lin") << "kat_lin" << attrL << "Wire" << "net110_WireInfo";
    QTest::newRow("kat_tr") << "kat_tr" << attrTR << "Trans" << "net110_TRansInfo";
}

// Writing back what was read must give the file again, byte for byte (apart
// from the time stamp): declaration, root, indent, every attribute in order.
void TestExamples::filesAsTheProgramWritesThem()
{
    QFETCH(QString, table);
    QFETCH(QStringList, names);
    QFETCH(QString, row);
    QFETCH(QString, root);
    QFile original(examplesPath() + table + ".xml");
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const Table rows = ReadShablonXML(table, names, row);
    QVERIFY(!rows.isEmpty());

    TempWorkDir dir;
    QVERIFY(saveShablonXML(table, names, row, root, rows));
    const QByteArray written = dir.readFile(table + ".xml");
    QVERIFY(withoutStamp(bytes).contains("created=\"STAMP\" modeling_authority=\"TARNO\""));
    QCOMPARE(QString::fromUtf8(withoutStamp(bytes)), QString::fromUtf8(withoutStamp(written)));
}

void TestExamples::hierarchyIsComplete()
{
    QCOMPARE(m_pes.size(), 1);
    QVERIFY(m_res.size() >= 2 && m_res.size() <= 3);
    QVERIFY(m_lines.size() >= 6 && m_lines.size() <= 10);

    QSet<QString> pes, res, lines;
    for (const QStringList& p : m_pes)
        pes.insert(value(p, attrPES, "npes"));
    for (const QStringList& r : m_res) {
        QVERIFY2(pes.contains(value(r, attrRES, "npes")), qPrintable(value(r, attrRES, "name")));
        const QString key = value(r, attrRES, "npes") + "," + value(r, attrRES, "nres");
        QVERIFY2(!res.contains(key), qPrintable(key));
        res.insert(key);
    }
    for (const QStringList& l : m_lines) {
        const QString key = lineKey(l, attrLin);
        QVERIFY2(res.contains(key.section(',', 0, 1)), qPrintable(key));
        QVERIFY2(!lines.contains(key), qPrintable(key));
        lines.insert(key);
        QVERIFY2(!rowsOf(key).isEmpty(), qPrintable(value(l, attrLin, "name")));
    }
    for (const QStringList& u : m_uch)
        QVERIFY2(lines.contains(lineKey(u, attrUchLin)), qPrintable(value(u, attrUchLin, "name")));
}

void TestExamples::marksAreInTheirCatalogs()
{
    QSet<QString> wires;
    for (const QStringList& w : m_wires)
        wires.insert(value(w, attrL, "name"));
    QHash<QString, double> unom;
    for (const QStringList& l : m_lines)
        unom.insert(lineKey(l, attrLin), number(l, attrLin, "unom"));

    for (const QStringList& u : m_uch) {
        const QString mark = value(u, attrUchLin, "kod_el");
        const double lineUnom = unom.value(lineKey(u, attrUchLin));
        const QString what = lineKey(u, attrUchLin) + " " + value(u, attrUchLin, "name") + " " + mark;
        const QString tip = value(u, attrUchLin, "tip_el");
        if (tip == "1") {
            QVERIFY2(wires.contains(mark), qPrintable(what));
            bool ok = false;
            QVERIFY2(value(u, attrUchLin, "dl").toDouble(&ok) > 0 && ok, qPrintable(what));
        } else {
            QVERIFY2(tip == "2", qPrintable(what));
            const QStringList* type = transformerType(mark);
            QVERIFY2(type, qPrintable(what));
            // The calculation finds a type only within its voltage window, the
            // section editor only under the exact class string.
            const double typeUnom = number(*type, attrTR, "unom");
            QVERIFY2(typeUnom > 0.8 * lineUnom && typeUnom < 1.2 * lineUnom, qPrintable(what));
            QCOMPARE(value(*type, attrTR, "unom"), voltageClass(lineUnom));
        }
    }
}

void TestExamples::keysAreUniqueWithinALine()
{
    QHash<QString, QSet<int>> keys;
    for (const QStringList& u : m_uch) {
        bool ok = false;
        const int key = value(u, attrUchLin, "key").toInt(&ok);
        const QString line = lineKey(u, attrUchLin);
        QVERIFY2(ok && key > 0, qPrintable(line + " " + value(u, attrUchLin, "name")));
        QVERIFY2(!keys[line].contains(key), qPrintable(line + " key " + QString::number(key)));
        keys[line].insert(key);
    }
}

void TestExamples::linesAreRadialFromTheSupplyNode_data()
{
    QTest::addColumn<QString>("line");
    for (const QStringList& l : m_lines)
        QTest::newRow(qPrintable(value(l, attrLin, "name"))) << lineKey(l, attrLin);
}

// As the calculation sees the line: rows in service only, parallel line
// sections joined into one branch; node 0 feeds the line through one head
// section; every line section leads on to something, and nothing is fed from
// the low side of a two-winding transformer.
void TestExamples::linesAreRadialFromTheSupplyNode()
{
    QFETCH(QString, line);
    const QVector<QStringList> rows = rowsOf(line);

    QSet<int> heads;
    QMap<QPair<int, int>, QStringList> branches;
    QMultiHash<int, int> next;
    for (const QStringList& r : rows) {
        const int a = number(r, attrUchLin, "nyzln"), b = number(r, attrUchLin, "nyzlk");
        QVERIFY2(a != b, qPrintable(value(r, attrUchLin, "name")));
        if (a == 0 || b == 0)
            heads.insert(a + b);
        if (value(r, attrUchLin, "podkt") != "0")
            continue;
        const QPair<int, int> pair(qMin(a, b), qMax(a, b));
        if (branches.contains(pair)) {
            QVERIFY2(value(r, attrUchLin, "tip_el") == "1" &&
                         value(branches.value(pair), attrUchLin, "tip_el") == "1",
                     qPrintable("two transformers between " + QString::number(a) + " and " +
                                QString::number(b)));
            continue;
        }
        branches.insert(pair, r);
        next.insert(a, b);
        next.insert(b, a);
    }
    QCOMPARE(heads.size(), 1);

    QHash<int, int> parent{{0, -1}};
    QList<int> order{0};
    for (int i = 0; i < order.size(); ++i) {
        for (int v : next.values(order.at(i))) {
            if (v == parent.value(order.at(i)))
                continue;
            QVERIFY2(!parent.contains(v), qPrintable("ring through node " + QString::number(v)));
            parent.insert(v, order.at(i));
            order.append(v);
        }
    }
    QCOMPARE(parent.size(), next.uniqueKeys().size());

    for (auto it = branches.cbegin(); it != branches.cend(); ++it) {
        const int far = parent.value(it.key().first) == it.key().second ? it.key().first
                                                                          : it.key().second;
        const QString what = value(it.value(), attrUchLin, "name");
        const int onward = next.values(far).size() - 1;
        if (value(it.value(), attrUchLin, "tip_el") == "1") {
            QVERIFY2(onward > 0, qPrintable("dead end behind " + what));
        } else {
            const QStringList* type = transformerType(value(it.value(), attrUchLin, "kod_el"));
            QVERIFY(type);
            QVERIFY2(onward == 0 || isHighWinding(*type), qPrintable("fed from the low side of " + what));
        }
    }
}

void TestExamples::threeWindingTransformersMeetAtAStarPoint()
{
    int units = 0;
    for (const QStringList& hv : m_uch) {
        const QStringList* type = transformerType(value(hv, attrUchLin, "kod_el"));
        if (value(hv, attrUchLin, "tip_el") != "2" || !type || !isHighWinding(*type))
            continue;
        ++units;
        const QString star = value(hv, attrUchLin, "nyzlk");
        QVERIFY(number(*type, attrTR, "S") > 0);
        QCOMPARE(number(hv, attrUchLin, "wp_nagr"), 0.0);
        int windings = 0;
        for (const QStringList& w : rowsOf(lineKey(hv, attrUchLin))) {
            if (value(w, attrUchLin, "key") == value(hv, attrUchLin, "key"))
                continue;
            QVERIFY2(value(w, attrUchLin, "nyzlk") != star, qPrintable(value(w, attrUchLin, "name")));
            if (value(w, attrUchLin, "nyzln") != star)
                continue;
            ++windings;
            QCOMPARE(value(w, attrUchLin, "tip_el"), QStringLiteral("2"));
            const QStringList* wt = transformerType(value(w, attrUchLin, "kod_el"));
            QVERIFY(wt);
            // Windings carry no power of their own: the unit is counted once.
            QCOMPARE(number(*wt, attrTR, "S"), 0.0);
            QCOMPARE(number(*wt, attrTR, "Px"), 0.0);
            QCOMPARE(value(w, attrUchLin, "kbal"), value(hv, attrUchLin, "kbal"));
        }
        QCOMPARE(windings, 2);
    }
    QVERIFY(units > 0);
}

// Energies of January against the transformer's rating: the peak derived from
// the line's fill factor stays below the rated power, and the peak load given
// in MW agrees with the energy.
void TestExamples::energiesFitTheTransformers()
{
    QHash<QString, QStringList> lines;
    for (const QStringList& l : m_lines)
        lines.insert(lineKey(l, attrLin), l);

    for (const QStringList& u : m_uch) {
        if (value(u, attrUchLin, "tip_el") != "2")
            continue;
        const QStringList& line = lines[lineKey(u, attrUchLin)];
        const QString what = value(line, attrLin, "name") + ": " + value(u, attrUchLin, "name") +
                             " " + value(u, attrUchLin, "name1");
        const QStringList* type = transformerType(value(u, attrUchLin, "kod_el"));
        QVERIFY(type);
        const double wp = number(u, attrUchLin, "wp_nagr"), wq = number(u, attrUchLin, "wq_nagr");
        const double p = number(u, attrUchLin, "p_nagr"), q = number(u, attrUchLin, "q_nagr");
        if (value(u, attrUchLin, "podkt") != "0" || isHighWinding(*type)) {
            QVERIFY2(wp == 0 && wq == 0 && p == 0 && q == 0, qPrintable(what));
            continue;
        }
        QVERIFY2(wp > 0 && wq > 0 && wq < wp, qPrintable(what));

        double rated = number(*type, attrTR, "S") / 1000;   // MVA
        if (rated == 0) {   // a winding: the unit's power stands on its HV row
            for (const QStringList& hv : rowsOf(lineKey(u, attrUchLin))) {
                const QStringList* unit = transformerType(value(hv, attrUchLin, "kod_el"));
                if (unit && value(hv, attrUchLin, "nyzlk") == value(u, attrUchLin, "nyzln"))
                    rated = number(*unit, attrTR, "S") / 1000;
            }
        }
        QVERIFY2(rated > 0, qPrintable(what));
        const double hours = (kJanuaryDays - number(line, attrLin, "podkl")) * 24;
        const double kz = number(line, attrLin, "k_zapol");
        QVERIFY(kz > 0.3 && kz <= 1);
        const double peak = qSqrt(wp * wp + wq * wq) / hours / kz;
        QVERIFY2(peak < rated && peak > 0.1 * rated, qPrintable(what));
        QVERIFY2(qSqrt(p * p + q * q) < rated, qPrintable(what));
        QVERIFY2(qAbs(p * kz * hours - wp) < 0.02 * wp, qPrintable(what));
    }
}

void TestExamples::coversTheSpecialCases()
{
    QSet<QString> voltages;
    for (const QStringList& l : m_lines)
        voltages.insert(value(l, attrLin, "unom"));
    QCOMPARE(voltages, QSet<QString>({"35", "110", "220"}));

    QSet<QString> cables;
    for (const QStringList& w : m_wires) {
        if (value(w, attrL, "KL") == "1")
            cables.insert(value(w, attrL, "name"));
    }
    bool parallel = false, cable = false, consumer = false, disconnected = false,
         branching = false;
    QHash<QString, int> pairs, leaving;
    for (const QStringList& u : m_uch) {
        const QString line = lineKey(u, attrUchLin);
        const int a = number(u, attrUchLin, "nyzln"), b = number(u, attrUchLin, "nyzlk");
        const bool section = value(u, attrUchLin, "tip_el") == "1";
        if (section) {
            const QString pair = line + ":" + QString::number(qMin(a, b)) + "-" + QString::number(qMax(a, b));
            parallel |= ++pairs[pair] == 2;
            if (pairs[pair] == 1)
                branching |= ++leaving[line + ":" + QString::number(a)] == 2;
        }
        cable |= section && cables.contains(value(u, attrUchLin, "kod_el"));
        consumer |= !section && value(u, attrUchLin, "kbal") == "1";
        disconnected |= value(u, attrUchLin, "podkt") == "1";
    }
    QVERIFY(parallel);
    QVERIFY(cable);
    QVERIFY(consumer);
    QVERIFY(disconnected);
    QVERIFY(branching);
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
