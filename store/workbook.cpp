#include "workbook.h"

#include "safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QUrl>
#include <QXmlStreamReader>

#include <unzip.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace xlsx {

// ---- Format -------------------------------------------------------------------

void Format::setPatternBackgroundColor(const QString& color)
{
    m_fill = -1;
    if (color.size() != 7 || !color.startsWith(QLatin1Char('#')))
        return;
    bool ok = false;
    const uint rgb = color.midRef(1).toUInt(&ok, 16);
    if (ok)
        m_fill = long(rgb);
}

bool Format::isDefault() const
{
    return m_fontSize <= 0.0 && !m_bold && m_align == Align::General && m_left == Border::None
           && m_right == Border::None && m_top == Border::None && m_bottom == Border::None
           && m_fill < 0;
}

QString Format::key() const
{
    return QString::asprintf("%.6g|%d|%d|%d%d%d%d|%ld", m_fontSize, int(m_bold), int(m_align),
                             int(m_left), int(m_right), int(m_top), int(m_bottom), m_fill);
}

// ---- Reading ------------------------------------------------------------------

namespace {

// Spreadsheet programs keep at most this many characters in a cell.
constexpr int kMaxCellText = 32767;
// No part of a workbook we would ever be given comes near this; a larger one
// is a damaged or hostile file, not a table.
constexpr qint64 kMaxPartSize = 256 * 1024 * 1024;

// The parts of a zip container, looked up by name without regard to case.
class ZipParts
{
public:
    ~ZipParts()
    {
        if (m_zip)
            unzClose(m_zip);
    }

    bool open(const QString& fileName)
    {
        const QByteArray path = QFile::encodeName(fileName);
        m_zip = unzOpen64(path.constData());
        if (!m_zip)
            return false;
        for (int rc = unzGoToFirstFile(m_zip); rc == UNZ_OK; rc = unzGoToNextFile(m_zip)) {
            unz_file_info64 info;
            if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
                return false;
            QByteArray name(int(info.size_filename), '\0');
            if (unzGetCurrentFileInfo64(m_zip, &info, name.data(), uLong(name.size()), nullptr, 0,
                                        nullptr, 0) != UNZ_OK)
                return false;
            unz64_file_pos pos;
            if (unzGetFilePos64(m_zip, &pos) != UNZ_OK)
                return false;
            m_entries.insert(normalized(QString::fromUtf8(name)), pos);
        }
        return true;
    }

    bool has(const QString& part) const { return m_entries.contains(normalized(part)); }

    // The bytes of a part; false when it is missing or cannot be unpacked.
    bool read(const QString& part, QByteArray* bytes)
    {
        bytes->clear();
        auto it = m_entries.find(normalized(part));
        if (it == m_entries.end())
            return false;
        unz64_file_pos pos = it.value();
        if (unzGoToFilePos64(m_zip, &pos) != UNZ_OK || unzOpenCurrentFile(m_zip) != UNZ_OK)
            return false;
        char buffer[65536];
        bool ok = true;
        for (;;) {
            const int n = unzReadCurrentFile(m_zip, buffer, sizeof buffer);
            if (n < 0 || bytes->size() + qint64(n) > kMaxPartSize) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            bytes->append(buffer, n);
        }
        // Closing checks the CRC of what was read.
        if (unzCloseCurrentFile(m_zip) != UNZ_OK)
            ok = false;
        return ok;
    }

private:
    static QString normalized(QString name)
    {
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        while (name.startsWith(QLatin1Char('/')))
            name.remove(0, 1);
        return name.toLower();
    }

