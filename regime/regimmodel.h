#pragma once
// What the regime display knows of one line: its nodes and branches as the
// line-section table gives them, the results of one regime calculation taken
// over onto them by row key, and the rules that turn those values into
// colour bands and label texts. Qt Core only, so that it runs headless.

#include "store/readregim.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class CalcRadial;
struct CalcTables;

namespace Regime {

// The display's own voltage classes: 1, 4, 8, 12, 25, 50, 130, 250, 400, 2000 kV.
constexpr int kClassCount = 10;

// Index of the first bound above kv (taken as a float), 10 from 2000 kV on.
int drawingClass(double kv);

// Pen width of a line section of a drawing class; class 10 takes the last width.
double lineWidth(int drawingClass);

// Colour bands of a node's voltage against the limits of its class.
enum class NodeBand { NoValue, FarBelow, Below, Normal, Above, FarAbove };

// Colour bands of a branch's value in a line view.
enum class BranchBand { NoValue, NoCapacity, Undefined, Low, Normal, High, Overloaded };

// Display modes of the regime window.
enum Mode { Power = 0, Energy = 1, Scheme = 2 };

} // namespace Regime

class RegimModel
{
public:
    // The line, as it was current when the window opened; kept so that a
    // line entered in the tree meanwhile never reaches this display.
    QString npes, nres, nlin;
    double unom = 0.0;

    // ---- per node (index: ascending node number) ----
    QVector<double> Unom;       // nominal voltage, kV
    QVector<double> U;          // voltage shown, kV
    QStringList nodeName;       // "Узел " + number

    // ---- per branch (index: the line's rows in table order) ----
    QVector<int> vertMark;      // 0 for every branch
    QVector<int> labelX, labelY;
    QVector<int> podkt;         // 1: disconnected
    QVector<int> kbal;          // 1: a consumer's element
    QVector<int> cable;         // 1: cable section or transformer
    QStringList branchName;
    QStringList markText;
    QStringList branchKey;

    struct Display { QVector<double> P, Q, I, dP, dQ, dPxx, dQxx, dU, S, Kz; };
    struct Calculated { QVector<double> P, Q, dP, dQ, dPxx, dQxx, I, Kz, U, dU; };
    struct Energy { QVector<double> W, Wq, dW, dWq, dWxx, dWqxx; };
    Display shown;        // what labels and colours show now
    Calculated regime;    // as the calculation returned it (U per node)
    Energy energy;

    QHash<QString, int> nodeMap;    // decimal node number -> node index
    QHash<QString, int> branchMap;  // key -> branch index (the later row of a key)

    // Takes the current selection (NPES, NRES, NLIN, UNOM) as this model's line.
    RegimModel();

    int nodeCount() const { return nodeName.size(); }
    int branchCount() const { return branchKey.size(); }

    // Fills the nodes and branches from the rows of the line-section table.
    void ReadModel(const Table& sections);
    // Runs the line's calculation in display mode on tables already read and
    // takes its results over; the caller makes this line the current one.
    // 0 on success, 1 when no regime was calculated.
    int ReadRegim_(const CalcTables& tables);
    // Takes the results of a finished calculation over; 1 when it holds none.
    int takeRegime(const CalcRadial& calc);
    // Shown values: 0 power and power losses, 1 energies; others change nothing.
    void ChangeVal(int mode);

    // ---- colour rules ----
    Regime::NodeBand nodeBand(int node) const;
    // Of a line section or a transformer winding; lineView: 0 loading,
    // 1 voltage drop, 2 active losses.
    Regime::BranchBand branchBand(int branch, int lineView, bool transformer) const;

    // ---- label texts ----
    // Nothing (an empty list) for an index outside the line.
    QStringList busText(int node, int mode) const;
    QStringList lineText(int branch, int mode, const QStringList& params) const;
    QStringList transText(int branch, int mode, const QStringList& params) const;
    // Vertical offset of a line-section label: up 10 for each of "ITK" and "DP".
    static int lineTextOffset(int mode, const QStringList& params);

private:
    QStringList branchTexts(int branch, int mode, const QStringList& params, int nameLength,
                            bool noLoadLine) const;
};
