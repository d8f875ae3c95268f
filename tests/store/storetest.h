#pragma once
// What the store tests share.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

// A fresh working directory (the data path) and the messages shown meanwhile.
struct Scratch : TempWorkDir, MessageRecorder {};

inline QString readError(const QString& path) { return "Предупреждение|Ошибка чтения файла " + path; }
inline QString cannotCreate(const QString& path) { return "Предупреждение|Невозможно создать файл -" + path; }

// The rows of a table file as "a,b,c" of the columns named.
inline QStringList rows(const QString& table, const QString& row, const QStringList& names)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, names, row))
        out.append(r.join(','));
    return out;
}

// A drawing of one bus for the line of key: npes, nres, nlin[, colour].
inline SxemaLin drawing(const QStringList& key) { return {key, {{"1", "2", "3", "4", "1", "0", "0", "0"}}, {}, {}, {}}; }

// The key of every saved drawing, as "npes,nres,nlin[,colour]".
inline QStringList drawings()
{
    QStringList out;
    for (const SxemaLin& s : readSxemaFile().records)
        out.append(s.key.join(','));
    return out;
}