    unzFile m_zip = nullptr;
    QHash<QString, unz64_file_pos> m_entries;
};

struct Relationship
{
    QString type;
    QString target;  // part name, resolved
};

// The folder of a part, with its trailing "/" ("" at the root).
QString partFolder(const QString& part)
{
    return part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
}

QString resolveTarget(const QString& sourcePart, const QString& target)
{
    QString t = QUrl::fromPercentEncoding(target.toUtf8());
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString path = t.startsWith(QLatin1Char('/')) ? t : partFolder(sourcePart) + t;
    path = QDir::cleanPath(path);
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return path;
}

QString relationshipsPart(const QString& part)
{
    const QString folder = partFolder(part);
    return folder + QStringLiteral("_rels/") + part.mid(folder.size()) + QStringLiteral(".rels");
}

// Relationships of a part by id; a missing relationships part is no error.
bool readRelationships(ZipParts& zip, const QString& part, QHash<QString, Relationship>* rels)
{
    const QString relsPart = relationshipsPart(part);
    if (!zip.has(relsPart))
        return true;
    QByteArray bytes;
    if (!zip.read(relsPart, &bytes))
        return false;
    QXmlStreamReader xml(bytes);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (a.value(QLatin1String("TargetMode")).compare(QLatin1String("External"), Qt::CaseInsensitive) == 0)
            continue;
        rels->insert(a.value(QLatin1String("Id")).toString(),
                     {a.value(QLatin1String("Type")).toString(),
                      resolveTarget(part, a.value(QLatin1String("Target")).toString())});
    }
    return !xml.hasError();
}

QString findTarget(const QHash<QString, Relationship>& rels, const QString& typeEnd)
{
    for (const Relationship& rel : rels) {
        if (rel.type.endsWith(typeEnd, Qt::CaseInsensitive))
            return rel.target;
    }
    return QString();
}

// Characters that XML cannot carry are stored as "_xHHHH_".
QString decodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int last = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.midRef(last, m.capturedStart() - last);
        out += QChar(ushort(m.capturedRef(1).toUInt(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += text.midRef(last);
    return out;
}

// The text of a shared or inline string: its plain text or its runs; phonetic
// readings and run properties are not part of the value.
QString readRichText(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("t")) {
            text += xml.readElementText();
        } else if (xml.name() == QLatin1String("r")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("t"))
                    text += xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return decodeEscapes(text);
}

bool readSharedStrings(const QByteArray& bytes, QStringList* strings)
{
    QXmlStreamReader xml(bytes);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings->append(readRichText(xml));
    }
    return !xml.hasError();
}

// "BC12" -> column 55, row 12; either part may be missing (0).
void parseReference(const QStringRef& ref, int* column, int* row)
{
    *column = 0;
    *row = 0;
    int i = 0;
    for (; i < ref.size(); ++i) {
        const QChar c = ref.at(i).toUpper();
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        *column = *column * 26 + (c.unicode() - 'A' + 1);
        if (*column > Document::kMaxColumns)
            *column = Document::kMaxColumns + 1;
    }
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (ok)
        *row = r;
}

struct ReadCell
{
    int row;
    int column;
    QString text;
    double number;
    bool isNumber;
};

bool readSheetCells(const QByteArray& bytes, const QStringList& sharedStrings,
                    QVector<ReadCell>* cells)
{
    QXmlStreamReader xml(bytes);
    int row = 0;
    int column = 0;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok && r > 0 ? r : row + 1;
            column = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;

        const QXmlStreamAttributes a = xml.attributes();
        const QString type = a.value(QLatin1String("t")).toString();
        int refColumn = 0;
        int refRow = 0;
        parseReference(a.value(QLatin1String("r")), &refColumn, &refRow);
        column = refColumn > 0 ? refColumn : column + 1;
        if (refRow > 0)
            row = refRow;

        QString value;
        bool hasValue = false;
        QString inlineText;
        bool hasInline = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == QLatin1String("is")) {
                inlineText = readRichText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (row < 1 || row > Document::kMaxRows || column < 1 || column > Document::kMaxColumns)
            continue;

        ReadCell cell{row, column, QString(), 0.0, false};
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!hasValue || !ok || index < 0 || index >= sharedStrings.size())
                continue;
            cell.text = sharedStrings.at(index);
        } else if (type == QLatin1String("inlineStr")) {
            if (!hasInline && !hasValue)
                continue;
            cell.text = hasInline ? inlineText : decodeEscapes(value);
        } else if (type == QLatin1String("b")) {
            if (!hasValue)
                continue;
            const QString v = value.trimmed();
            cell.text = (v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                            ? QStringLiteral("1") : QStringLiteral("0");
        } else if (type == QLatin1String("str") || type == QLatin1String("e")
                   || type == QLatin1String("d")) {
            if (!hasValue)
                continue;
            cell.text = decodeEscapes(value);
        } else {
            // A number; a cell with only a format or an uncalculated formula has no value.
            const QString v = value.trimmed();
            if (v.isEmpty())
                continue;
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (ok && std::isfinite(d)) {
                cell.number = d;
                cell.isNumber = true;
                cell.text = Document::numberText(d);
            } else {
                cell.text = v;
            }
        }
        cells->append(cell);
    }
    return !xml.hasError();
}

