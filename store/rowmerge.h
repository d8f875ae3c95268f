#pragma once
// The one merge by which every window that edits rows of a table ("lines",
// "uch_lin", "res") saves them. A window keeps its rows as it read them; at
// saving the table is read again and only what the window changed since is
// applied to it: the cells it changed, the rows it added, the rows it
// deleted. A cell it did not change keeps what the file holds now, whoever
// wrote it; where both changed one cell, the window's value wins (the user
// is looking at it). A row it changed that another window deleted meanwhile
// is not brought back but reported, so the window can say so.
//
// Rows are known by their identity columns (the codes, and the element key
// of a line-section row); rows of equal identity pair up by their turn, the
// first read with the first in the file. One pass over the table: linear in
// its size.

#include "store/readregim.h"

#include <QHash>
#include <QString>
#include <QVector>

class QObject;

struct OwnRows
{
    // Columns that name a row: {0, 1, 2} for a line, {0, 1, 2, 17} for a
    // line section, {0, 1} for a RES.
    QVector<int> identity;
    // The element key among them (17 for "uch_lin"), or -1. A row added here,
    // or given its key here, whose key another row of its line holds by now
    // gets the next free key of the line.
    int keyColumn = -1;
    // The rows as the window showed them when it read them (or last wrote
    // them), in the file's order. A value the window shows rounded is kept
    // here as shown, so that showing it is no change.
    Table read;
    // The rows as they stand in the window now, in any order.
    Table now;
    // Per row of now: its row in read; -1 for a row added here. A row of
    // read that no row of now comes from was deleted here.
    QVector<int> origin;

    // Whether anything here differs from read: a cell, a row added or deleted.
    bool changed() const;
};

struct MergedRows
{
    Table table;                 // the table to write
    QVector<int> lost;           // rows of now changed here whose row has left the file
    QHash<int, QString> newKeys; // rows of now whose key was taken meanwhile: the key they get
    QVector<int> placed;         // per row of now: its row in table; -1 when lost or dropped
};

// Applies own to file, the table as read just now. Rows of now that were
// not changed here and whose row has left the file are dropped silently.
// Rows added here follow the last row of their line (the identity without
// the key) in the file, or end the table when the line has none; every other
// row keeps its place.
MergedRows mergeOwnRows(const Table& file, const OwnRows& own);

// After merged was written: now, with the keys the merge gave, is what the
// window read from now on (read in the table's order, origin following), so
// that a second save changes nothing.
void adoptWritten(OwnRows& own, const MergedRows& merged);

// The warning of a save that could not keep some of the rows changed here:
// another window deleted or renumbered them. rows names each one.
void warnRowsNotSaved(const QStringList& rows, QObject* parent = nullptr);
