#pragma once
// Common conventions of every XML file the program writes: the declaration,
// a root element with "created" and "modeling_authority", 2-space indent,
// UTF-8, characters XML cannot carry dropped, and a safe write (safefile.h)
// so that a crash or a full disk never leaves a half-written file.

#include "safefile.h"

#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>

// Drops the characters that XML 1.0 cannot carry (control characters other
// than tab, line feed and carriage return, lone surrogates, U+FFFE/U+FFFF).
QString xmlSafe(const QString& text);

// Writes name=value with value passed through xmlSafe.
void writeXmlAttribute(QXmlStreamWriter& xml, const QString& name, const QString& value);

// Writes one empty element carrying the given attributes, all of them, in list
// order; values beyond the names are ignored, missing ones written empty.
void writeXmlRow(QXmlStreamWriter& xml, const QString& element,
                 const QStringList& names, const QStringList& values);

// Values of the named attributes of one element, matched by name and
// trimmed; a name the element lacks reads as "".
QStringList readXmlRow(const QXmlStreamAttributes& attributes, const QStringList& names);

// The root attribute "created" as the program writes it.
QString xmlCreatedStamp();

// The contents of an XML document: the declaration, the root element named
// root with "created" and "modeling_authority", whatever body writes inside
// it, then the end. Fails when the writer met an error.
WriteBody xmlDocument(const QString& root, const std::function<void(QXmlStreamWriter&)>& body);

// Writes path whole as xmlDocument(root, body). The file is replaced only when
// everything was written. Returns false when it could not be written; the old
// file is untouched. Silent: the caller warns.
bool writeXmlDocument(const QString& path, const QString& root,
                      const std::function<void(QXmlStreamWriter&)>& body);

// True when the bytes are empty or only white space: such a file counts as
// empty rather than damaged.
bool bytesAreBlank(const QByteArray& bytes);
