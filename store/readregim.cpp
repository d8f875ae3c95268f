#include "readregim.h"

#include "rowmerge.h"

#include "messages.h"
#include "xmlfile.h"

#include <QXmlStreamReader>

QString NPES;
QString NRES;
QString NLIN;
int UROV = 0;
double UNOM = 0.0;
QStringList pNameRas;

QString NamePeriod;
QString pMec;
QString pYear;
int TmRas = 0;
double pHoly = 0.8;
double pT_sr = 20.0;
double pT_RES = 20.0;
double pk_Nagr = 1.0;
int pr_Bal = 0;
int p_tranz = 0;
int p_Iz = 0;

QString ZORVAN_PATH;
QString OS;
QTextCodec* g_pTextCodec = nullptr;
double m_iScale = 1.0;

const QStringList attrPES = {"npes", "name"};
const QStringList attrRES = {"npes", "nres", "name", "dnres", "ind_t", "temp"};
const QStringList attrLin = {"npes", "nres", "nlin", "name", "dnlin", "podkl", "unom",
                             "umax", "umin", "tg_lin", "k_zapol", "k_for", "k_free",
                             "sost", "v_lin", "ind_graf", "vid_ras"};
const QStringList attrUchLin = {"npes", "nres", "nlin", "name", "name1", "nyzln",
                                "nyzlk", "tip_el", "kod_el", "dl", "n_otv", "p_nagr",
                                "q_nagr", "wp_nagr", "wq_nagr", "kbal", "podkt", "key"};
const QStringList attrL = {"name", "S", "KL", "R", "X", "B", "Imax", "Material"};
const QStringList attrTR = {"name", "unom", "S", "R", "X", "Px", "Qx",
                            "u_otv", "n_otp", "uvn", "unn"};
const QStringList attrArx = {"id", "name", "lenerp", "ener_Sob", "ener_stor", "dwpsuml",
                             "dwpsumt", "dwpsumn", "dwpsumxx", "dwpsumIz", "dwpsxx",
                             "dwpall", "sump", "dpsuml", "dpsumt", "dpsum", "dpsumxx",
                             "Sumdp"};

namespace {
const QString kWarningTitle = QStringLiteral("Предупреждение");

bool writeTable(const QString& table, const QStringList& names, const QString& rowElement,
                const QString& rootElement, const Table& rows, bool allowEmpty)
{
    StagedFiles files;
    return stageShablonXML(files, table, names, rowElement, rootElement, rows, allowEmpty)
        && commitStaged(files);
}

} // namespace

bool MsgBox(const QString& text, const QString& title)
{
    return messageSink()->question(text, title);
}

QString dataFile(const QString& relativeName)
{
    return ZORVAN_PATH + relativeName;
}

TableRead readTable(const QString& table, const QStringList& names, const QString& rowElement)
{
    TableRead read;
    Table& rows = read.rows;
    const QString fileName = ZORVAN_PATH + table + ".xml";
    const FileBytes file = readFileBytes(fileName);
    read.exists = file.exists;
    if (!file.exists) {
        ShowWarning(kWarningTitle, "Отсутствует файл -" + fileName);
        return read;
    }
    read.blank = file.readable && bytesAreBlank(file.bytes);

    // A file that is there but cannot be read is no empty table: a writer
    // that took it for one would replace the whole table.
    bool damaged = !file.readable;
    if (file.readable) {
        QXmlStreamReader xml(file.bytes);
        int elements = 0;
        while (!xml.atEnd() && !xml.hasError()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            ++elements;
            if (xml.name() == rowElement)
                rows.append(readXmlRow(xml.attributes(), names));
        }
        // A blank file is an empty table, not a damaged one. Elements under
        // the root without one row of the kind asked for are another table or
        // rows of another spelling, not an empty table.
        if (xml.hasError())
            damaged = !(rows.isEmpty() && read.blank);
        else
            damaged = rows.isEmpty() && elements > 1;
    }
    if (damaged) {
        read.damaged = true;
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + fileName);
    }
    return read;
}

