#pragma once
// The working dialog of one line: its record in "lines", the loss calculation
// with its protocol, and the way into the line's sections and scheme windows.

#include "ui_CDlgLIN.h"

#include "store/readregim.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

class CDlgTblUchLIN;

// Registers the icons of the line dialog and the sections editor (once).
void initLineDialogResources();

class CDlgLIN : public QDialog, public Ui_CDlgLIN
{
    Q_OBJECT

public:
    // key is the tree's key of the line; the line itself is the current
    // selection at the moment of opening, which the dialog keeps.
    CDlgLIN(QString key, QWidget* parent);
    ~CDlgLIN() override;

    void LoadLIN();

    // Puts the program-wide selection back on this dialog's line (codes,
    // voltage, RES temperature, names) before anything that reads it runs.
    void makeCurrent() const;

    // The line's fields differ from what the dialog showed at opening or
    // last saved.
    bool hasUnsavedEdits() const { return currentRow() != m_row.shown; }

    QString lineNpes() const { return m_npes; }
    QString lineNres() const { return m_nres; }
    QString lineNlin() const { return m_nlin; }
    double lineUnom() const { return m_unom; }

    QPointer<CDlgTblUchLIN> m_pTblUchLIN;  // sections editor, null until opened
    QString m_nameLIN;                     // the line's name from its record
    QPointer<QWidget> m_pTree;             // the tree that opened the dialog

public slots:
    void slot_Calc();
    void slot_InfoUCH();
    void slot_Param();
    void slot_Sxema();
    void slot_EditSxema();
    void slot_Refresh();
    void slot_Save();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape and the close box: the sections editor closes first (asking for
    // its own edits), then the dialog asks for its own.
    void reject() override;

private:
    // The line's record as the fields show it now ("lines" order).
    QStringList currentRow() const;
    // Writes the fields changed here into the line's record as it is now.
    bool saveLine();
    // The line was deleted since the dialog opened, whoever holds its codes
    // now; says so as for a line not found.
    bool lineGone() const;

    QString m_npes, m_nres, m_nlin;
    double m_unom = 0.0;
    double m_tRes = 0.0;
    QStringList m_names;   // pNameRas as this dialog set it
    // The line's record as read and as shown at opening or the last save.
    OwnRow m_row;
    bool m_busy = false;   // a calculation is running
};
