#pragma once
// Monthly input of a RES: the period coefficients of its lines and the loads
// and energies of their transformers, saved into "lines" and "uch_lin" and
// exchanged with the workbook "<RES name> - нагрузки.xlsx".

#include "ui_CDlgVvodRES.h"

#include "store/readregim.h"

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
    bool linesChanged() const { return m_linesChanged; }
    bool sectionsChanged() const { return m_sectionsChanged; }

public slots:
    void slot_saveVtv();
    void slot_LinChanged(QTableWidgetItem* item);
    void slot_UchChanged(QTableWidgetItem* item);
    void slot_RowChanged(int row, int col);
    void slot_CheckChanged();
    void slot_Export();
    void slot_Import();

private:
    void fillTable(QTableWidget* table, const Table& rows, const QVector<int>& indexes);
    // Put the cells edited here into rows, the table as reread just now;
    // give the edited rows no longer found there.
    QStringList mergeLines(Table* rows) const;
    QStringList mergeSections(Table* rows);
    // The warning naming the edited rows a save could not find any more.
    void warnNotSaved(const QStringList& rows);
    QString lineName(const QString& nlin) const;
    static int rowIndex(QTableWidget* table, int row);

    QWidget* m_owner;
    QString m_npes;
    QString m_nres;
    QString m_name;
    Table m_lines;           // "lines" as read at opening
    Table m_sections;        // "uch_lin" as read at opening
    QString m_curLine = QStringLiteral("1");
    bool m_linesChanged = false;
    bool m_sectionsChanged = false;
    // Cells this window changed, by row of m_lines / m_sections: a save
    // writes only those cells, keeping what other windows wrote meanwhile
    // into the same rows.
    QHash<int, QSet<int>> m_editedLines;
    QHash<int, QSet<int>> m_editedSections;
    bool m_filling = false;  // cells set by the window itself, not the user
};