constexpr auto kOfficeDocument = "/officeDocument";
constexpr auto kWorksheet = "/worksheet";
constexpr auto kSharedStrings = "/sharedStrings";

} // namespace

// ---- Document -------------------------------------------------------------------

QString Document::numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");  // also -0
    return QString::number(value, 'g', 15);
}

bool Document::load(const QString& fileName)
{
    m_sheets.clear();
    m_current = -1;
    m_error.clear();
    auto fail = [this, &fileName](const QString& why) {
        m_sheets.clear();
        m_current = -1;
        m_error = fileName + QStringLiteral(": ") + why;
        return false;
    };

    ZipParts zip;
    if (!zip.open(fileName))
        return fail(QStringLiteral("not a zip container"));

    QHash<QString, Relationship> packageRels;
    if (!readRelationships(zip, QString(), &packageRels))
        return fail(QStringLiteral("damaged package relationships"));
    QString workbookPart = findTarget(packageRels, QLatin1String(kOfficeDocument));
    if (workbookPart.isEmpty() || !zip.has(workbookPart))
        workbookPart = QStringLiteral("xl/workbook.xml");
    QByteArray workbookXml;
    if (!zip.read(workbookPart, &workbookXml))
        return fail(QStringLiteral("no workbook part"));

    QHash<QString, Relationship> rels;
    if (!readRelationships(zip, workbookPart, &rels))
        return fail(QStringLiteral("damaged workbook relationships"));

    QStringList sharedStrings;
    QString sstPart = findTarget(rels, QLatin1String(kSharedStrings));
    if (sstPart.isEmpty())
        sstPart = partFolder(workbookPart) + QStringLiteral("sharedStrings.xml");
    if (zip.has(sstPart)) {
        QByteArray bytes;
        if (!zip.read(sstPart, &bytes) || !readSharedStrings(bytes, &sharedStrings))
            return fail(QStringLiteral("damaged shared strings"));
    }

    // The sheets in workbook order, each found through its relationship.
    QXmlStreamReader xml(workbookXml);
    QVector<QPair<QString, QString>> sheetParts;  // name, part
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement() || xml.name() != QLatin1String("sheet"))
            continue;
        QString name;
        QString id;
        for (const QXmlStreamAttribute& a : xml.attributes()) {
            if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                name = a.value().toString();
            else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                id = a.value().toString();
        }
        const Relationship rel = rels.value(id);
        sheetParts.append({name, rel.type.endsWith(QLatin1String(kWorksheet), Qt::CaseInsensitive)
                                     || rel.type.isEmpty() ? rel.target : QString()});
    }
    if (xml.hasError())
        return fail(QStringLiteral("damaged workbook part"));

    for (const auto& sheetPart : sheetParts) {
        Sheet sheet;
        sheet.name = sheetPart.first;
        // A listed sheet whose part is missing (or a chart sheet) has no cells.
        if (!sheetPart.second.isEmpty() && zip.has(sheetPart.second)) {
            QByteArray bytes;
            QVector<ReadCell> cells;
            if (!zip.read(sheetPart.second, &bytes) || !readSheetCells(bytes, sharedStrings, &cells))
                return fail(QStringLiteral("damaged sheet ") + sheet.name);
            sheet.cells.reserve(cells.size());
            for (const ReadCell& c : cells) {
                Cell cell;
                cell.text = c.text;
                cell.number = c.number;
                cell.isNumber = c.isNumber;
                cell.hasValue = true;
                sheet.cells.insert(cellKey(c.row, c.column), cell);
            }
        }
        m_sheets.append(sheet);
    }
    if (m_sheets.isEmpty())
        return fail(QStringLiteral("no sheets"));
    m_current = 0;
    return true;
}

