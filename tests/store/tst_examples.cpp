// The example working directory, where a new user starts and what other tests
// lean on. That every example line calculates cleanly (marks known, each line
// a tree fed from its supply node) is checked with the load flow.

#include "store/readregim.h"
#include "testsupport.h"

#include <QSet>
#include <QtTest>

class TestExamples : public QObject
{
    Q_OBJECT

private slots:
    // Every table reads without a warning; every RES, line and section hangs
    // under an existing parent with codes and keys of its own; the network has
    // all three voltages, a cable, a consumer-owned transformer and a
    // disconnected section.
    void cleanLinkedAndComplete()
    {
        TempWorkDir dir;
        dir.copyExamples();
        MessageRecorder rec;
        QSet<QString> parents, voltages, keys, cables;
        for (const QStringList& w : ReadShablonXML("kat_lin", {"name", "KL"}, "Wire"))
            if (w.at(1) == "1")
                cables.insert(w.at(0));
        QVERIFY(!ReadShablonXML("kat_tr", {"name"}, "Trans").isEmpty());
        const Table pes = ReadShablonXML("pes", {"npes"}, "PES");
        const Table res = ReadShablonXML("res", {"npes", "nres"}, "RES");
        const Table lines = ReadShablonXML("lines", {"npes", "nres", "nlin", "unom"}, "LIN");
        QVERIFY(pes.size() == 1 && res.size() >= 2 && lines.size() >= 6);
        parents.insert(pes.at(0).at(0));
        for (const QStringList& row : res + lines) {
            const int n = row.size() == 2 ? 2 : 3;
            const QString codes = row.mid(0, n).join(',');
            QVERIFY2(parents.contains(row.mid(0, n - 1).join(',')) && !parents.contains(codes), qPrintable(codes));
            parents.insert(codes);
            if (n == 3)
                voltages.insert(row.at(3));
        }
        QCOMPARE(voltages, QSet<QString>({"35", "110", "220"}));

        bool cable = false, consumer = false, disconnected = false;
        for (const QStringList& u : ReadShablonXML("uch_lin", {"npes", "nres", "nlin", "key", "tip_el", "kod_el",
                                                               "kbal", "podkt"}, "UCH_LIN")) {
            const QString line = u.mid(0, 3).join(','), key = line + ":" + u.at(3);
            QVERIFY2(parents.contains(line) && u.at(3).toInt() > 0 && !keys.contains(key), qPrintable(key));
            keys.insert(key);
            const bool section = u.at(4) == "1";
            cable |= section && cables.contains(u.at(5));
            consumer |= !section && u.at(6) == "1";
            disconnected |= u.at(7) == "1";
        }
        QVERIFY(cable && consumer && disconnected);
        QCOMPARE(rec.warnings(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