Table ReadShablonXML(const QString& table, const QStringList& names,
                     const QString& rowElement, bool* xmlError)
{
    TableRead read = readTable(table, names, rowElement);
    if (xmlError)
        *xmlError = read.damaged;
    return std::move(read.rows);
}

int rowWithCodes(const Table& rows, const QStringList& codes)
{
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).mid(0, codes.size()) == codes)
            return i;
    }
    return -1;
}

void warnLineNotFound()
{
    ShowWarning(kWarningTitle, QStringLiteral("Линия не найдена в таблице линий, данные не сохранены"));
}

void warnResNotFound(QObject* parent)
{
    ShowWarning(kWarningTitle, QStringLiteral("РЭС не найден в таблице РЭС, данные не сохранены"), parent);
}

bool lineStillStands(const Table& sections, const QStringList& codes, quint64 moment)
{
    if (objectGoneSince(codes, moment)) {
        warnLineNotFound();
        return false;
    }
    if (rowWithCodes(sections, codes) >= 0)
        return true;
    bool damaged = false;
    const Table lines = ReadShablonXML(QStringLiteral("lines"), attrLin, QStringLiteral("LIN"), &damaged);
    if (damaged)
        return false;
    if (rowWithCodes(lines, codes) < 0) {
        warnLineNotFound();
        return false;
    }
    return true;
}

bool stageShablonXML(StagedFiles& files, const QString& table, const QStringList& names,
                     const QString& rowElement, const QString& rootElement, const Table& rows,
                     bool allowEmpty)
{
    if (files.failed())
        return false;
    const QString fileName = ZORVAN_PATH + table + ".xml";
    if (rows.isEmpty() && !allowEmpty) {
        ShowWarning(kWarningTitle, "Пустая таблица -" + fileName);
        return false;
    }
    for (const QStringList& row : rows) {
        if (row.size() < names.size()) {
            ShowWarning(kWarningTitle, "Структура данных нарушена, файл -" + fileName);
            return false;
        }
    }
    return stageWithBackup(files, fileName, ZORVAN_PATH + table + ".bak",
                           xmlDocument(rootElement, [&](QXmlStreamWriter& xml) {
        for (const QStringList& row : rows)
            writeXmlRow(xml, rowElement, names, row);
    }));
}

bool saveShablonXML(const QString& table, const QStringList& names,
                    const QString& rowElement, const QString& rootElement,
                    const Table& rows)
{
    return writeTable(table, names, rowElement, rootElement, rows, false);
}

bool saveShablonXMLAllowEmpty(const QString& table, const QStringList& names,
                              const QString& rowElement, const QString& rootElement,
                              const Table& rows)
{
    return writeTable(table, names, rowElement, rootElement, rows, true);
}

OwnRowSave saveOwnRow(const QString& table, const QStringList& names, const QString& rowElement,
                      const QString& rootElement, OwnRow& row, int codeCount)
{
    bool xmlError = false;
    const Table rows = ReadShablonXML(table, names, rowElement, &xmlError);
    if (xmlError)
        return OwnRowSave::Damaged;
    OwnRows own;
    for (int c = 0; c < codeCount; ++c)
        own.codes.append(c);
    // A row the window found no record for is known by its codes alone.
    own.read = {row.read.isEmpty() ? row.shown : row.read};
    own.shown = {row.shown};
    own.now = {row.now};
    own.origin = {0};
    own.moment = row.moment;
    const MergedRows merged = mergeOwnRows(rows, own);
    if (merged.placed.value(0, -1) < 0)
        return OwnRowSave::Missing;
    // Nothing to change: the file and its .bak stay as they are.
    if (merged.changesFile && !saveShablonXML(table, names, rowElement, rootElement, merged.table))
        return OwnRowSave::Failed;
    row.read = row.shown = row.now;
    return OwnRowSave::Saved;
}
