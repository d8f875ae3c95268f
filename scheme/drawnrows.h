#pragma once
// Which of a line's rows each element of a saved drawing stands for. The
// drawing names its elements by the rows' keys, but stored rows may share a
// key ("0", empty or repeated), and a key freed by a delete may have gone
// to an element of another kind meanwhile: the drawing must never stand for
// a row it was not drawn for, or a delete or a pop-up would reach it.

#include "store/readregim.h"
#include "store/sxema.h"

#include <QVector>

// Pairs each line section, two-winding and three-winding unit of drawing
// with rows (attrUchLin order, keyed as the drawing knows them):
// - a line stands for a section row ("tip_el" "1"), a two-winding unit for
//   a transformer row, a three-winding unit for a transformer row per key
//   it holds (an empty winding key stands for none);
// - of several such rows with its key an element takes the one on the
//   nodes the drawing shows (a line's ends on buses, a unit's top at the
//   bus of its HV winding, the windings leaving the HV row's end node),
//   else the first one not taken; each row goes to one element.
// Returns drawing with each element's keys those its rows have in now
// (nowOf: per row, its row in now, -1 when gone). An element that fits no
// row, or whose row is gone, is left out; buses stay as they are. drawn,
// when given, tells per row whether an element stands for it. Linear in
// the size of the drawing and of the rows.
SxemaLin pairDrawing(const SxemaLin& drawing, const Table& rows, const QVector<int>& nowOf, const Table& now,
                     QVector<bool>* drawn = nullptr);

// The largest node number and key a drawing holds, raising largestNode and
// largestKey: numbers handed out go above them, so that a new element never
// takes the number of a bus or element still drawn.
void noteDrawnNumbers(const SxemaLin& drawing, qint64& largestNode, qint64& largestKey);

// Rows 0..n-1 of a table as their own rows in now.
QVector<int> sameRows(int n);
