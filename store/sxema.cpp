#include "sxema.h"

#include "messages.h"
#include "numbers.h"
#include "readregim.h"
#include "xmlfile.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

const QStringList sxemaKeyAttrs = {"npes", "nres", "nlin", "background-color"};
const QStringList sxemaNodeAttrs = {"x", "y", "w", "h", "key", "xkt", "ykt", "hide"};
const QStringList sxemaLineAttrs = {"points", "key", "xkt", "ykt", "hide"};
const QStringList sxemaTransfAttrs = {"x", "y", "w", "h", "u_vn", "u_nn",
                                      "key", "xkt", "ykt", "hide"};
const QStringList sxemaTransf3Attrs = {"x", "y", "w", "h", "u_vn", "u_sn", "u_nn",
                                       "key", "key2", "key3", "xkt", "ykt", "hide"};

namespace {

const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kRecordElement = QStringLiteral("LinID");

// The record's key: the three codes (looked up by name, whatever their order
// in the element) and the colour when the record carries one.
QStringList recordKey(const QXmlStreamAttributes& attributes)
{
    QStringList key = readXmlRow(attributes, sxemaKeyAttrs);
    if (!attributes.hasAttribute(sxemaKeyAttrs.at(3)))
        key.removeLast();
    return key;
}

bool hasCodes(const QXmlStreamAttributes& attributes)
{
    for (int i = 0; i < 3; ++i) {
        if (!attributes.hasAttribute(sxemaKeyAttrs.at(i)))
            return false;
    }
    return true;
}

// Appends an element row to the list of its kind; false for other elements.
bool appendElement(QXmlStreamReader& xml, SxemaLin& record)
{
    const QStringRef name = xml.name();
    if (name == QLatin1String("Node"))
        record.nodes.append(readXmlRow(xml.attributes(), sxemaNodeAttrs));
    else if (name == QLatin1String("Line"))
        record.lines.append(readXmlRow(xml.attributes(), sxemaLineAttrs));
    else if (name == QLatin1String("Transf"))
        record.transf.append(readXmlRow(xml.attributes(), sxemaTransfAttrs));
    else if (name == QLatin1String("Transf_3"))
        record.transf3.append(readXmlRow(xml.attributes(), sxemaTransf3Attrs));
    else
        return false;
    return true;
}

bool sameLine(const QStringList& a, const QStringList& b)
{
    return a.size() >= 3 && b.size() >= 3 && a.at(0) == b.at(0) && a.at(1) == b.at(1)
        && a.at(2) == b.at(2);
}

void writeRows(QXmlStreamWriter& xml, const QString& element, const QStringList& names,
               const QVector<QStringList>& rows)
{
    for (const QStringList& row : rows)
        writeXmlRow(xml, element, names, row);
}

} // namespace

double schemeCoordinate(const QString& text)
{
    return qBound(-double(kMaxSchemeExtent), toNumber(text), double(kMaxSchemeExtent));
}

QString sxemaFilePath()
{
    return ZORVAN_PATH + QStringLiteral("sxemalin.xml");
}

ReadSxem::ReadSxem()
{
    QFile file(sxemaFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;

    QXmlStreamReader xml(&file);
    bool inRecord = false;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        // What stands after our record belongs to no line.
        if (token == QXmlStreamReader::EndElement && inRecord && xml.name() == kRecordElement)
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == kRecordElement) {
            if (inRecord)
                break; // the next line's record ends ours
            const QXmlStreamAttributes attributes = xml.attributes();
            if (!hasCodes(attributes))
                continue;
            const QStringList recKey = recordKey(attributes);
            if (recKey.at(0) != NPES || recKey.at(1) != NRES || recKey.at(2) != NLIN)
                continue;
            inRecord = true;
            key = recKey;
            if (key.size() > 3)
                color = key.at(3);
        } else if (inRecord) {
            appendElement(xml, *this);
        }
    }
}

