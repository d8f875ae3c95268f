#pragma once
// The loss archive viewer of one PES or RES: the periods of a year that the
// archive holds for it, the energy and power tables and the workbook of the
// ticked periods summed, and the removal of records from the archive.

#include "arxivsum.h"

#include "ui_CDlgArxiv.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class CDlgArxiv : public QDialog, private Ui_CDlgArxiv
{
    Q_OBJECT

public:
    // The viewer of the window parent that opens it: for level 0 the PES
    // npes, whose results are stored under nres "0" (NRES becomes "0" as
    // well), otherwise the RES npes, nres. It keeps that object and the
    // object names of pNameRas whatever the current selection does later.
    CDlgArxiv(QWidget* parent, int level, const QString& npes, const QString& nres);
    ~CDlgArxiv() override;

    void LoadArxiv();
    void ReadArxiv();

public slots:
    void slot_showArxiv();
    void slot_showPower();
    void slot_showExcel();
    void slot_delRow();
    void slot_EraseArxiv();
    void slot_MetodComboChanged(int row);

private:
    // The ticked periods selected and summed into m_rows; false, after the
    // warning, when none holds a record.
    bool selectAndSum(const QString& separator, ArxivSelection* selection);
    QVector<bool> tickedPeriods() const;
    // The report writer prints pNameRas: make it this viewer's names again.
    void makeCurrent() const;
    // Removes what mark marks in the archive as it now stands, then shows
    // what is left; nothing says what to report when mark finds nothing.
    void SaveDelArxiv(const std::function<int(QVector<RaionPot>&)>& mark, const QString& nothing);

    ArxivObject m_object;
    QStringList m_names;
    QVector<QStringList> m_rows;   // the last summation, as the tables and the workbook print it
    QStringList m_months;
    QString m_year;
    QVector<RaionPot> m_records;
};
