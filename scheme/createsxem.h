#pragma once
// Automatic layout of a line's single-line scheme from its line-section rows:
// one bus per node on a grid (columns are the distance from the root in
// sections, rows follow chains of nodes from the leaves back to the root),
// a straight line per section and a symbol per transformer unit. The result
// has the form of a saved scheme, so the scene draws either the same way.

#include "store/readregim.h"
#include "store/sxema.h"

#include <QString>

class CreateSxem : public SxemaLin
{
public:
    // Lays out the current line (NPES, NRES, NLIN at UNOM kV). mode 2 keeps
    // the saved position and label position of every element the saved
    // scheme of the line holds; any other mode, or a line without a saved
    // scheme, lays everything out anew. rows, when given (even empty), are
    // the line's rows in file order; without them "uch_lin" is read. A line
    // without rows warns "Для линии не заведены участки" and leaves every
    // list empty, the key list too. saved, when given, is the line's saved
    // scheme as the caller has just read it; without it the file is read.
    explicit CreateSxem(int mode, const Table* rows = nullptr, const SxemaLin* saved = nullptr);

    QString color = QStringLiteral("RGB(0,0,0)");
};

// The layout's own size classes (bounds 1, 4, 8, 12, 25, 50, 130, 900 kV):
// the first class whose bound exceeds u, the last class for 900 kV and above.
int layoutSizeClass(double u);