bool Document::addSheet(const QString& name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    if (name.isEmpty() || name.toUcs4().size() > 31 || name.startsWith(QLatin1Char('\''))
        || name.endsWith(QLatin1Char('\'')))
        return false;
    for (const QChar c : name) {
        if (forbidden.contains(c))
            return false;
    }
    for (const Sheet& sheet : qAsConst(m_sheets)) {
        if (sheet.name.compare(name, Qt::CaseInsensitive) == 0)
            return false;
    }
    Sheet sheet;
    sheet.name = name;
    m_sheets.append(sheet);
    m_current = m_sheets.size() - 1;
    return true;
}

bool Document::selectSheet(const QString& name)
{
    for (int i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets.at(i).name == name) {
            m_current = i;
            return true;
        }
    }
    return false;
}

QStringList Document::sheetNames() const
{
    QStringList names;
    for (const Sheet& sheet : m_sheets)
        names.append(sheet.name);
    return names;
}

QString Document::currentSheetName() const
{
    return m_current >= 0 ? m_sheets.at(m_current).name : QString();
}

bool Document::canWrite(int row, int column) const
{
    return m_current >= 0 && row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns;
}

bool Document::write(int row, int column, const QString& text, const Format& format)
{
    if (!canWrite(row, column))
        return false;
    Cell cell;
    cell.text = text.left(kMaxCellText);
    cell.hasValue = !cell.text.isEmpty();
    cell.format = format;
    m_sheets[m_current].cells.insert(cellKey(row, column), cell);
    return true;
}

bool Document::write(int row, int column, double number, const Format& format)
{
    if (!canWrite(row, column) || !std::isfinite(number))
        return false;
    Cell cell;
    cell.number = number;
    cell.text = numberText(number);
    cell.isNumber = true;
    cell.hasValue = true;
    cell.format = format;
    m_sheets[m_current].cells.insert(cellKey(row, column), cell);
    return true;
}

bool Document::setColumnWidth(int column, double width)
{
    return setColumnWidth(column, column, width);
}

bool Document::setColumnWidth(int firstColumn, int lastColumn, double width)
{
    if (m_current < 0 || firstColumn < 1 || lastColumn > kMaxColumns || firstColumn > lastColumn
        || !(width >= 0.0 && width <= 255.0))
        return false;
    for (int c = firstColumn; c <= lastColumn; ++c)
        m_sheets[m_current].widths.insert(c, width);
    return true;
}

const Document::Cell* Document::findCell(int row, int column) const
{
    if (m_current < 0)
        return nullptr;
    const auto& cells = m_sheets.at(m_current).cells;
    auto it = cells.constFind(cellKey(row, column));
    return it == cells.constEnd() ? nullptr : &it.value();
}

QString Document::read(int row, int column) const
{
    const Cell* cell = findCell(row, column);
    return cell && cell->hasValue ? cell->text : QString();
}

bool Document::isNumber(int row, int column) const
{
    const Cell* cell = findCell(row, column);
    return cell && cell->hasValue && cell->isNumber;
}

int Document::lastRow() const
{
    if (m_current < 0)
        return 0;
    int last = 0;
    const auto& cells = m_sheets.at(m_current).cells;
    for (auto it = cells.constBegin(); it != cells.constEnd(); ++it)
        last = std::max(last, int(it.key() >> 32));
    return last;
}

// ---- Writing ----------------------------------------------------------------------

