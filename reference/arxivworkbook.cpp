#include "arxivworkbook.h"

#include "calc/zorvantask.h"
#include "store/SaveInfo.h"
#include "store/numbers.h"
#include "store/readregim.h"
#include "store/workbook.h"

#include <cmath>

namespace {

using xlsx::Border;
using xlsx::Format;

enum ArxCol { aId, aName, aLenerp, aEnerSob, aEnerStor, aL, aT, aN, aX, aI, aXX, aAll };

// Which sides of a cell carry a thin rule.
enum Rule { Side, SideBottom, Under, UnderLeft, UnderRight, Over };

struct HeaderCell
{
    const char* text;
    Rule rule;
};

const int kHeaderRow = 6;
const int kFirstDataRow = 9;
const QString kNoFill;
const QString kHeaderFill = QStringLiteral("#FFFFFF");

// Row kinds by id, tested in this order: the total, a voltage class, a RES
// of a PES result, a line.
struct RowKind
{
    QString fill;
    bool bold;
};

RowKind rowKind(const QString& id)
{
    if (id == QLatin1String("SUM"))
        return {QStringLiteral("#AADDAA"), true};
    if (id.contains(QLatin1String("kV")))
        return {QStringLiteral("#EEDDAA"), true};
    if (id.contains(QLatin1Char('B')))
        return {QStringLiteral("#DDFFEE"), true};
    return {QStringLiteral("#FFFFFF"), false};
}

Format ruled(Rule rule, bool bold = true, const QString& fill = kNoFill)
{
    Format format;
    format.setHorizontalAlignment(xlsx::Align::Center);
    format.setFontBold(bold);
    format.setPatternBackgroundColor(fill);
    const bool left = rule == Side || rule == SideBottom || rule == UnderLeft;
    const bool right = rule == Side || rule == SideBottom || rule == UnderRight;
    const bool bottom = rule == SideBottom || rule == Under || rule == UnderLeft || rule == UnderRight;
    format.setLeftBorderStyle(left ? Border::Thin : Border::None);
    format.setRightBorderStyle(right ? Border::Thin : Border::None);
    format.setBottomBorderStyle(bottom ? Border::Thin : Border::None);
    format.setTopBorderStyle(rule == Over ? Border::Thin : Border::None);
    return format;
}

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// A value in per cent of the row's supply, two decimals; 0 without supply.
double share(double value, double supply)
{
    return supply > 0.0 ? rounded(value / (0.01 * supply), 2) : 0.0;
}

// Writes one sheet's cells, remembering whether every write succeeded.
class SheetWriter
{
public:
    explicit SheetWriter(xlsx::Document& doc) : m_doc(doc) {}

    void sheet(const QString& name, const QVector<double>& widths)
    {
        m_ok = m_doc.addSheet(name) && m_doc.selectSheet(name) && m_ok;
        for (int c = 0; c < widths.size(); ++c)
            m_ok = m_doc.setColumnWidth(c + 1, widths.at(c)) && m_ok;
    }
    void text(int row, int column, const QString& text, const Format& format)
    {
        m_ok = m_doc.write(row, column, text, format) && m_ok;
    }
    // A sum or quotient that overflowed shows 0, as in the reports.
    void number(int row, int column, double value, const Format& format)
    {
        m_ok = m_doc.write(row, column, shown(value), format) && m_ok;
    }
    // Empty cells carrying a rule across columns first..last.
    void rule(int row, int first, int last, Rule rule)
    {
        for (int c = first; c <= last; ++c)
            text(row, c, QString(), ruled(rule));
    }
    // Title rows 1, 3 and 4 and the rule of row 5 over columns 2..last.
    void title(const QStringList& names, const QString& periodText, int last)
    {
        Format big;
        big.setFontSize(18);
        Format middle;
        middle.setFontSize(14);
        Format small;
        small.setFontSize(12);
        QString objects;
        for (const QString& name : names)
            objects += " " + name;
        text(1, 2, QStringLiteral("Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН"), big);
        text(3, 3, "Расчет потерь электроэнергии (архив) " + objects, middle);
        text(4, 3, "Расчетный период: " + periodText, small);
        rule(5, 2, last, Under);
    }
    // Header rows 6 to 8 from column 2; side cells take fill.
    void header(const QVector<QVector<HeaderCell>>& rows, const QString& fill)
    {
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows.at(r).size(); ++c) {
                const HeaderCell& cell = rows.at(r).at(c);
                const bool side = cell.rule == Side || cell.rule == SideBottom;
                text(kHeaderRow + r, c + 2, QString::fromUtf8(cell.text), ruled(cell.rule, true, side ? fill : kNoFill));
            }
        }
    }
    bool ok() const { return m_ok; }

