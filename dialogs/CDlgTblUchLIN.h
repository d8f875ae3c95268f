#pragma once
// Table editor of one line's sections and transformers (rows of "uch_lin"),
// with its edit panel, filters, search and topology check.

#include "ui_CDlgTblUchLIN.h"

#include "store/readregim.h"
#include "reference/catalogtable.h"
#include "store/rowmerge.h"

#include <QDialog>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class CDlgLIN;

class CDlgTblUchLIN : public QDialog, public Ui_CDlgTblUchLIN
{
    Q_OBJECT

public:
    // parent is the line dialog; the editor works on its line. Without one
    // (a test, for instance) it takes the current selection.
    explicit CDlgTblUchLIN(QWidget* parent);
    ~CDlgTblUchLIN() override;

    void LoadVtv();
    void LoadKatLinTR();
    void CalcMaxIN();
    void CalcNewId();
    void Filter();
    void ShowALL();
    // Checks the topology of the table's rows and logs what it finds; true
    // when something was reported or the table is empty.
    bool ChecK();

    // Row of the edit panel, following it through sorting; -1 when none.
    int panelRow() const;
    // The rows differ from what the editor opened with or last saved.
    bool hasUnsavedEdits() const;
    // The 18 cell texts of a table row.
    QStringList rowTexts(int row) const;

    static const int TipCol = 7;   // column of "tip_el"

protected:
    // Escape and the close box: with unsaved rows, asks whether to save.
    void reject() override;

public slots:
    void slot_LinesShow();
    void slot_TransfShow();
    void slot_saveVtv();
    void slot_addRow();
    void slot_addTrans();
    void slot_copyRow();
    void slot_delRow();
    void slot_Find();
    void slot_MarkaChanged(int index);
    void slot_RowChanged(int row, int col);
    void slot_DlinaSpinChanged(double value);
    void slot_OtklChanged(int state);
    void slot_BalanceChanged(int state);

private:
    // The line's rows as read or last written and as the table holds them.
    OwnRows ownRows() const;
    // The save: refused, with its warning, when "uch_lin" is damaged or the
    // line is gone; then the check, the question (when ask) and the write.
    // Whether it saved.
    bool saveRows(bool ask);
    // Numbers new keys and writes the rows changed here into file, "uch_lin"
    // as just read. Whether it saved.
    bool writeRows(const Table& file);
    // Fills the table with the line's rows of file (as read just now), each
    // with a key of its own.
    void fillRows(const Table& file);
    // After rows not saved: the table shows the line's rows of file, the
    // table as just written, with its filter and the panel on its row.
    void showRows(const Table& file);
    // The check of the sections, with its warning; saving goes on regardless.
    void checkBeforeSaving();
    // Raises the largest key and node seen to those of row.
    void noteNumbers(int row);
    // The key after the largest seen.
    qint64 nextKey();
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    void appendNewRow(const QString& name, const QString& type);
    void clearPanel();
    void loadPanel(int row, bool freshRow);
    void selectPanelRow();
    // The filter of one check box: only rows of "tip_el" tip (1 sections,
    // 2 transformers), the other box cleared; unchecked shows every row.
    void showOnlyKind(QCheckBox* own, QCheckBox* other, int tip);

    QPointer<CDlgLIN> m_owner;
    const QStringList m_attrKatLin{QStringLiteral("name")};
    const QStringList m_attrKatTr{QStringLiteral("name"), QStringLiteral("unom")};
    QVector<int> m_rowShown;      // 1 shown, 0 hidden by a filter
    Table m_katLin;               // name
    Table m_katTr;                // name, unom
    int m_findRow = -1;
    QPersistentModelIndex m_loaded;    // row last loaded into the panel
    QPersistentModelIndex m_current;   // row the panel edits
    // Wider than a node or key: the next after the largest int must not overflow.
    qint64 m_nextNode = 0;
    qint64 m_nextKey = 0;
    QString m_findText;
    QString m_klassU;             // voltage class of the line: "35", "110", "220"
    QString m_npes, m_nres, m_nlin;
    QString m_lineName;
    // The line's rows as read at opening or last written, in the file's
    // order, and as shown then (a transformer's length empty); each table
    // row keeps its place here in its first cell's Qt::UserRole (none for a
    // row added here).
    Table m_read;
    Table m_shown;
    SeenNumbers m_seen;           // the largest key and node held here
    const quint64 m_moment = objectsMoment();   // when the editor read its line
    SavedRows m_saved;             // the rows at opening or the last save
};
