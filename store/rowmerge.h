#pragma once
// The one merge by which every window that edits rows of a table ("lines",
// "uch_lin", "res") saves them. A window keeps its rows as it read them; at
// saving the table is read again and only what the window changed since is
// applied to it: the cells it changed, the rows it added, the rows it
// deleted. A cell it did not change keeps what the file holds now, whoever
// wrote it; where both changed one cell, the window's value wins (the user
// is looking at it). A value the window only shows otherwise than the file
// holds it (a clamped field, an empty flag shown cleared) is written as shown
// unless another window changed that cell meanwhile.
//
// A row is the element it is: it pairs with a row of the file only while
// that row has the same codes and element columns as when the window read it
// (for a line section its key, nodes and type). A row the window changed or
// deleted that the file no longer holds as the same element is left alone
// and reported, so the window can say so: nothing is ever written onto
// another element. Rows of equal identity pair up by their turn, the first
// read with the first in the file. An object (line, RES) deleted since the
// window read it is not the window's any more, whoever holds its codes now:
// its rows take nothing from the window. One pass over the table: linear in
// its size.
//
// The merge runs in the order of that rule: pair the rows read with the
// file's, set the cells changed here, take out the rows deleted here, give
// the keys and then the nodes that other windows took meanwhile new numbers,
// and place the rows added here.

#include "store/readregim.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <functional>

class QObject;

// The largest key and node number a window has seen on its line's rows
// (read, held, or held and deleted): the numbers it hands out go above them,
// so that no stale window elsewhere takes a new element for an old one.
struct SeenNumbers
{
    qint64 key = 0;
    qint64 node = 0;
    // Raises both to those of a line-section row (attrUchLin order).
    void note(const QStringList& row);
};

struct OwnRows
{
    // Columns that name the object the rows belong to: {0, 1, 2} (a line)
    // for "lines" and "uch_lin", {0, 1} (a RES) for "res".
    QVector<int> codes;
    // Columns that, with the codes, tell one row of an object from another:
    // a line section's key, nodes and type; none where the codes name the row.
    QVector<int> element;
    // The element key among them, or -1. A row added here, or given its key
    // here, whose key another row of its line holds by now gets the next
    // free key of the line.
    int keyColumn = -1;
    // The node columns, or none. A node number that only rows added here use
    // and that another window's rows of the line hold by now moves on to the
    // next free node number of the line, in every row of now that uses it.
    QVector<int> nodeColumns;
    // Numbers handed out by the merge are above these.
    SeenNumbers seen;
    // The rows as the file held them when the window read them (or as it
    // last wrote them), in the file's order.
    Table read;
    // The same rows as the window showed them then; empty when shown as read.
    Table shown;
    // The rows as they stand in the window now, in any order.
    Table now;
    // Per row of now: its row in read; -1 for a row added here. A row of
    // read that no row of now comes from was deleted here.
    QVector<int> origin;
    // When the window read its objects (objectsMoment()).
    quint64 moment = objectsMoment();

    // Whether the user changed anything since the rows were read (compared
    // with what was shown): a cell, a row added or deleted.
    bool changed() const;
};

// The rows of "uch_lin" (attrUchLin order) as a window of lines keeps them:
// known by codes, key, nodes and type; keys and nodes numbered per line.
OwnRows ownSectionRows();

// Gives each of a line's rows (attrUchLin order) whose key is empty, reads
// as 0 or repeats an earlier row's key a key of its own: the next keys above
// every key seen, which rises with them. A window does so as it reads the
// rows, so that a delete or a pop-up touches one element; the merge writes
// the keys with the window's next save. Returns the rows given a key.
QVector<int> giveOwnKeys(Table& rows, SeenNumbers& seen);

struct MergedRows
{
    Table table;                 // the table to write
    bool changesFile = false;    // table differs from the file read
    QVector<int> lost;           // rows of now changed here whose element has left the file
    QVector<int> lostDeleted;    // rows of read deleted here whose element another window changed
    QVector<int> lostDeletedAt;  // per row of lostDeleted: the row of table that element is now
    QHash<int, QString> newKeys; // rows of now whose key was taken meanwhile: the key they get
    // Rows of now whose node numbers were taken meanwhile: column -> new node.
    QHash<int, QHash<int, QString>> newNodes;
    QVector<int> placed;         // per row of now: its row in table; -1 when lost or dropped
};

// Applies own to file, the table as read just now. Rows of now that were
// not changed here and whose row has left the file are dropped silently.
// Rows added here follow the last row of their line (the codes) in the file,
// or end the table when the line has none; every other row keeps its place.
MergedRows mergeOwnRows(const Table& file, const OwnRows& own);

// After merged was written: now, with the keys and nodes the merge gave, is
// what the window read from now on (read in the table's order, origin
// following, shown as read), so that a second save changes nothing.
void adoptWritten(OwnRows& own, const MergedRows& merged);

// The rows a save could not keep (merged.lost from now, merged.lostDeleted
// from read), each as name gives it; call before adoptWritten.
QStringList rowsNotSaved(const OwnRows& own, const MergedRows& merged,
                         const std::function<QString(const QStringList&)>& name);

// A line-section row as the warnings name it: "<name>, узлы <begin>-<end>".
QString sectionRowText(const QStringList& row);

// Each node number of now that the merge moved on, once and in the order of
// the numbers, as the save says it: "Узел 10 занят другим окном, присвоен
// номер 12".
QStringList movedNodes(const OwnRows& own, const MergedRows& merged);

// The warning of a save that could not keep some of the rows changed here:
// another window deleted or changed them. rows names each one.
void warnRowsNotSaved(const QStringList& rows, QObject* parent = nullptr);
