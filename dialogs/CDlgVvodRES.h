#pragma once
// Monthly input of a RES: the period coefficients of its lines and the loads
// and energies of their transformers, saved into "lines" and "uch_lin" and
// exchanged with the workbook "<RES name> - нагрузки.xlsx".

#include "ui_CDlgVvodRES.h"

#include "store/readregim.h"
#include "store/rowmerge.h"

#include <QDialog>
#include <QHash>
#include <QSet>
#include <QString>

class QTableWidgetItem;

class CDlgVvodRES : public QDialog, public Ui_CDlgVvodRES
{
    Q_OBJECT

public:
    // Works on the RES (npes, nres) named name for its whole life, whatever
    // the tree selects meanwhile. Deletes itself when closed.
    CDlgVvodRES(const QString& npes, const QString& nres, const QString& name,
                QWidget* parent = nullptr);
    ~CDlgVvodRES() override;

    // Fills both tables from "lines" and "uch_lin". Always false.
    bool LoadVtv();
    // Shows the transformer rows of the current line, hides the others.
    void ShowTr();

    QString resName() const { return m_name; }
    QString currentLine() const { return m_curLine; }
    // ZORVAN_PATH + safe RES name + " - нагрузки.xlsx".
    QString workbookFile() const;
    // A cell of the line table or of the node table differs from what the
    // window showed at opening or last saved.
    bool linesChanged() const;
    bool sectionsChanged() const;
    bool hasUnsavedEdits() const { return linesChanged() || sectionsChanged(); }

public slots:
    void slot_saveVtv();
    void slot_LinChanged(QTableWidgetItem* item);
    void slot_UchChanged(QTableWidgetItem* item);
    void slot_RowChanged(int row, int col);
    void slot_CheckChanged();
    void slot_Export();
    void slot_Import();

protected:
    // Escape and the close box: with unsaved edits, asks whether to save.
    void reject() override;

private:
    // Fills both tables with the RES's rows of "lines" and "uch_lin".
    void showRows(const Table& lineRows, const Table& sectionRows);
    // After rows not saved: both tables show the files as they are now.
    void showFiles(const Table& lineRows, const Table& sectionRows);
    // Fills table with rows and keeps them, as read, in read.
    void fillTable(QTableWidget* table, const Table& rows, Table* read);
    // The rows of a table as read or last written and as they are now.
    OwnRows ownLines() const;
    OwnRows ownSections() const;
    // Writes the cells changed here into "lines" and "uch_lin" as they are
    // now, both or neither; refuses when the RES is gone. Whether it wrote.
    bool writeChanges();
    // The table's rows follow what was written: each its new place in read.
    static void adoptRows(QTableWidget* table, OwnRows& own, const MergedRows& merged, Table* read);
    // The name of each line of the line table by its code.
    QHash<QString, QString> lineNames() const;
    static int rowIndex(QTableWidget* table, int row);

    QWidget* m_owner;
    QString m_npes;
    QString m_nres;
    QString m_name;
    // The RES's rows of "lines" and "uch_lin" as read at opening or last
    // written, and the sections as shown then ("Откл" as "1" or "0"); each
    // table row keeps its place here in its first cell's Qt::UserRole. A
    // save writes only what differs.
    Table m_readLines;
    quint64 m_moment = objectsMoment();   // when the window read its RES and lines
    Table m_readSections;
    Table m_shownSections;
    QString m_curLine = QStringLiteral("1");
    // Some cell was set since opening or the last save (a cheap first test).
    bool m_linesChanged = false;
    bool m_sectionsChanged = false;
    bool m_filling = false;  // cells set by the window itself, not the user
};
