#pragma once
// The line-section table a scheme editor writes back. The editor keeps one
// line's rows in memory from opening to saving; meanwhile the sections editor
// or another scheme window may have saved the table. Only what this editor
// changed replaces the table's rows; the rest is taken as the table is now.

#include "store/readregim.h"

#include <QSet>
#include <QString>
#include <QStringList>

// What the editor knows of its line at saving.
struct EditedLineRows
{
    QStringList codes;         // npes, nres, nlin of the line
    Table rows;                // the line's rows in the editor, in their order
    QSet<QString> loadedKeys;  // keys of the line's rows as the editor read them
    QSet<QString> changedKeys; // keys of rows the editor added, deleted or edited
};

// The table to write, from file (the table as reread just now):
// - first the line's rows: the editor's rows in their order, where a row the
//   editor did not change is the file's row with its key (gone when the file
//   no longer has it), followed by the file's rows of the line that the
//   editor neither holds nor deleted (another window added them), in file
//   order;
// - then every row of other lines, in file order.
// Rows with equal keys pair up in their order; a key the editor added does
// not replace a file row that another window gave the same key.
Table mergeLineRows(const Table& file, const EditedLineRows& edited);
