#pragma once
// The part of a loss run that the RES and PES windows share: the work window
// naming each line while the calculation goes on, a guard against the asking
// window going away in the middle of it, and the landing of the run's files.

#include "calc/lossrun.h"

#include <QWidget>

#include <functional>

class StagedFiles;

// Runs calculate behind the work window; each line calculated is named in it.
// The work window is modal while it is shown, so no other window can change
// the settings, tables or selection the run works on.
// When window is still there afterwards, store receives the collection while
// the work window is still shown (the result file is written then) and true
// is returned. A window destroyed meanwhile (with its parent, while events
// were processed, from the first pass on) stops the run: nothing is stored
// and false is returned, and the caller must not touch its members any more;
// calculate must therefore hold copies, not references to those members.
bool runLossInWindow(QWidget* window,
                     const std::function<LossCollection(const LossProgress&)>& calculate,
                     const std::function<void(const LossCollection&)>& store);

// Puts the files a run staged in place, all of them or none (commitStaged
// warns), and only when they landed shows the report and, when log is not
// empty, the log. offers (the buttons that show the report and log again or
// merge the result) are enabled when the files landed and disabled when not:
// the files on disk are then an older run's.
bool landLossRun(StagedFiles& files, const QList<QWidget*>& offers, const QString& report,
                 const QString& log = QString());

// The per-line lists of a run, copied into the lists a window keeps and back.
template <class Window>
void keepLines(Window& window, const LossCollection& run)
{
    window.m_lineTotals = run.lineTotals;
    window.m_lineNames = run.lineNames;
    window.m_lineIds = run.lineIds;
    window.m_lineUnom = run.lineUnom;
}

template <class Window>
LossCollection keptLines(const Window& window)
{
    LossCollection run;
    run.lineTotals = window.m_lineTotals;
    run.lineNames = window.m_lineNames;
    run.lineIds = window.m_lineIds;
    run.lineUnom = window.m_lineUnom;
    return run;
}
