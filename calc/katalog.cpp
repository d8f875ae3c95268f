#include "zorvantask.h"

#include "store/messages.h"
#include "store/numbers.h"

#include <QFileInfo>

namespace {

// Cable insulation losses by cross-section class; a table value over 24000
// gives the loss per km.
const int kSectionBounds[11] = {80, 100, 130, 160, 200, 250, 320, 420, 520, 650, 2000};
const double kIns35[11] = {11.1, 12.2, 12.8, 14.4, 15.0, 17.0, 19.5, 21.0, 22.0, 22.0, 24.0};
const double kIns110[11] = {71.0, 72.0, 72.9, 74.0, 79.7, 88.8, 96.4, 102.5, 122.0, 135.0, 160.0};
const double kIns220[11] = {150.0, 160.0, 170.0, 180.0, 190.0, 200.0, 219.0, 247.0, 274.0, 296.0, 329.0};

double number(const QStringList& row, int i)
{
    return toNumber(row.value(i));
}

// "KL", "Imax" and "Material" are whole numbers; "1.0" or "" reads as 0.
int integer(const QStringList& row, int i)
{
    return toInteger(row.value(i));
}

} // namespace

LoadKatalogLines::LoadKatalogLines()
    : LoadKatalogLines(ReadShablonXML(QStringLiteral("kat_lin"), attrL, QStringLiteral("Wire")))
{
}

LoadKatalogLines::LoadKatalogLines(const Table& rows)
{
    // attrL: name, S, KL, R, X, B, Imax, Material
    const int n = rows.size();
    for (QVector<double>* v : {&S, &R0, &X0, &B0, &ins35, &ins110, &ins220})
        v->reserve(n);
    for (int pos = 0; pos < n; ++pos) {
        const QStringList& row = rows.at(pos);
        index.insert(row.value(0), pos);
        const double s = number(row, 1);
        const int kl = integer(row, 2);
        double b = number(row, 5);
        int imax = integer(row, 6);
        const int material = integer(row, 7);
        S.append(s);
        KL.append(kl);
        Material.append(material);
        R0.append(number(row, 3));
        X0.append(number(row, 4));
        if (b == 0.0)
            b = kl == 1 ? 75.0 : 2.6;
        B0.append(b);
        if (imax == 0) {
            // A cross-section no wire has gives no current rather than an overflow.
            imax = clampedInt(3.0 * s);
            if (material == 2)
                imax = clampedInt(1.3 * imax);
            if (kl == 1)
                imax = clampedInt(s > 270.0 ? 1.5 * s : 2.0 * s);
        }
        Imax.append(imax);
        if (kl != 1) {
            ins35.append(0.0);
            ins110.append(0.0);
            ins220.append(0.0);
            continue;
        }
        // Above the last bound there is no class; such a cable takes the
        // largest class rather than none, so it is not counted as lossless.
        int k = 10;
        for (int c = 0; c < 11; ++c) {
            if (kSectionBounds[c] > s) {
                k = c;
                break;
            }
        }
        ins35.append(kIns35[k] / 24000.0);
        ins110.append(kIns110[k] / 24000.0);
        ins220.append(kIns220[k] / 24000.0);
    }
}

LoadKatalogTrans::LoadKatalogTrans(double U)
    : LoadKatalogTrans(ReadShablonXML(QStringLiteral("kat_tr"), attrTR, QStringLiteral("Trans")), U)
{
}

LoadKatalogTrans::LoadKatalogTrans(const Table& rows, double U)
{
    // attrTR: name, unom, S, R, X, Px, Qx, u_otv, n_otp, uvn, unn
    for (const QStringList& row : rows) {
        if (U != 0.0) {
            const double unom = number(row, 1);
            if (!(unom > 0.8 * U && unom < 1.2 * U))
                continue;
        }
        index.insert(row.value(0), S.size());
        S.append(number(row, 2));
        R.append(number(row, 3));
        X.append(number(row, 4));
        Px.append(number(row, 5));
        Qx.append(number(row, 6));
        u_otv.append(number(row, 7));
        n_otp.append(toWholeNumber(row.value(8)));
        uvn.append(number(row, 9));
        unn.append(number(row, 10));
    }
}

CatalogCache::CatalogCache(const Table& katLin, const Table& katTr)
    : m_wires(katLin)
    , m_katTr(katTr)
{
}

const KatalogTrans& CatalogCache::trans(double U)
{
    auto it = m_trans.find(U);
    if (it == m_trans.end())
        it = m_trans.emplace(U, LoadKatalogTrans(m_katTr, U)).first;
    return it->second;
}

CalcTables CalcTables::read()
{
    CalcTables t;
    bool failed[4] = {false, false, false, false};
    t.lines = ReadShablonXML(QStringLiteral("lines"), attrLin, QStringLiteral("LIN"), &failed[0]);
    t.sections = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"),
                                &failed[1]);
    t.katLin = ReadShablonXML(QStringLiteral("kat_lin"), attrL, QStringLiteral("Wire"), &failed[2]);
    t.katTr = ReadShablonXML(QStringLiteral("kat_tr"), attrTR, QStringLiteral("Trans"), &failed[3]);
    t.damaged = failed[0] || failed[1] || failed[2] || failed[3];
    if (t.damaged)
        return t;

    // An empty catalog while the sections name marks of its kind has been
    // lost, not emptied on purpose: every mark would count as unknown and
    // the totals would look right and be wrong.
    bool needWires = false, needTrans = false;
    for (const QStringList& row : qAsConst(t.sections)) {
        if (row.value(8).isEmpty())   // kod_el
            continue;
        (toInteger(row.value(7)) == 2 ? needTrans : needWires) = true;   // tip_el
    }
    const auto lost = [](const Table& catalog, bool needed, const QString& file) {
        if (!needed || !catalog.isEmpty())
            return false;
        // The reader has already reported a missing file.
        const QString path = ZORVAN_PATH + file;
        if (QFileInfo::exists(path))
            ShowWarning(QStringLiteral("Предупреждение"), "Пустая таблица -" + path);
        return true;
    };
    const bool noWires = lost(t.katLin, needWires, QStringLiteral("kat_lin.xml"));
    const bool noTrans = lost(t.katTr, needTrans, QStringLiteral("kat_tr.xml"));
    t.damaged = noWires || noTrans;
    t.indexSections();
    return t;
}

void CalcTables::indexSections()
{
    sectionsByLine.clear();
    for (int r = 0; r < sections.size(); ++r) {
        const QStringList& row = sections.at(r);
        if (row.size() < 3)
            continue;
        sectionsByLine[row.at(0) + QLatin1Char(',') + row.at(1) + QLatin1Char(',') + row.at(2)]
            .append(r);
    }
}
