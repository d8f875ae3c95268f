#pragma once
// Common conventions of every XML file the program writes: the declaration,
// a root element with "created" and "modeling_authority", 2-space indent,
// UTF-8, characters XML cannot carry dropped, and a write through QSaveFile
// so that a crash or a full disk never leaves a half-written file.

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

// Writes path whole: the declaration, the root element named root with
// "created" and "modeling_authority", whatever body writes inside it, then the
// end. The file is replaced only when everything was written. Returns false
// when the file could not be created or committed; the old file is untouched.
bool writeXmlDocument(const QString& path, const QString& root,
                      const std::function<void(QXmlStreamWriter&)>& body);

// Removes bakPath and copies path to it (silently nothing when path is
// missing). Returns false only when a copy was due and failed.
bool makeBackupCopy(const QString& path, const QString& bakPath);

// True when the file is missing, empty or holds only white space: such a file
// counts as an empty table rather than a damaged one.
bool fileIsBlank(const QString& path);
// The same test on bytes already read.
bool bytesAreBlank(const QByteArray& bytes);
