#include "arxivsum.h"

#include "calc/lossrun.h"
#include "calc/zorvantask.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/readregim.h"
#include "store/safefile.h"

#include <QHash>

namespace {

enum ArxCol { aId = 0, aName = 1, aFirstValue = 2, aDwpsumxx = 8, aDwpsxx = 10, aSump = 12, aFirstPower = 13 };

const QString kWarningTitle = QStringLiteral("Предупреждение");

bool holds(const RaionPot& record, const QString& period, const QString& year, const ArxivObject& object)
{
    return record.period == period && record.year == year && record.npes == object.npes
        && record.nres == object.nres;
}

// The notes of a record's calculation options, in the order balance,
// transit, load correction; a type of another form adds none.
QString typeNotes(const QString& type)
{
    static const QStringList balance = {"100", "110", "111", "101"};
    static const QStringList transit = {"010", "110", "111", "011"};
    static const QStringList correction = {"001", "011", "111", "101"};
    QString notes;
    if (balance.contains(type))
        notes += QStringLiteral(" Расчет без учета балансовой принадлежности ");
    if (transit.contains(type))
        notes += QStringLiteral(" Расчет без учета транзитных перетоков ");
    if (correction.contains(type))
        notes += QStringLiteral(" Коэффициент коррекции нагрузки не равен 1");
    return notes;
}

} // namespace

const QStringList& arxivMonthNames()
{
    static const QStringList names = {"январь", "февраль", "март", "апрель", "май", "июнь", "июль",
                                      "август", "сентябрь", "октябрь", "ноябрь", "декабрь", "год"};
    return names;
}

QVector<RaionPot> arxivRecords(const ArxivFile& file)
{
    QVector<RaionPot> records;
    records.reserve(file.records.size());
    for (const ResPoter& stored : file.records) {
        RaionPot record;
        static_cast<ResPoter&>(record) = stored;
        for (QStringList& row : record.rows) {
            if (row.value(aDwpsxx) == QLatin1String("0.000"))
                row[aDwpsxx] = row.value(aDwpsumxx);
        }
        records.append(record);
    }
    return records;
}

QVector<bool> arxivPeriods(const QVector<RaionPot>& records, const QString& year, const ArxivObject& object)
{
    QVector<bool> periods(arxivMonthNames().size(), false);
    for (int p = 0; p < periods.size(); ++p) {
        const QString period = QString::number(p + 1);
        for (const RaionPot& record : records) {
            if (holds(record, period, year, object)) {
                periods[p] = true;
                break;
            }
        }
    }
    return periods;
}

ArxivSelection SelectArxiv(QVector<RaionPot>& records, const QVector<bool>& ticked, const QString& year,
                           const ArxivObject& object, const QString& separator)
{
    for (RaionPot& record : records)
        record.selected = false;
    ArxivSelection selection;
    const QStringList& months = arxivMonthNames();
    for (int i = 0; i < months.size() && i < ticked.size(); ++i) {
        if (!ticked.at(i))
            continue;
        const QString period = QString::number(i + 1);
        for (RaionPot& record : records) {
            if (!holds(record, period, year, object))
                continue;
            record.selected = true;
            ++selection.count;
            selection.periodText += months.at(i) + separator;
            selection.notes += typeNotes(record.type);
        }
    }
    selection.periodText += year + QStringLiteral(" года");
    return selection;
}

int markArxivYear(QVector<RaionPot>& records, const QString& year)
{
    int count = 0;
    for (RaionPot& record : records) {
        record.selected = record.year == year;
        count += record.selected ? 1 : 0;
    }
    return count;
}