SxemaFile readSxemaFile()
{
    SxemaFile result;
    const FileBytes file = readFileBytes(sxemaFilePath());
    if (!file.exists)
        return result;
    // A file that cannot be read would be rewritten from nothing.
    if (!file.readable) {
        result.xmlError = true;
        return result;
    }

    QXmlStreamReader xml(file.bytes);
    SxemaLin current;
    bool inRecord = false;
    bool hasElements = false;
    int elements = 0;
    int recordElements = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        // Elements between two records belong to no line: not carried over.
        if (token == QXmlStreamReader::EndElement && xml.name() == kRecordElement)
            inRecord = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++elements;
        if (xml.name() == kRecordElement) {
            // A record without any element is not carried over.
            if (hasElements)
                result.records.append(current);
            current = SxemaLin();
            current.key = recordKey(xml.attributes());
            inRecord = true;
            hasElements = false;
            ++recordElements;
        } else if (inRecord && appendElement(xml, current)) {
            hasElements = true;
        }
    }
    if (hasElements)
        result.records.append(current);

    if (xml.hasError())
        result.xmlError = !(result.records.isEmpty() && bytesAreBlank(file.bytes));
    else
        result.xmlError = recordElements == 0 && elements > 1;   // not a scheme file
    return result;
}

bool stageSxemaFile(StagedFiles& files, const QVector<SxemaLin>& records)
{
    if (files.failed())
        return false;
    return stageWithBackup(files, sxemaFilePath(), ZORVAN_PATH + QStringLiteral("sxemalin.bak"),
                           xmlDocument(QStringLiteral("lines_sxemes"), [&](QXmlStreamWriter& xml) {
        for (const SxemaLin& record : records) {
            xml.writeStartElement(kRecordElement);
            const int n = qMin(record.key.size(), sxemaKeyAttrs.size());
            for (int i = 0; i < n; ++i)
                writeXmlAttribute(xml, sxemaKeyAttrs.at(i), record.key.at(i));
            writeRows(xml, QStringLiteral("Node"), sxemaNodeAttrs, record.nodes);
            writeRows(xml, QStringLiteral("Line"), sxemaLineAttrs, record.lines);
            writeRows(xml, QStringLiteral("Transf"), sxemaTransfAttrs, record.transf);
            writeRows(xml, QStringLiteral("Transf_3"), sxemaTransf3Attrs, record.transf3);
            xml.writeEndElement();
        }
    }));
}

bool writeSxemaFile(const QVector<SxemaLin>& records)
{
    StagedFiles files;
    return stageSxemaFile(files, records) && commitStaged(files);
}

bool stageSxemaRecord(StagedFiles& files, SxemaLin sxema, bool* unchanged)
{
    if (unchanged)
        *unchanged = false;
    if (files.failed())
        return false;
    // Without all three codes the record could not be found again.
    if (sxema.key.size() < 3) {
        ShowWarning(kWarningTitle, QStringLiteral("Нет данных о ключе схемы"));
        return false;
    }
    if (sxema.key.size() > sxemaKeyAttrs.size())
        sxema.key = sxema.key.mid(0, sxemaKeyAttrs.size());

    SxemaFile file = readSxemaFile();
    // Rewriting from a damaged read would drop every record after the damage.
    if (file.xmlError) {
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + sxemaFilePath());
        return false;
    }

    bool replaced = false;
    bool same = true;
    for (SxemaLin& record : file.records) {
        if (sameLine(record.key, sxema.key)) {
            same = same && sameSxema(record, sxema);
            record = sxema;
            replaced = true;
        }
    }
    if (!replaced) {
        // A record without elements would not be read back anyway.
        same = sxema.nodes.isEmpty() && sxema.lines.isEmpty() && sxema.transf.isEmpty() && sxema.transf3.isEmpty();
        file.records.append(sxema);
    }
    if (unchanged && same) {
        *unchanged = true;
        return true;
    }
    return stageSxemaFile(files, file.records);
}

namespace {

Table sortedRecords(Table records)
{
    std::sort(records.begin(), records.end());
    return records;
}

} // namespace

bool sameSxema(const SxemaLin& a, const SxemaLin& b)
{
    return a.key == b.key && sortedRecords(a.nodes) == sortedRecords(b.nodes)
        && sortedRecords(a.lines) == sortedRecords(b.lines) && sortedRecords(a.transf) == sortedRecords(b.transf)
        && sortedRecords(a.transf3) == sortedRecords(b.transf3);
}

bool saveSxemaXML(SxemaLin sxema)
{
    StagedFiles files;
    if (!stageSxemaRecord(files, std::move(sxema)) || !commitStaged(files))
        return false;
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"));
    return true;
}
