// The example working directory, where a new user starts and what other tests
// lean on: clean tables, complete links, known marks, every line a tree.

#include "store/readregim.h"
#include "testsupport.h"

#include <QHash>
#include <QSet>
#include <QtTest>

namespace {

QString value(const QStringList& row, const char* name)
{
    return row.value(attrUchLin.indexOf(QLatin1String(name)));
}

// "npes,nres[,nlin]": the leading codes of a row.
QString codes(const QStringList& row, int count = 3)
{
    return row.mid(0, count).join(',');
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_dir.copyExamples();
        MessageRecorder rec;   // an XML error would warn too
        m_pes = ReadShablonXML("pes", attrPES, "PES");
        m_res = ReadShablonXML("res", attrRES, "RES");
        m_lines = ReadShablonXML("lines", attrLin, "LIN");
        m_uch = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        for (const QStringList& w : ReadShablonXML("kat_lin", attrL, "Wire"))
            m_wires.insert(w.at(0), w.at(2) == "1");
        for (const QStringList& t : ReadShablonXML("kat_tr", attrTR, "Trans"))
            m_trans.insert(t.at(0));
        QCOMPARE(rec.warnings(), QStringList());
        QVERIFY(m_pes.size() == 1 && m_res.size() >= 2 && m_lines.size() >= 6);
    }

    // Every RES, line and row hangs under an existing parent; codes and keys
    // are unique; every mark is in its catalog; the special cases are there.
    void linkedAndComplete()
    {
        QSet<QString> parents{codes(m_pes.at(0), 1)}, sectionKeys, voltages;
        for (const Table* table : {&m_res, &m_lines}) {
            const int count = table == &m_res ? 2 : 3;
            for (const QStringList& row : *table) {
                QVERIFY2(parents.contains(codes(row, count - 1)), qPrintable(row.at(count)));
                QVERIFY2(!parents.contains(codes(row, count)), qPrintable(row.at(count)));
                parents.insert(codes(row, count));
                if (count == 3)
                    voltages.insert(row.at(attrLin.indexOf("unom")));
            }
        }
        QCOMPARE(voltages, QSet<QString>({"35", "110", "220"}));
        QHash<QString, int> pairs, degree;   // section branches of each line, their nodes
        bool cable = false, consumer = false, disconnected = false;
        for (const QStringList& u : m_uch) {
            const QString key = codes(u) + ":" + value(u, "key");
            QVERIFY2(parents.contains(codes(u)) && value(u, "key").toInt() > 0, qPrintable(key));
            QVERIFY2(!sectionKeys.contains(key), qPrintable(key));
            sectionKeys.insert(key);
            const QString mark = value(u, "kod_el");
            const bool section = value(u, "tip_el") == "1";
            QVERIFY2(section ? m_wires.contains(mark) : m_trans.contains(mark), qPrintable(mark));
            const int a = value(u, "nyzln").toInt(), b = value(u, "nyzlk").toInt();
            if (section && ++pairs[codes(u) + QString(":%1-%2").arg(qMin(a, b)).arg(qMax(a, b))] == 1) {
                ++degree[codes(u) + ":" + QString::number(a)];
                ++degree[codes(u) + ":" + QString::number(b)];
            }
            cable |= section && m_wires.value(mark);
            consumer |= !section && value(u, "kbal") == "1";
            disconnected |= value(u, "podkt") == "1";
        }
        const auto values = [](const QHash<QString, int>& h) { return QSet<int>(h.begin(), h.end()); };
        QVERIFY(values(pairs).contains(2));    // a double-circuit pair
        QVERIFY(values(degree).contains(3));   // a branching
        QVERIFY(cable && consumer && disconnected);
    }

    // As the calculation sees a line: rows in service, parallel sections one
    // branch; from node 0 every node is reached, and there is no ring.
    void linesAreTreesFromOneSupplyNode()
    {
        for (const QStringList& l : m_lines) {
            QHash<int, QSet<int>> next;
            for (const QStringList& u : m_uch) {
                if (codes(u) == codes(l) && value(u, "podkt") == "0") {
                    const int a = value(u, "nyzln").toInt(), b = value(u, "nyzlk").toInt();
                    next[a].insert(b);
                    next[b].insert(a);
                }
            }
            QVERIFY2(next.value(0).size() == 1, qPrintable(l.at(3)));
            QSet<int> seen{0};
            QList<int> queue{0};
            int ends = 0;   // twice the branches
            while (!queue.isEmpty()) {
                const QSet<int> onward = next.value(queue.takeFirst());
                ends += onward.size();
                for (int v : onward) {
                    if (!seen.contains(v))
                        queue.append(v);
                    seen.insert(v);
                }
            }
            QVERIFY2(seen.size() == next.size() && ends == 2 * (next.size() - 1), qPrintable(l.at(3)));
        }
    }

private:
    TempWorkDir m_dir;
    Table m_pes, m_res, m_lines, m_uch;
    QHash<QString, bool> m_wires;   // mark -> is a cable
    QSet<QString> m_trans;
};

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