QVector<QStringList> SumArxivById(const QVector<RaionPot>& records)
{
    QVector<const RaionPot*> selected;
    for (const RaionPot& record : records) {
        if (record.selected)
            selected.append(&record);
    }
    if (selected.isEmpty())
        return {};
    QVector<QStringList> rows = selected.first()->rows;
    if (selected.size() == 1)
        return rows;

    // Each row starts from its own values and takes those of every later
    // record's rows with its id; the total is rounded once, at the end.
    const int columns = attrArx.size();
    const auto values = [columns](const QStringList& row) {
        QVector<double> out(columns, 0.0);
        for (int c = aFirstValue; c < columns; ++c)
            out[c] = toNumber(row.value(c));
        return out;
    };
    QVector<QVector<double>> sums;
    QVector<bool> summed(rows.size(), false);
    sums.reserve(rows.size());
    for (const QStringList& row : qAsConst(rows))
        sums.append(values(row));
    for (int r = 1; r < selected.size(); ++r) {
        QHash<QString, QVector<double>> byId;
        for (const QStringList& row : selected.at(r)->rows) {
            QVector<double>& sum = byId[row.value(aId)];
            const QVector<double> add = values(row);
            if (sum.isEmpty())
                sum = add;
            else
                for (int c = aFirstValue; c < columns; ++c)
                    sum[c] += add.at(c);
        }
        for (int a = 0; a < rows.size(); ++a) {
            const auto found = byId.constFind(rows.at(a).value(aId));
            if (found == byId.constEnd())
                continue;
            summed[a] = true;
            for (int c = aFirstValue; c < columns; ++c)
                sums[a][c] += found->at(c);
        }
    }
    // A row that no later record holds keeps its stored texts.
    for (int a = 0; a < rows.size(); ++a) {
        if (!summed.at(a))
            continue;
        while (rows[a].size() < columns)
            rows[a].append(QString());
        for (int c = aFirstValue; c < columns; ++c)
            rows[a][c] = QString::number(shown(sums.at(a).at(c)), 'f', 2);
    }
    return rows;
}

QStringList arxivPowerBody(const QVector<QStringList>& rows)
{
    QStringList lines = {
        "<th rowspan=\"4\">Линия</th>",
        "<th rowspan=\"4\">Потребляемая<br>мощность, тыс.кВт</th>",
        "<th colspan=\"5\">Потери мощности, кВт / % от отпуска в соответствующую сеть</th>",
        "</tr>",
        "<tr>",
        "<th colspan=\"3\">нагрузочные</th>",
        "<th rowspan=\"3\">холостого<br>хода</th>",
        "<th rowspan=\"3\">суммарные</th>",
        "</tr>",
        "<tr>",
        "<th rowspan=\"2\">в линиях</th>",
        "<th rowspan=\"2\">в трансфор-<br>маторах</th>",
        "<th rowspan=\"2\">суммарные</th>",
        "</tr>",
        "<tr></tr>",
    };
    const QString end = QStringLiteral("</td>\n");
    for (const QStringList& row : rows) {
        QString cell;
        lines.append(lossRowStart(row.value(aId), &cell));
        lines.append(cell + row.value(aName).toHtmlEscaped() + end);
        lines.append(cell + row.value(aSump) + end);
        // Thousand kW to kW, in per cent.
        const double base = toNumber(row.value(aSump)) * 10.0;
        for (int c = aFirstPower; c < attrArx.size(); ++c) {
            const QString share = base > 0.0 ? QString::number(shown(toNumber(row.value(c)) / base), 'f', 2) + " %"
                                             : QStringLiteral(" ");
            lines.append(cell + row.value(c) + "<br>" + share + end);
        }
        lines.append(QStringLiteral("</tr>\n"));
    }
    lines.append(QStringLiteral("</table>\n"));
    return lines;
}

bool readArxivRecords(const QString& path, QVector<RaionPot>* records, QByteArray* bytes)
{
    const FileBytes archive = readFileBytes(path);
    const ArxivFile file = archive.readable ? parseArxiv(archive.bytes) : ArxivFile();
    // An archive that could not be read whole gives nothing: a part of it
    // would be shown and summed as if it were all, or written back as all.
    if (file.xmlError || (archive.exists && !archive.readable)) {
        records->clear();
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + path);
        return false;
    }
    *records = arxivRecords(file);
    if (bytes)
        *bytes = archive.bytes;
    return true;
}

ArxivPrune pruneArxiv(const QString& path, const QString& bakPath, QVector<RaionPot>* records,
                      const std::function<int(QVector<RaionPot>&)>& mark)
{
    QByteArray archive;
    if (!readArxivRecords(path, records, &archive))
        return ArxivPrune::Damaged;
    if (mark(*records) == 0)
        return ArxivPrune::NothingMarked;

    QVector<ResPoter> kept;
    QVector<RaionPot> remaining;
    for (const RaionPot& record : qAsConst(*records)) {
        if (record.selected)
            continue;
        kept.append(record);
        remaining.append(record);
    }
    // The archive and, as its .bak, what it held just now: both or neither.
    StagedFiles files;
    if (!stageArxivFile(files, path, kept))
        return ArxivPrune::NotWritten;
    if (!files.stageBytes(bakPath, archive)) {
        warnCannotCreate(bakPath);
        return ArxivPrune::NotWritten;
    }
    if (!commitStaged(files))
        return ArxivPrune::NotWritten;
    *records = remaining;
    return ArxivPrune::Removed;
}
