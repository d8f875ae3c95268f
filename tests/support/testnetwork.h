#pragma once
// A small network built in code: the line, section and catalog tables of one
// RES, written into the test's working directory or handed over as tables.

#include "store/readregim.h"

class TestNetwork
{
public:
    Table lines, sections, katLin, katTr;
    QString npes = QStringLiteral("1");
    QString nres = QStringLiteral("1");

    static void set(QStringList& row, const QStringList& names, const QString& name, const QString& value)
    {
        Q_ASSERT(names.contains(name));
        row[names.indexOf(name)] = value;
    }

    // A line with 30 days in service, unom/umax/umin as given, mean-load method.
    // Columns as in attrLin: codes, name, dnlin, podkl, voltages, tg_lin,
    // k_zapol, k_for, k_free, sost, v_lin, ind_graf, vid_ras.
    QStringList& addLine(const QString& nlin, const QString& name, double unom = 110, double umax = 0,
                         double umin = 0, const QString& kZapol = "0.5", const QString& method = "0")
    {
        lines.append({npes, nres, nlin, name, "", "0", QString::number(unom),
                      QString::number(umax > 0 ? umax : unom), QString::number(umin > 0 ? umin : unom), "",
                      kZapol, "1", "", "0", "", "0", method});
        return lines.last();
    }

    void setLine(const QString& nlin, const QString& name, const QString& value)
    {
        for (QStringList& row : lines)
            if (row.at(2) == nlin)
                set(row, attrLin, name, value);
    }

    // A line section ("tip_el" 1) in service, on the company's balance.
    QStringList& addSection(const QString& nlin, int from, int to, const QString& mark, double dl,
                            const QString& kbal = "0")
    {
        return addRow(nlin, from, to, "1", mark, QString::number(dl, 'f', 3), kbal);
    }

    // A transformer ("tip_el" 2) with its loads (MW/Mvar and MWh/Mvarh).
    QStringList& addTrans(const QString& nlin, int from, int to, const QString& mark, double p = 0,
                          double q = 0, double wp = 0, double wq = 0, const QString& kbal = "0", int tap = 0)
    {
        QStringList loads{QString::number(tap)};
        for (double load : {p, q, wp, wq})
            loads.append(QString::number(load, 'g', 12));
        return addRow(nlin, from, to, "2", mark, "0", kbal, loads);
    }

    void addWire(const QString& name, const QString& S, const QString& KL, const QString& R, const QString& X,
                 const QString& B = "", const QString& Imax = "", const QString& material = "1")
    {
        katLin.append({name, S, KL, R, X, B, Imax, material});
    }

    void addTransType(const QString& name, const QString& unom, const QString& S, const QString& R,
                      const QString& X, const QString& Px, const QString& Qx, const QString& uotv,
                      const QString& notp, const QString& uvn, const QString& unn)
    {
        katTr.append({name, unom, S, R, X, Px, Qx, uotv, notp, uvn, unn});
    }

    // Writes the four tables into the working directory (ZORVAN_PATH).
    void write() const
    {
        saveShablonXMLAllowEmpty("lines", attrLin, "LIN", "net110_LIN", lines);
        saveShablonXMLAllowEmpty("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", sections);
        saveShablonXMLAllowEmpty("kat_lin", attrL, "Wire", "net110_WireInfo", katLin);
        saveShablonXMLAllowEmpty("kat_tr", attrTR, "Trans", "net10_TransInfo", katTr);
    }

private:
    // Columns as in attrUchLin: codes, name, name1, nodes, tip_el, kod_el,
    // dl, n_otv and the four loads, kbal, podkt, key.
    QStringList& addRow(const QString& nlin, int from, int to, const QString& tip, const QString& mark,
                        const QString& dl, const QString& kbal, const QStringList& loads = {"0", "0", "0", "0", "0"})
    {
        sections.append(QStringList{npes, nres, nlin, QStringLiteral("Участок %1-%2").arg(from).arg(to), "",
                                    QString::number(from), QString::number(to), tip, mark, dl}
                        + loads + QStringList{kbal, "0", QString::number(sections.size() + 1)});
        return sections.last();
    }
};
