// The whole-model file in "net/": the six tables of a network model (PES,
// RES, lines, sections and both catalogs) packed into one XML file.

#include "readregim.h"

#include "messages.h"
#include "safefile.h"
#include "xmlfile.h"

#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

const QString kWarningTitle = QStringLiteral("Предупреждение");

struct ModelTable
{
    const char* table;       // table file name without ".xml"
    const char* container;   // container element in the model file
    const char* row;         // row element
    const QStringList* names;
    const char* root;        // root of the table file written on loading
    bool catalog;            // a catalog keeps its file when the model has none
};

// In the order of the model file and of the writes on loading.
const ModelTable kTables[] = {
    {"pes", "net110_PES", "PES", &attrPES, "net110_PES", false},
    {"res", "net110_RES", "RES", &attrRES, "net110_RES", false},
    {"lines", "net110_LIN", "LIN", &attrLin, "net110_LIN", false},
    {"uch_lin", "net110_uch_lin", "UCH_LIN", &attrUchLin, "net110_uch_lin", false},
    {"kat_lin", "katalog_wire110", "Wire", &attrL, "net110_WireInfo", true},
    {"kat_tr", "katalog_tr110", "Trans", &attrTR, "net110_TRansInfo", true},
};
const int kTableCount = int(sizeof(kTables) / sizeof(kTables[0]));

// A model file lives directly in "net/"; a name that leads elsewhere (a link
// to "../pes.xml", say) would read or replace a live file.
QString modelPath(const QString& fileName)
{
    return realPathInFolder(ZORVAN_PATH + "net", fileName);
}

} // namespace

bool CreateNet(const QString& fileName)
{
    const QString path = modelPath(fileName);
    if (path.isEmpty()) {
        warnCannotCreate(fileName);
        return false;
    }

    Table tables[kTableCount];
    for (int t = 0; t < kTableCount; ++t) {
        bool damaged = false;
        tables[t] = ReadShablonXML(kTables[t].table, *kTables[t].names, kTables[t].row, &damaged);
        // A model cut short at a damaged table would be taken for the whole
        // network later; the reader has already warned.
        if (damaged)
            return false;
    }
    // Nor would a model without a PES load back. A missing table has been
    // warned about by the reader.
    if (tables[0].isEmpty()) {
        const QString pesFile = ZORVAN_PATH + kTables[0].table + ".xml";
        if (QFileInfo::exists(pesFile))
            ShowWarning(kWarningTitle, "Пустая таблица -" + pesFile);
        return false;
    }

    const bool written = writeXmlDocument(path, QStringLiteral("Net10"),
                                          [&](QXmlStreamWriter& xml) {
        for (int t = 0; t < kTableCount; ++t) {
            xml.writeStartElement(QString::fromLatin1(kTables[t].container));
            const QString row = QString::fromLatin1(kTables[t].row);
            for (const QStringList& values : tables[t])
                writeXmlRow(xml, row, *kTables[t].names, values);
            xml.writeEndElement();
        }
    });
    if (!written) {
        warnCannotCreate(fileName);
        return false;
    }
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Модель сети сохранена"));
    return true;
}

int LoadNet(const QString& fileName)
{
    const QString path = modelPath(fileName);
    const FileBytes file = path.isEmpty() ? FileBytes() : readFileBytes(path);
    // Missing, a link out of "net/" or unreadable: each is told as it is.
    if (!file.readable) {
        ShowWarning(kWarningTitle, readRefusal(ZORVAN_PATH + "net", fileName));
        return 1;
    }

    Table tables[kTableCount];
    QXmlStreamReader xml(file.bytes);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = xml.name();
        for (int t = 0; t < kTableCount; ++t) {
            if (name != QLatin1String(kTables[t].row))
                continue;
            tables[t].append(readXmlRow(xml.attributes(), *kTables[t].names));
            break;
        }
    }
    const bool damaged = xml.hasError();

    // A damaged model, or one without a single PES, would replace a working
    // network with part of one: nothing is changed.
    if (damaged || tables[0].isEmpty()) {
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + fileName);
        return 1;
    }

    // The six tables and their .bak copies are replaced together or not at
    // all, so that a failed load leaves the old model whole.
    StagedFiles files;
    for (int t = 0; t < kTableCount; ++t) {
        const ModelTable& m = kTables[t];
        // An empty catalog container keeps the current catalog: the writer's
        // refusal "Пустая таблица -" is all that happens, the set goes on. A
        // model without RES, lines or sections simply has none, and the table
        // becomes empty.
        if (m.catalog && tables[t].isEmpty()) {
            stageShablonXML(files, m.table, *m.names, m.row, m.root, tables[t]);
            continue;
        }
        if (!stageShablonXML(files, m.table, *m.names, m.row, m.root, tables[t], !m.catalog))
            return 1;
    }
    return commitStaged(files) ? 0 : 1;
}
