#include "SaveInfo.h"

#include "messages.h"
#include "readregim.h"
#include "safefile.h"

#include <QDateTime>
#include <QDir>

// File names are handed to the file system through the locale's 8-bit
// conversion once the program runs on its UNIX setup; with the UTF-8 locale
// codec it sets, this changes nothing.
QString osFileName(const QString& name)
{
    if (OS == QLatin1String("UNIX"))
        return QString::fromLocal8Bit(name.toUtf8());
    return name;
}

namespace {

QString headerCell(const QString& span, int count, const QString& text)
{
    if (span.isEmpty())
        return "<th>" + text + "</th>";
    return QStringLiteral("<th %1=\"%2\">%3</th>").arg(span).arg(count).arg(text);
}

enum class RowKind { Empty, Header, BoldCells, Data };

// A row of header cells, of data cells all in bold (the line protocol's
// heading), of other data cells, or of none (a filler under row spans).
RowKind rowKind(const QStringRef& row)
{
    const auto ci = Qt::CaseInsensitive;
    if (row.contains(QLatin1String("<th"), ci))
        return RowKind::Header;
    int cell = row.indexOf(QLatin1String("<td"), 0, ci);
    if (cell < 0)
        return RowKind::Empty;
    for (; cell >= 0; cell = row.indexOf(QLatin1String("<td"), cell + 3, ci)) {
        const int text = row.indexOf(QLatin1Char('>'), cell) + 1;
        if (text <= 0 || !row.mid(text).startsWith(QLatin1String("<span style=\" font-weight:600"), ci))
            return RowKind::Data;
    }
    return RowKind::BoldCells;
}

} // namespace

QString safeFileName(const QString& name)
{
    QString out = name;
    for (QChar& ch : out) {
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control)
            ch = QLatin1Char('_');
    }
    return out;
}

QString reportFilePath(const QString& name)
{
    return ZORVAN_PATH + "html/" + osFileName(safeFileName(name)) + ".html";
}

QString logFilePath(const QString& name)
{
    return ZORVAN_PATH + osFileName(safeFileName(name));
}

QStringList reportLines(const QString& name, const QString& period,
                        const QStringList& body, int mode)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    const QString title = name.toHtmlEscaped();

    QStringList lines;
    lines.reserve(body.size() + 10);
    lines << "<html><head><title>" + title + "</title>"
          << "<meta name='qrichtext' content='1' /><meta http-equiv='Content-Type' content='text/html; charset=UTF-8' />"
          << "<style type='text/css'>p, li { white-space: pre-wrap; } </style></head><body>"
          << "<caption><h1 align = 'center'>Программа расчета потерь электроэнергии в радиальных сетях 35-220 кВ ЗОРВАН</h1>"
          << "<caption><h2 align = 'center'>" + title + " (" + stamp + ")</h2>";
    if (!period.isEmpty())
        lines << "<caption><h2 align = 'center'>Расчетный период: " + period + "</h2>";
    if (!pNameRas.isEmpty()) {
        QString objects;
        for (const QString& object : pNameRas)
            objects += " " + object.toHtmlEscaped();
        lines << "<caption><h2 align = 'left'> Объект:" + objects + "</h2>";
    }
    lines << "<body style = 'font-size:11pt; font-weight:400; font-style:normal; text-decoration:none; background-color: #FFFFFF'>";
    if (mode < 2)
        lines << "<table border='1' bgcolor='#DEECFC' align='center' width='100%' cellspacing='0' cellpadding ='2'><tr>";
    lines << body;
    lines << "</body></html>\n";
    return lines;
}

QString markTableHeads(const QString& page)
{
    const auto ci = Qt::CaseInsensitive;
    QString out;
    out.reserve(page.size() + 256);
    int done = 0;
    for (int table = page.indexOf(QLatin1String("<table"), 0, ci); table >= 0;) {
        int end = page.indexOf(QLatin1String("</table"), table, ci);
        if (end < 0)
            end = page.size();
        const int first = page.indexOf(QLatin1String("<tr"), table, ci);
        // The heading: rows of header cells with the fillers among them, or
        // else a first row of bold cells; the data begin after it.
        int body = -1;
        bool header = false;
        for (int row = first; row >= 0 && row < end;) {
            int next = page.indexOf(QLatin1String("<tr"), row + 3, ci);
            if (next < 0 || next > end)
                next = end;
            const RowKind kind = rowKind(page.midRef(row, next - row));
            if (kind == RowKind::Data || (kind == RowKind::BoldCells && row != first)) {
                body = row;
                break;
            }
            header = header || kind != RowKind::Empty;
            row = next < end ? next : -1;
        }
        if (body > first && header && !page.midRef(table, end - table).contains(QLatin1String("<thead"), ci)) {
            out += page.midRef(done, first - done);
            out += QLatin1String("<thead>");
            out += page.midRef(first, body - first);
            out += QLatin1String("</thead>");
            done = body;
        }
        table = page.indexOf(QLatin1String("<table"), end, ci);
    }
    out += page.midRef(done);
    return out;
}

bool stageHtmlBody(StagedFiles& files, const QString& name, const QString& period,
                   const QStringList& body, int mode)
{
    if (files.failed())
        return false;
    const QByteArray bytes = markTableHeads(reportLines(name, period, body, mode).join(QString())).toUtf8();
    const QString path = reportFilePath(name);
    QDir().mkpath(ZORVAN_PATH + "html");
    if (files.stageBytes(path, bytes))
        return true;
    warnCannotCreate(path);
    return false;
}

bool HtmlBody(const QString& name, const QString& period, const QStringList& body, int mode)
{
    StagedFiles files;
    if (!stageHtmlBody(files, name, period, body, mode) || !commitStaged(files))
        return false;
    if (mode != 0)
        ShowFile(name, QStringLiteral("html"));
    return true;
}

QStringList TableHtml()
{
    return {
        headerCell("rowspan", 4, "Линия"),
        headerCell(QString(), 0, " Отпуск в сеть, тыс.квтч"),
        headerCell("colspan", 7, "Потери электроэнергии, тыс.квтч / % от отпуска в соответствующую сеть"),
        "</tr>",
        "<tr>",
        headerCell("rowspan", 3, "По гол. участку/<br>В собственную сеть/<br>(Транзит по сети)"),
        headerCell("colspan", 3, "нагрузочные"),
        headerCell("colspan", 3, "холостого хода"),
        headerCell("rowspan", 3, "суммарные"),
        "</tr>",
        "<tr>",
        headerCell("rowspan", 2, "в линиях"),
        headerCell("rowspan", 2, "в трансфор-<br>маторах"),
        headerCell("rowspan", 2, "суммарные"),
        headerCell("rowspan", 2, "в трансфор-<br>маторах"),
        headerCell("rowspan", 2, "в изоляции<br>КЛ"),
        headerCell("rowspan", 2, "суммарные"),
        "</tr>",
        "<tr></tr>",
    };
}

bool stageLog(StagedFiles& files, const QString& file, const QStringList& lines)
{
    if (files.failed())
        return false;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    const QString path = logFilePath(file);
    if (files.stageBytes(path, bytes))
        return true;
    warnCannotCreate(path);
    return false;
}

bool SaveLog(const QString& file, const QStringList& lines)
{
    StagedFiles files;
    if (!stageLog(files, file, lines) || !commitStaged(files))
        return false;
    ShowFile(file, QString());
    return true;
}
