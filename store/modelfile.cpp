// The whole-model file in "net/": the six tables of a network model (PES,
// RES, lines, sections and both catalogs) packed into one XML file.

#include "readregim.h"

#include "messages.h"
#include "xmlfile.h"

#include <QFile>
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

} // namespace

bool CreateNet(const QString& fileName)
{
    Table tables[kTableCount];
    for (int t = 0; t < kTableCount; ++t) {
        bool damaged = false;
        tables[t] = ReadShablonXML(kTables[t].table, *kTables[t].names, kTables[t].row, &damaged);
        // A model cut short at a damaged table would be taken for the whole
        // network later; the reader has already warned.
        if (damaged)
            return false;
    }

    const bool written = writeXmlDocument(fileName, QStringLiteral("Net10"),
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
        ShowWarning(kWarningTitle, "Невозможно создать файл -" + fileName);
        return false;
    }
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Модель сети сохранена"));
    return true;
}

int LoadNet(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ShowWarning(kWarningTitle, "Отсутствует файл -" + fileName);
        return 1;
    }

    Table tables[kTableCount];
    QXmlStreamReader xml(&file);
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
    file.close();

    // A damaged model, or one without a single PES, would replace a working
    // network with part of one: nothing is changed.
    if (damaged || tables[0].isEmpty()) {
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + fileName);
        return 1;
    }

    bool ok = true;
    for (int t = 0; t < kTableCount; ++t) {
        const ModelTable& m = kTables[t];
        if (m.catalog) {
            // An empty catalog container keeps the current catalog (the
            // writer refuses it with its warning).
            const bool written = saveShablonXML(m.table, *m.names, m.row, m.root, tables[t]);
            ok = (written || tables[t].isEmpty()) && ok;
        } else {
            // The model simply has none of these: the table becomes empty.
            ok = saveShablonXMLAllowEmpty(m.table, *m.names, m.row, m.root, tables[t]) && ok;
        }
    }
    return ok ? 0 : 1;
}