private:
    xlsx::Document& m_doc;
    bool m_ok = true;
};

QVector<double> values(const QStringList& row)
{
    QVector<double> out(aAll + 1, 0.0);
    for (int c = aLenerp; c <= aAll; ++c)
        out[c] = toNumber(row.value(c));
    return out;
}

void shortForm(SheetWriter& out, const QVector<QStringList>& rows, const QStringList& names,
               const QString& periodText, const QString& notes)
{
    out.sheet(QStringLiteral("Сокращенная форма"), {1.0, 50.0, 25.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0});
    out.title(names, periodText, 10);
    out.header({{{"", Side}, {"Отпуск эл.энергии", Side}, {"Потери", Under}, {"электро", Under},
                 {"энергии", Under}, {"тыс.квтч / %", Under}, {"от отпуска", Under}, {"в сеть", Under},
                 {"", UnderRight}},
                {{"Линия", Side}, {"/ Собственное потребление", Side}, {"", Under}, {"нагрузочные", Under},
                 {"", Under}, {"", UnderLeft}, {"холостого хода", Under}, {"", Under}, {"", Side}},
                {{"", SideBottom}, {"тыс.квтч", SideBottom}, {"в линиях", SideBottom},
                 {"в трансфор-х", SideBottom}, {"суммарные", SideBottom}, {"в трансфор-х", SideBottom},
                 {"в изоляции КЛ", SideBottom}, {"суммарные", SideBottom}, {"Всего", SideBottom}}},
               kNoFill);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows.at(i);
        const RowKind kind = rowKind(row.value(aId));
        const Format upper = ruled(Side, kind.bold, kind.fill);
        const Format lower = ruled(SideBottom, kind.bold, kind.fill);
        const QVector<double> v = values(row);
        const int r = kFirstDataRow + 2 * i;
        out.text(r, 2, row.value(aName), upper);
        out.text(r + 1, 2, QString(), lower);
        out.number(r, 3, v.at(aLenerp), upper);
        out.number(r + 1, 3, v.at(aEnerSob), lower);
        for (int c = aL; c <= aAll; ++c) {
            out.number(r, c - 1, v.at(c), upper);
            out.number(r + 1, c - 1, share(v.at(c), v.at(aLenerp)), lower);
        }
    }
    const int closing = kFirstDataRow + 2 * rows.size();
    out.rule(closing, 2, 10, Over);
    out.text(closing, 1, notes, Format());
}

void fullForm(SheetWriter& out, const QVector<QStringList>& rows, const QStringList& names,
              const QString& periodText, const QString& notes)
{
    out.sheet(QStringLiteral("Полная форма"),
              {1.0, 50.0, 25.0, 12.0, 12.0, 12.0, 12.0, 12.0, 12.0, 12.0, 10.0, 10.0, 10.0, 10.0});
    out.title(names, periodText, 13);
    out.header({{{"", Side}, {"Отпуск эл.энергии", Side}, {"Потери", UnderLeft}, {"эл.энергии,", Under},
                 {"тыс.квтч", Under}, {"минимум/.", Under}, {"средние/", Under}, {"максимум", UnderRight},
                 {"", Under}, {" % от", Under}, {"отпуска", Under}, {"в сеть", UnderRight}},
                {{"Линия", Side}, {"/ Собственное потребление", Side}, {"", Under}, {"нагрузочные", Under},
                 {"", Under}, {"холостого", Side}, {"хода", Side}, {"", Side}, {"Всего", Side},
                 {"нагрузочные", Side}, {"холостого", Side}, {"суммарные", Side}},
                {{"", SideBottom}, {"/ Транзит, тыс.квтч", SideBottom}, {"в линиях", SideBottom},
                 {"в трансфор-х", SideBottom}, {"суммарные", SideBottom}, {"в трансфор-х", SideBottom},
                 {"в изоляции КЛ", SideBottom}, {"суммарные", SideBottom}, {"", SideBottom},
                 {"", SideBottom}, {"хода", SideBottom}, {"", SideBottom}}},
               kHeaderFill);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows.at(i);
        const QString fill = rowKind(row.value(aId)).fill;
        const QVector<double> v = values(row);
        const double L = v.at(aL), T = v.at(aT), X = v.at(aX), I = v.at(aI), P = v.at(aLenerp);
        // Spreads of the load losses and of all losses: 2.5 % in lines,
        // 3.5 % in transformers, 3 % no-load, 10 % insulation.
        const double loadSpread = std::sqrt(std::pow(0.025 * L, 2) + std::pow(0.035 * T, 2));
        const double allSpread = std::sqrt(std::pow(0.025 * L, 2) + std::pow(0.035 * T, 2)
                                           + std::pow(0.03 * X, 2) + std::pow(0.1 * I, 2));
        const double S = L + T + X + I;
        const QVector<double> minimum = {0.975 * L, 0.965 * T, L + T - loadSpread, 0.97 * X, 0.9 * I,
                                         0.97 * X + 0.9 * I, S - allSpread};
        const QVector<double> maximum = {1.025 * L, 1.035 * T, L + T + loadSpread, 1.03 * X, 1.1 * I,
                                         1.03 * X + 1.1 * I, S + allSpread};
        const int r = kFirstDataRow + 3 * i;
        const Format top = ruled(Side, true, fill), middle = top, bottom = ruled(SideBottom, true, fill);
        const Format topValue = ruled(Side, false, fill), bottomValue = ruled(SideBottom, false, fill);
        out.text(r, 2, QString(), top);
        out.text(r + 1, 2, row.value(aName), middle);
        out.text(r + 2, 2, QString(), bottom);
        out.number(r, 3, P, top);
        out.number(r + 1, 3, v.at(aEnerSob), middle);
        out.number(r + 2, 3, v.at(aEnerStor), bottom);
        for (int k = 0; k < minimum.size(); ++k) {
            out.number(r, 4 + k, rounded(minimum.at(k), 3), topValue);
            out.number(r + 1, 4 + k, v.at(aL + k), middle);
            out.number(r + 2, 4 + k, rounded(maximum.at(k), 3), bottomValue);
        }
        // Shares of the load, no-load and all losses (columns 6, 9, 10).
        const int shared[] = {2, 5, 6};
        const int meanColumn[] = {aN, aXX, aAll};
        for (int k = 0; k < 3; ++k) {
            out.number(r, 11 + k, share(minimum.at(shared[k]), P), topValue);
            out.number(r + 1, 11 + k, share(v.at(meanColumn[k]), P), middle);
            out.number(r + 2, 11 + k, share(maximum.at(shared[k]), P), bottomValue);
        }
    }
    // The last block's bottom rule closes the table.
    out.text(kFirstDataRow + 3 * rows.size(), 1, notes, Format());
}

