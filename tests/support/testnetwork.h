#pragma once
// A small network built in code: the line, section and catalog tables of one
// RES, written into the test's working directory or handed over as tables.

#include "store/readregim.h"

#include <QString>
#include <QStringList>

class TestNetwork
{
public:
    Table lines, sections, katLin, katTr;
    QString npes = QStringLiteral("1");
    QString nres = QStringLiteral("1");

    static void set(QStringList& row, const QStringList& names, const QString& name,
                    const QString& value)
    {
        const int i = names.indexOf(name);
        Q_ASSERT(i >= 0);
        row[i] = value;
    }

    static QStringList blank(const QStringList& names)
    {
        QStringList row;
        for (int i = 0; i < names.size(); ++i)
            row.append(QString());
        return row;
    }

    // A line with 30 days in service, unom/umax/umin as given, mean-load method.
    QStringList& addLine(const QString& nlin, const QString& name, double unom = 110,
                         double umax = 0, double umin = 0, const QString& kZapol = "0.5",
                         const QString& method = "0")
    {
        QStringList row = blank(attrLin);
        set(row, attrLin, "npes", npes);
        set(row, attrLin, "nres", nres);
        set(row, attrLin, "nlin", nlin);
        set(row, attrLin, "name", name);
        set(row, attrLin, "podkl", "0");
        set(row, attrLin, "unom", QString::number(unom));
        set(row, attrLin, "umax", QString::number(umax > 0 ? umax : unom));
        set(row, attrLin, "umin", QString::number(umin > 0 ? umin : unom));
        set(row, attrLin, "k_zapol", kZapol);
        set(row, attrLin, "k_for", "1");
        set(row, attrLin, "sost", "0");
        set(row, attrLin, "ind_graf", "0");
        set(row, attrLin, "vid_ras", method);
        lines.append(row);
        return lines.last();
    }

    void setLine(const QString& nlin, const QString& name, const QString& value)
    {
        for (QStringList& row : lines) {
            if (row.at(2) == nlin)
                set(row, attrLin, name, value);
        }
    }

    // A line section ("tip_el" 1) in service, on the company's balance.
    QStringList& addSection(const QString& nlin, int from, int to, const QString& mark,
                            double dl, const QString& kbal = "0")
    {
        return addRow(nlin, from, to, "1", mark, QString::number(dl, 'f', 3), kbal);
    }

    // A transformer ("tip_el" 2) with its loads (MW/Mvar and MWh/Mvarh).
    QStringList& addTrans(const QString& nlin, int from, int to, const QString& mark,
                          double p = 0, double q = 0, double wp = 0, double wq = 0,
                          const QString& kbal = "0", int tap = 0)
    {
        QStringList& row = addRow(nlin, from, to, "2", mark, "0", kbal);
        set(row, attrUchLin, "n_otv", QString::number(tap));
        set(row, attrUchLin, "p_nagr", QString::number(p, 'g', 12));
        set(row, attrUchLin, "q_nagr", QString::number(q, 'g', 12));
        set(row, attrUchLin, "wp_nagr", QString::number(wp, 'g', 12));
        set(row, attrUchLin, "wq_nagr", QString::number(wq, 'g', 12));
        return row;
    }

    void addWire(const QString& name, const QString& S, const QString& KL, const QString& R,
                 const QString& X, const QString& B = "", const QString& Imax = "",
                 const QString& material = "1")
    {
        katLin.append({name, S, KL, R, X, B, Imax, material});
    }

    void addTransType(const QString& name, const QString& unom, const QString& S,
                      const QString& R, const QString& X, const QString& Px,
                      const QString& Qx, const QString& uotv, const QString& notp,
                      const QString& uvn, const QString& unn)
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
    QStringList& addRow(const QString& nlin, int from, int to, const QString& tip,
                        const QString& mark, const QString& dl, const QString& kbal)
    {
        QStringList row = blank(attrUchLin);
        set(row, attrUchLin, "npes", npes);
        set(row, attrUchLin, "nres", nres);
        set(row, attrUchLin, "nlin", nlin);
        set(row, attrUchLin, "name", QStringLiteral("Участок %1-%2").arg(from).arg(to));
        set(row, attrUchLin, "nyzln", QString::number(from));
        set(row, attrUchLin, "nyzlk", QString::number(to));
        set(row, attrUchLin, "tip_el", tip);
        set(row, attrUchLin, "kod_el", mark);
        set(row, attrUchLin, "dl", dl);
        set(row, attrUchLin, "n_otv", "0");
        for (const char* load : {"p_nagr", "q_nagr", "wp_nagr", "wq_nagr"})
            set(row, attrUchLin, load, "0");
        set(row, attrUchLin, "kbal", kbal);
        set(row, attrUchLin, "podkt", "0");
        set(row, attrUchLin, "key", QString::number(sections.size() + 1));
        sections.append(row);
        return sections.last();
    }
};
