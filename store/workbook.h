#pragma once
// A small .xlsx workbook: named sheets of string and number cells with simple
// formats and column widths, saved as a new file; and a reader of the cell
// values of any ordinary workbook. Rows and columns are counted from 1.
//
// The document is kept in memory and handed to libxlsxwriter only in saveAs,
// so the library's objects never outlive one save. Reading goes through the
// zip container and the sheet XML directly.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace xlsx {

enum class Align { General, Left, Center, Right };
enum class Border { None, Thin };

// A cell format. Formats are plain values: a document gives every distinct
// format one style of the saved workbook.
class Format
{
public:
    void setFontSize(double size) { m_fontSize = size; }      // points; 0 = default
    void setFontBold(bool bold) { m_bold = bold; }
    void setHorizontalAlignment(Align align) { m_align = align; }
    void setLeftBorderStyle(Border style) { m_left = style; }
    void setRightBorderStyle(Border style) { m_right = style; }
    void setTopBorderStyle(Border style) { m_top = style; }
    void setBottomBorderStyle(Border style) { m_bottom = style; }
    // A solid fill, "#RRGGBB"; an empty or invalid text means no fill.
    void setPatternBackgroundColor(const QString& color);

    double fontSize() const { return m_fontSize; }
    bool fontBold() const { return m_bold; }
    Align horizontalAlignment() const { return m_align; }
    Border leftBorderStyle() const { return m_left; }
    Border rightBorderStyle() const { return m_right; }
    Border topBorderStyle() const { return m_top; }
    Border bottomBorderStyle() const { return m_bottom; }
    bool hasFill() const { return m_fill >= 0; }
    unsigned fillRgb() const { return hasFill() ? unsigned(m_fill) : 0u; }

    bool isDefault() const;
    // Equal formats give equal keys.
    QString key() const;

private:
    double m_fontSize = 0.0;
    bool m_bold = false;
    Align m_align = Align::General;
    Border m_left = Border::None;
    Border m_right = Border::None;
    Border m_top = Border::None;
    Border m_bottom = Border::None;
    long m_fill = -1;   // 0xRRGGBB, or -1 for none
};

class Document
{
public:
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    Document() = default;

    // Replaces the document by the cell values of an existing workbook (the
    // formats are not read). The first sheet becomes current. Returns false,
    // leaving the document empty, when the file cannot be read as a workbook.
    bool load(const QString& fileName);

    // Adds an empty sheet and makes it current. Returns false for a name that
    // a workbook cannot carry (empty, over 31 characters, one of []:*?/\, an
    // apostrophe at either end) or that another sheet has, ignoring case.
    bool addSheet(const QString& name);
    // Makes the named sheet current; false when there is none.
    bool selectSheet(const QString& name);
    QStringList sheetNames() const;
    QString currentSheetName() const;

    // Writes into the current sheet. False without a current sheet, outside
    // the sheet's size, or for a number that is not finite. An empty string
    // leaves the cell without value but keeps its format (borders of a rule).
    bool write(int row, int column, const QString& text, const Format& format = Format());
    bool write(int row, int column, double number, const Format& format = Format());
    bool write(int row, int column, const char* text, const Format& format = Format())
    {
        return write(row, column, QString::fromUtf8(text), format);
    }
    // Width in characters, as a spreadsheet program shows it.
    bool setColumnWidth(int column, double width);
    bool setColumnWidth(int firstColumn, int lastColumn, double width);

    // The value of a cell of the current sheet as text: strings as they stand,
    // numbers as short text ("12", "1000000", "1.5"), booleans as "1" or "0";
    // an empty string for a cell without value.
    QString read(int row, int column) const;
    bool isNumber(int row, int column) const;
    // The largest row number holding a cell of the current sheet (0 if none).
    int lastRow() const;

    // Writes the document as a new workbook, replacing fileName only when the
    // whole file was written. Returns false (see errorString) when it was not,
    // for example when the folder is missing.
    bool saveAs(const QString& fileName);
    QString errorString() const { return m_error; }

    // The short text of a number, as read() gives it.
    static QString numberText(double value);

private:
    struct Cell
    {
        QString text;          // a string, or the short text of a number
        double number = 0.0;
        bool isNumber = false;
        bool hasValue = false;
        Format format;
    };
    struct Sheet
    {
        QString name;
        QHash<quint64, Cell> cells;
        QHash<int, double> widths;  // column (from 1) -> width
    };

    static quint64 cellKey(int row, int column)
    {
        return (quint64(quint32(row)) << 32) | quint32(column);
    }
    bool canWrite(int row, int column) const;
    const Cell* findCell(int row, int column) const;
    bool writeWorkbook(const QString& tempName, const QString& folder);

    QVector<Sheet> m_sheets;
    int m_current = -1;
    QString m_error;
};

} // namespace xlsx