void reportForm(SheetWriter& out, const QVector<QStringList>& rows, const QStringList& names,
                const QString& periodText, const QString& notes)
{
    out.sheet(QStringLiteral("Форма для отчетов"),
              {1.0, 60.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0, 15.0});
    out.title(names, periodText, 12);
    out.header({{{"", Side}, {"Отпуск", Side}, {"Собственное", Side}, {"Транзит", Side}, {"", Under},
                 {"Потери", Under}, {"электро", Under}, {"энергии,", Under}, {"тыс.квтч", Under}, {"", Under},
                 {"", UnderRight}},
                {{"Линия", Side}, {"электроэнергии,", Side}, {"потребление,", Side}, {"по сети,", Side},
                 {"", Under}, {"нагрузочные", Under}, {"", Under}, {"", UnderLeft}, {"холостого хода", Under},
                 {"", Under}, {"", Side}},
                {{"", SideBottom}, {"тыс.квтч", SideBottom}, {"тыс.квтч", SideBottom}, {"тыс.квтч", SideBottom},
                 {"в линиях", SideBottom}, {"в трансфор-х", SideBottom}, {"суммарные", SideBottom},
                 {"в трансфор-х", SideBottom}, {"в изоляции КЛ", SideBottom}, {"суммарные", SideBottom},
                 {"Всего", SideBottom}}},
               kHeaderFill);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows.at(i);
        const RowKind kind = rowKind(row.value(aId));
        const Format format = ruled(Side, kind.bold, kind.fill);
        const QVector<double> v = values(row);
        out.text(kFirstDataRow + i, 2, row.value(aName), format);
        for (int c = aLenerp; c <= aAll; ++c)
            out.number(kFirstDataRow + i, c + 1, v.at(c), format);
    }
    const int closing = kFirstDataRow + rows.size();
    out.rule(closing, 2, 12, Over);
    out.text(closing, 1, notes, Format());
}

} // namespace

QString arxivWorkbookPath(const QStringList& names)
{
    QString name = QStringLiteral("Архив потерь ");
    for (const QString& object : names)
        name += " " + object;
    return ZORVAN_PATH + safeFileName(name) + ".xlsx";
}

bool writeArxivWorkbook(const QString& file, const QVector<QStringList>& rows, const QStringList& names,
                        const QString& periodText, const QString& notes)
{
    xlsx::Document doc;
    SheetWriter out(doc);
    shortForm(out, rows, names, periodText, notes);
    fullForm(out, rows, names, periodText, notes);
    reportForm(out, rows, names, periodText, notes);
    return out.ok() && doc.saveAs(osFileName(file));
}
