#pragma once
// What the calculation tests share: a line over the catalog entries they name, comparisons, report bodies,
// and per test function (made in init()) the globals put back, a work directory and a message recorder.

#include "calcglobals.h"
#include "calcnetwork.h"
#include "store/SaveInfo.h"
#include "testsupport.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

const QString heading = QStringLiteral("--------------------- Л --------------------- ");

inline bool near(double a, double b, double rel = 1e-7) { return std::abs(a - b) <= rel * std::abs(b); }

inline bool allFinite(const QVector<double>& v) { return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); }); }

// Line "Л" (code 1) over the catalog entries the cases name: W, 120 mm² with next to no charging;
// AC-95 (0.306 + j0.421 Ohm/km, 2.7 µS/km); Т-1, 10 MVA of R 10 Ohm, X 100 Ohm, Px 14 kW, Qx 70 kvar.
inline TestNetwork network(double unom = 110, double umax = 0, const QString& kZapol = "0.5", const QString& method = "0")
{
    TestNetwork net;
    net.addWire("W", "120", "0", "0.25", "0.4", "0.000001", "", "1");
    net.addWire("АС-95/16", "95", "0", "0.306", "0.421", "2.7", "330", "1");
    net.addWire("А-70", "70", "0", "0.43", "0.44");
    net.addWire("К-240", "240", "1", "0.125", "0.11", "", "", "1");
    net.addTransType("Т-1", "110", "10000", "10", "100", "14", "70", "0", "0", "0", "0");
    net.addTransType("ТДН-10000/110", "110", "10000", "7.95", "139", "14", "70", "1.78", "9", "115", "11");
    net.addTransType("ТБН", "110", "2500", "10", "200", "5", "20", "1.5", "9", "0", "11");
    for (const char* u : {"35", "110"})
        net.addTransType(QString("Ideal") + u, u, "40000", "0", "0", "0", "0", "0", "0", "0", "0");
    net.addTransType("Транзит", "110", "0", "0", "0", "0", "0", "0", "0", "0", "0");
    net.addTransType("ТДТН-В", "35", "25000", "0.01", "0.1", "0", "0", "0", "0", "35", "35");
    net.addTransType("ТДТН-Н", "35", "0", "0.01", "0.1", "0", "0", "0", "0", "35", "10");
    net.addLine("1", "Л", unom, umax, umax, kZapol, method);
    return net;
}

const QString STYLE = QStringLiteral("<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; background-color: #FFFFFF'>");
const QString TABLE = QStringLiteral("align='center' width='100%' cellspacing='0' cellpadding ='2'>");

// The body of a report: what follows the frame's style line, up to the page end.
inline QString reportBody(const QString& name)
{
    QFile file(reportFilePath(name));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    return text.mid(text.indexOf(STYLE) + STYLE.size()).chopped(QStringLiteral("</body></html>\n").size());
}

struct CalcCase
{
    CalcCase() { resetCalcGlobals(); }
    TempWorkDir dir;
    MessageRecorder recorder;
};
