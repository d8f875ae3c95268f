#include "arxiv.h"

#include "messages.h"
#include "readregim.h"
#include "xmlfile.h"

#include <QXmlStreamReader>

namespace {

const QString kRecordElement = QStringLiteral("PoteriEn");
const QString kRowElement = QStringLiteral("ResArxiv");
const QString kRootElement = QStringLiteral("ArxivPot");
const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kMergeRefused = QStringLiteral("Ошибка добаления в архив");

// The record attributes in the order they are written.
const QStringList kRecordAttributes = {"period", "year", "npes", "nres", "type"};

QString* recordField(ResPoter& record, int index)
{
    switch (index) {
    case 0: return &record.period;
    case 1: return &record.year;
    case 2: return &record.npes;
    case 3: return &record.nres;
    default: return &record.type;
    }
}

const QString& recordFieldValue(const ResPoter& record, int index)
{
    switch (index) {
    case 0: return record.period;
    case 1: return record.year;
    case 2: return record.npes;
    case 3: return record.nres;
    default: return record.type;
    }
}

void showRefusal()
{
    ShowWarning(kWarningTitle, kMergeRefused);
}

WriteBody arxivDocument(const QVector<ResPoter>& records)
{
    return xmlDocument(kRootElement, [&records](QXmlStreamWriter& xml) {
        for (const ResPoter& record : records) {
            xml.writeStartElement(kRecordElement);
            for (int i = 0; i < kRecordAttributes.size(); ++i)
                writeXmlAttribute(xml, kRecordAttributes.at(i), recordFieldValue(record, i));
            for (const QStringList& row : record.rows)
                writeXmlRow(xml, kRowElement, attrArx, row);
            xml.writeEndElement();
        }
    });
}

} // namespace

bool sameArxivKey(const ResPoter& a, const ResPoter& b)
{
    return a.year == b.year && a.period == b.period && a.npes == b.npes && a.nres == b.nres;
}

ArxivFile parseArxiv(const QByteArray& bytes)
{
    ArxivFile file;
    file.opened = true;

    ResPoter current;
    bool currentHasRows = false;
    int elements = 0;
    int rowElements = 0;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        ++elements;
        const QStringRef element = xml.name();
        if (element == kRecordElement) {
            if (currentHasRows)
                file.records.append(current);
            // A record has only its own attributes: nothing carries over from
            // the record before it.
            current = ResPoter();
            currentHasRows = false;
            ++file.recordElements;
            const QXmlStreamAttributes attributes = xml.attributes();
            for (int i = 0; i < kRecordAttributes.size(); ++i) {
                const QString& name = kRecordAttributes.at(i);
                if (attributes.hasAttribute(name)) {
                    // Record attributes are taken exactly as written.
                    const QString value = attributes.value(name).toString();
                    *recordField(current, i) = value;
                    *recordField(file.asResult, i) = value;
                }
            }
        } else if (element == kRowElement) {
            const QStringList row = readXmlRow(xml.attributes(), attrArx);
            current.rows.append(row);
            file.asResult.rows.append(row);
            currentHasRows = true;
            ++rowElements;
        }
    }
    if (currentHasRows)
        file.records.append(current);

    if (xml.hasError()) {
        file.blank = bytesAreBlank(bytes);
        file.xmlError = !file.blank;
    } else if (elements > 1 && file.recordElements == 0 && rowElements == 0) {
        file.xmlError = true;   // elements, but none of an archive
    }
    return file;
}

ArxivFile readArxivFile(const QString& path)
{
    const FileBytes file = readFileBytes(path);
    if (!file.readable)
        return ArxivFile();
    return parseArxiv(file.bytes);
}

bool resultRecord(const ArxivFile& file, ResPoter* record)
{
    *record = file.asResult;
    if (!file.opened || file.xmlError || file.recordElements == 0 || record->rows.isEmpty())
        return false;
    for (int i = 0; i < 4; ++i) {
        if (recordFieldValue(*record, i).trimmed().isEmpty())
            return false;
    }
    return true;
}

void mergeArxivRecord(QVector<ResPoter>& records, const ResPoter& record)
{
    bool replaced = false;
    for (ResPoter& stored : records) {
        if (sameArxivKey(stored, record)) {
            stored = record;
            replaced = true;
        }
    }
    if (!replaced)
        records.append(record);
}

bool writeArxivFile(const QString& path, const QVector<ResPoter>& records)
{
    return writeFileSafely(path, arxivDocument(records));
}

bool stageArxivFile(StagedFiles& files, const QString& path, const QVector<ResPoter>& records,
                    const QString& title)
{
    if (files.failed())
        return false;
    if (files.stage(path, arxivDocument(records)))
        return true;
    warnCannotCreate(files.failedPath(), title);
    return false;
}

bool SaveArxiv()
{
    const QString resultPath = ZORVAN_PATH + "poteri.xml";
    const QString archivePath = ZORVAN_PATH + "arxiv110.xml";
    const QString bakPath = ZORVAN_PATH + "arxiv110.bak";

    const FileBytes result = readFileBytes(resultPath);
    if (!result.readable) {
        ShowWarning(kMergeRefused, "Нет файла " + resultPath);
        return false;
    }

    // A damaged or incomplete result would put a record without key or rows
    // into the archive (or, as the first archive, break every later merge).
    ResPoter record;
    if (!resultRecord(parseArxiv(result.bytes), &record)) {
        showRefusal();
        return false;
    }

    const FileBytes archiveFile = readFileBytes(archivePath);
    if (!archiveFile.exists) {
        // The first result becomes the archive as it is, byte for byte.
        if (!writeBytes(archivePath, result.bytes)) {
            warnCannotCreate(archivePath);
            return false;
        }
        ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные добалены в архив"));
        return true;
    }

    // An archive that could not be read whole is never rewritten from what
    // was read: it and its .bak stay as they are.
    ArxivFile archive;
    if (archiveFile.readable)
        archive = parseArxiv(archiveFile.bytes);
    if (!archive.opened || archive.xmlError) {
        showRefusal();
        return false;
    }

    // The archive and its previous version as .bak: both or neither, so a
    // failed merge never leaves a short archive to be copied over the .bak
    // by the next one.
    mergeArxivRecord(archive.records, record);
    StagedFiles files;
    if (!stageArxivFile(files, archivePath, archive.records))
        return false;
    if (!files.stageBytes(bakPath, archiveFile.bytes)) {
        warnCannotCreate(bakPath);
        return false;
    }
    if (!commitStaged(files))
        return false;
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные добалены в архив"));
    return true;
}
