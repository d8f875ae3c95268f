#include "xmlfile.h"

#include <QDateTime>

namespace {

bool xmlCharAllowed(uint c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString xmlSafe(const QString& text)
{
    // Fast path: nearly every value is clean.
    bool clean = true;
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (u < 0x20 || ch.isSurrogate() || u >= 0xFFFE) {
            clean = false;
            break;
        }
    }
    if (clean)
        return text;

    QString out;
    out.reserve(text.size());
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            const uint code = QChar::surrogateToUcs4(ch, text.at(i + 1));
            if (xmlCharAllowed(code)) {
                out.append(ch);
                out.append(text.at(i + 1));
            }
            ++i;
            continue;
        }
        if (ch.isSurrogate())
            continue; // a lone half of a pair
        if (xmlCharAllowed(ch.unicode()))
            out.append(ch);
    }
    return out;
}

void writeXmlAttribute(QXmlStreamWriter& xml, const QString& name, const QString& value)
{
    xml.writeAttribute(name, xmlSafe(value));
}

void writeXmlRow(QXmlStreamWriter& xml, const QString& element,
                 const QStringList& names, const QStringList& values)
{
    xml.writeEmptyElement(element);
    for (int i = 0; i < names.size(); ++i)
        writeXmlAttribute(xml, names.at(i), i < values.size() ? values.at(i) : QString());
}

QStringList readXmlRow(const QXmlStreamAttributes& attributes, const QStringList& names)
{
    QStringList row;
    row.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        row.append(QString());
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringRef name = attribute.name();
        for (int i = 0; i < names.size(); ++i) {
            if (name == names.at(i))
                row[i] = attribute.value().toString().trimmed();
        }
    }
    return row;
}

QString xmlCreatedStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

WriteBody xmlDocument(const QString& root, const std::function<void(QXmlStreamWriter&)>& body)
{
    return [root, body](QIODevice& out) {
        QXmlStreamWriter xml(&out);
        xml.setCodec("UTF-8");
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        xml.writeStartElement(root);
        xml.writeAttribute(QStringLiteral("created"), xmlCreatedStamp());
        xml.writeAttribute(QStringLiteral("modeling_authority"), QStringLiteral("TARNO"));
        if (body)
            body(xml);
        xml.writeEndElement();
        xml.writeEndDocument();
        return !xml.hasError();
    };
}

bool writeXmlDocument(const QString& path, const QString& root,
                      const std::function<void(QXmlStreamWriter&)>& body)
{
    return writeFileSafely(path, xmlDocument(root, body));
}

bool bytesAreBlank(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    return true;
}
