#pragma once
// Loss calculation of radial lines: the wire and transformer catalogs, the
// calculation object of one line (branch parameters, topology, load flow,
// energy losses, protocol) and the equipment summary of a line.

#include "store/readregim.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cmath>
#include <map>
#include <memory>

// A figure as a report or the display shows it: a sum or a quotient that
// overflowed shows 0, never "inf" or "nan".
inline double shown(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// ---- Catalogs -----------------------------------------------------------------

// Wire and cable catalog: parallel columns, one entry per row of "kat_lin".
struct KatalogLines
{
    QVector<double> S;       // cross-section, mm²
    QVector<double> R0;      // Ohm/km
    QVector<double> X0;      // Ohm/km (110 kV value)
    QVector<double> B0;      // µS/km (110 kV value or its default)
    QVector<double> ins35;   // cable insulation loss per km at 35 kV (0 for overhead)
    QVector<double> ins110;
    QVector<double> ins220;
    QVector<int> KL;         // 1 = cable
    QVector<int> Material;   // 1 aluminium, 2 copper, 3 steel
    QVector<int> Imax;       // permissible current, A (or its default)
    QHash<QString, int> index;  // type name -> position (the last row of a name)
};

struct LoadKatalogLines : KatalogLines
{
    LoadKatalogLines();                            // reads "kat_lin"
    explicit LoadKatalogLines(const Table& rows);  // rows already read with attrL
};

// Transformer catalog: one entry per taken row of "kat_tr".
struct KatalogTrans
{
    QVector<double> S;      // kVA
    QVector<double> R;      // Ohm
    QVector<double> X;      // Ohm
    QVector<double> Px;     // kW
    QVector<double> Qx;     // kvar
    QVector<double> uvn;    // kV
    QVector<double> unn;    // kV
    QVector<double> u_otv;  // % per tap
    QVector<int> n_otp;     // taps each way
    QHash<QString, int> index;
};

struct LoadKatalogTrans : KatalogTrans
{
    // U = 0 takes every type, otherwise those with 0.8·U < unom < 1.2·U.
    explicit LoadKatalogTrans(double U);                   // reads "kat_tr"
    LoadKatalogTrans(const Table& rows, double U);         // rows read with attrTR
};

// The catalogs of a run over many lines, converted once: the wires at once,
// the transformers once for each rated voltage a line asks for.
class CatalogCache
{
public:
    CatalogCache(const Table& katLin, const Table& katTr);

    const KatalogLines& wires() const { return m_wires; }
    const KatalogTrans& trans(double U);

private:
    LoadKatalogLines m_wires;
    Table m_katTr;
    std::map<double, LoadKatalogTrans> m_trans;
};

// ---- Tables of one run ------------------------------------------------------------

// The four tables a calculation needs. A run over a RES or PES reads them once
// and hands them to every line's calculation object.
struct CalcTables
{
    Table lines;     // "lines", attrLin
    Table sections;  // "uch_lin", attrUchLin
    Table katLin;    // "kat_lin", attrL
    Table katTr;     // "kat_tr", attrTR
    // Section rows by "npes,nres,nlin", so that a line finds its rows without
    // scanning the whole table.
    QHash<QString, QVector<int>> sectionsByLine;
    // Set by a run over many lines and shared by each line's copy of the
    // tables; without it a calculation converts katLin and katTr itself.
    std::shared_ptr<CatalogCache> catalogs;
    // A read met an XML error or could not be read, or a catalog is empty
    // while sections name marks of its kind: no figure may come of these
    // tables. The reader (or read()) has warned.
    bool damaged = false;

    static CalcTables read();
    void indexSections();
};

// ---- Calculation object of one line ---------------------------------------------

class CalcRadial
{
public:
    CalcRadial();
    ~CalcRadial();
    CalcRadial(const CalcRadial&) = delete;
    CalcRadial& operator=(const CalcRadial&) = delete;

    // Calculates every line of the current PES and RES with the code nlin.
    // mode 0: totals; 1: totals, protocol and summary report; 2: display values.
    int CalcUR(QString nlin, int mode, int show, int writeLog);

    // Hands over tables already read; CalcUR then reads no file.
    void setTables(const CalcTables& tables);

    // ---- results and settings of a call ----
    QStringList m_htmlRows;      // loss summary of the line (mode 1)
    QStringList m_headCells;     // 14 header cells of the protocol table
    QStringList m_messages;
    QStringList m_lineKeys;
    QVector<QString> m_nodeNames;  // "0" for the supply, then one per row
    QVector<QString> m_branchKeys; // "key" of every row of the line
    QStringList m_branchLabels;    // per branch: "begin -end"
    QVector<double> m_U, m_dU, m_I, m_Kz, m_P, m_Q, m_dP, m_dQ, m_Pxx, m_Qxx,
        m_W, m_Wq, m_dW, m_dWq, m_Wxx, m_Wqxx;
    QVector<int> m_branchCable;    // per branch: "KL" of its wire
    QVector<double> m_branchS;     // per branch: mm² or kVA
    QVector<int> m_rowCable;       // per row, aligned with the display vectors
    QVector<double> m_rowS;        // per row, aligned with the display vectors
    QVector<double> m_totals;
    QString m_lineName;
    QString m_lineTitle;
    int m_showReport;
    int m_errorCount;
    double m_Unom, m_Umin, m_Umax;
    double m_kZapol;
    int m_nTotals;
    QStringList m_protocolRows;    // the protocol table of the last line (modes 1, 2)

    // ---- line input: all rows of the line, in file order ----
    int m_sectionCount = 0;
    QStringList m_secPodkt;
    QVector<double> m_secDl;
    QVector<int> m_secNyzln, m_secNyzlk;
    QVector<int> m_secTipEl;
    QVector<int> m_secNotv;
    QStringList m_secKodEl, m_secName, m_secKbal, m_secKey;
    QVector<int> m_secInService;   // position among the rows in service, or -1

    // ---- line input: rows in service ----
    QVector<double> m_inDl, m_inP, m_inQ, m_inWp, m_inWq;
    QVector<int> m_inNyzln, m_inNyzlk, m_inTipEl, m_inNotv;
    QStringList m_inKodEl, m_inName, m_inKbal, m_inKey;
    QVector<int> m_inBranch;       // branch each row in service went into

    // ---- load points (one per transformer in service) ----
    int m_nLoads = 0;
    QVector<double> m_ldP, m_ldQ, m_ldPx, m_ldQx;
    QVector<int> m_ldNode, m_ldBranch;
    QStringList m_ldOwner;

    // ---- branches ----
    int m_nBranches = 0;
    QVector<int> m_brBegin, m_brEnd, m_brCircuits;
    QVector<double> m_brR, m_brX, m_brB, m_brRatio, m_brUrated, m_brIns;
    QVector<char> m_brTrans;
    QStringList m_brOwner;
    double m_Etr = 0.0;

    // ---- nodes ----
    int m_nNodes = 0;
    QMap<int, int> m_nodeSet;      // node number -> position
    QVector<int> m_nodeNum, m_nodeFirst, m_nodeDegree, m_nodeLevel, m_nodeParent,
        m_nodeFeed;
    QVector<int> m_adjNode, m_adjBranch;
    QVector<int> m_levelStart, m_levelNodes;  // nodes of level L: [start[L], start[L+1])
    QVector<int> m_brFedNode;      // node fed through each branch, or -1
    int m_levelBound = -1;
    QVector<double> m_nodeLoadP, m_nodeLoadQ, m_nodePx, m_nodeQx, m_nodeU;
    QStringList m_nodeOwner;

    // ---- per-node results of the flow ----
    QVector<double> m_fP, m_fQ, m_fdPmax, m_fdQ, m_fdW, m_fdWq, m_fPxx, m_fQxx,
        m_fWxx, m_fWqxx, m_fWins, m_fW, m_fWq;

    // ---- quantities of the current line ----
    int m_method = 0;        // 1 maximum-loss method, else mean-load method
    double m_kt = 1.0, m_T = 0.0, m_Tw = 0.0, m_kz = 1.0, m_kmax = 1.0, m_c = 1.0,
           m_F = 1.0, m_Tloss = 0.0, m_U0 = 0.0;
    int m_state = 0;         // 0 converged, 1 not converged, 2 collapsed
    int m_passes = 0;
    double m_sumNlDp = 0.0;  // Σ(nl + dP) over the nodes of the last pass

    // ---- steps (public so that each can be checked alone) ----
    // Takes the rows of line nlin from the section table.
    void VvodLine(const QString& nlin, const Table& sections, const QVector<int>* rows = nullptr);
    // Branches and load points of the rows in service.
    void ParamBranches(const KatalogLines& wires, const KatalogTrans& trans);
    // Node list, adjacency, levels; returns the level bound, sets error on a ring.
    int CheckTopology(bool& error);

private:
    void calcLine(const QStringList& line, const QString& nlin, int mode);
    void runFlowAndTotals(int mode);
    void branchResults(int mode);
    void summaryReport();
    void writeErrorLog();

    QString m_titleName;   // the line's name with its "sost" suffix

    bool m_haveTables = false;
    CalcTables m_tables;

    const QString m_spanBold;
    const QString m_cellStart;
    const QString m_headStart;
    const QString m_cellEnd;
};

// ---- Equipment summary of one line ------------------------------------------------

class ParamU_Lin
{
public:
    explicit ParamU_Lin(QString nlin);
    // The same from tables already read (a report over many lines reads once).
    ParamU_Lin(const QString& nlin, const Table& sections, const KatalogLines& wires,
               const KatalogTrans& trans);

    QVector<QVector<double>> LinRows;  // 13 values per cross-section group, then a total row
    QVector<QVector<double>> TrRows;   // 9 values per rated-power group, then a total row
    QVector<double> SumAll;            // 10 totals, all elements
    QVector<double> SumBal;            // the same on the network company's balance

private:
    void build(const QString& nlin, const Table& sections, const KatalogLines& wires,
               const KatalogTrans& trans);
};