bool Document::writeWorkbook(const QString& tempName, const QString& folder)
{
    const QByteArray path = QFile::encodeName(tempName);
    // The library's own scratch files go to the same folder as the workbook.
    QByteArray scratch = QFile::encodeName(folder);
    lxw_workbook_options options = {};
    options.tmpdir = scratch.data();
    lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
    if (!workbook) {
        m_error = QStringLiteral("cannot start the workbook");
        return false;
    }

    // Formats belong to the workbook and are freed by workbook_close; one per
    // distinct format.
    QHash<QString, lxw_format*> formats;
    auto formatFor = [&](const Format& f) -> lxw_format* {
        if (f.isDefault())
            return nullptr;
        const QString key = f.key();
        auto it = formats.constFind(key);
        if (it != formats.constEnd())
            return it.value();
        lxw_format* lf = workbook_add_format(workbook);
        if (!lf)
            return nullptr;
        if (f.fontSize() > 0.0)
            format_set_font_size(lf, f.fontSize());
        if (f.fontBold())
            format_set_bold(lf);
        switch (f.horizontalAlignment()) {
        case Align::Left: format_set_align(lf, LXW_ALIGN_LEFT); break;
        case Align::Center: format_set_align(lf, LXW_ALIGN_CENTER); break;
        case Align::Right: format_set_align(lf, LXW_ALIGN_RIGHT); break;
        case Align::General: break;
        }
        if (f.leftBorderStyle() == Border::Thin)
            format_set_left(lf, LXW_BORDER_THIN);
        if (f.rightBorderStyle() == Border::Thin)
            format_set_right(lf, LXW_BORDER_THIN);
        if (f.topBorderStyle() == Border::Thin)
            format_set_top(lf, LXW_BORDER_THIN);
        if (f.bottomBorderStyle() == Border::Thin)
            format_set_bottom(lf, LXW_BORDER_THIN);
        if (f.hasFill()) {
            format_set_pattern(lf, LXW_PATTERN_SOLID);
            format_set_bg_color(lf, lxw_color_t(f.fillRgb()));
        }
        formats.insert(key, lf);
        return lf;
    };

    lxw_error error = LXW_NO_ERROR;
    QString failure;
    for (const Sheet& sheet : qAsConst(m_sheets)) {
        const QByteArray name = sheet.name.toUtf8();
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, name.constData());
        if (!worksheet) {
            failure = QStringLiteral("the sheet name is refused: ") + sheet.name;
            break;
        }
        for (auto it = sheet.widths.constBegin(); it != sheet.widths.constEnd() && !error; ++it)
            error = worksheet_set_column(worksheet, lxw_col_t(it.key() - 1), lxw_col_t(it.key() - 1),
                                         it.value(), nullptr);
        for (auto it = sheet.cells.constBegin(); it != sheet.cells.constEnd() && !error; ++it) {
            const lxw_row_t row = lxw_row_t((it.key() >> 32) - 1);
            const lxw_col_t column = lxw_col_t((it.key() & 0xffffffffu) - 1);
            const Cell& cell = it.value();
            lxw_format* format = formatFor(cell.format);
            if (!cell.hasValue) {
                if (format)
                    error = worksheet_write_blank(worksheet, row, column, format);
            } else if (cell.isNumber) {
                error = worksheet_write_number(worksheet, row, column, cell.number, format);
            } else {
                // The library copies the string.
                const QByteArray text = cell.text.toUtf8();
                error = worksheet_write_string(worksheet, row, column, text.constData(), format);
            }
        }
        if (error)
            break;
    }

    // Closing writes the file and frees the workbook whatever happened before.
    const lxw_error closeError = workbook_close(workbook);
    if (!error)
        error = closeError;
    if (error)
        failure = QString::fromUtf8(lxw_strerror(error));
    m_error = failure;
    return failure.isEmpty();
}

bool Document::saveAs(const QString& fileName)
{
    m_error.clear();
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        m_error = folder + QStringLiteral(": no such folder");
        return false;
    }
    // The library writes a file of its own; it is made beside the target and
    // then put in place whole, so a failed save never leaves half a workbook
    // and nothing is written outside the target's folder.
    QTemporaryFile temp(folder + QStringLiteral("/.workbook-XXXXXX.tmp"));
    if (!temp.open()) {
        m_error = folder + QStringLiteral(": ") + temp.errorString();
        return false;
    }
    temp.close();
    if (!writeWorkbook(temp.fileName(), folder))
        return false;

    QFile built(temp.fileName());
    if (!built.open(QIODevice::ReadOnly)) {
        m_error = built.errorString();
        return false;
    }
    const QByteArray bytes = built.readAll();
    built.close();

    if (!writeBytes(fileName, bytes)) {
        m_error = fileName + QStringLiteral(": cannot be written");
        return false;
    }
    return true;
}

} // namespace xlsx
