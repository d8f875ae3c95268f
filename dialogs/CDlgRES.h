#pragma once
// The working window of one RES: its dispatcher name and air temperature,
// the loss run over its lines with the result file and the loss report, the
// error log and the merge into the loss archive.

#include "ui_CDlgRES.h"

#include "store/readregim.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class StagedFiles;

class CDlgRES : public QDialog, public Ui_CDlgRES
{
    Q_OBJECT

public:
    // The RES is the one named by NPES and NRES when the window opens; key is
    // not read. tree is the object tree that opened the window (its parent).
    CDlgRES(QString key, QWidget* tree);
    ~CDlgRES() override;

    // Called by slot_CalcRES after the last line: the result rows with
    // "poteri.xml", then the loss report of those rows, staged into the run's
    // files; the run puts them in place together with its log.
    void SavePoteri(StagedFiles& files);
    void SaveHtml(StagedFiles& files);

    // The report name this window writes and shows again.
    QString reportName() const;
    bool isRunning() const { return m_running; }
    // The dispatcher name or the temperature differ from what the window
    // showed at opening or last saved.
    bool hasUnsavedEdits() const { return currentRow() != m_row.shown; }

public slots:
    void slot_Save();
    void slot_CalcRES();
    void slot_ArxivRES();
    void slot_ErrorRES();
    void slot_ParamRES();
    void slot_SaveArx();
    void slot_ShowRES();
    void slot_VvodRES();

protected:
    // Neither the close box nor Escape ends the window while a run works on
    // its collections.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

public:
    QVector<QVector<double>> m_lineTotals;
    QVector<double> m_sumRES;
    QList<QString> m_lineNames;
    QList<QString> m_lineIds;
    QVector<double> m_lineUnom;
    // The archive viewer and the monthly load input, cleared when they close.
    QPointer<QWidget> m_pArxiv;
    QPointer<QWidget> m_pVvod;
    QVector<QStringList> m_rows;
    QList<QString> m_errors;
    QString m_name;
    QWidget* m_pTree;

private:
    // A run disables the controls that would start it again or change its data.
    void setRunning(bool running);
    // The RES row as the fields show it now ("res" order).
    QStringList currentRow() const;
    // Writes the fields changed here into the RES row as it is now.
    bool saveRes();

    // This window's own RES, kept from opening: a RES entered in the tree
    // meanwhile never receives its data.
    QString m_npes;
    QString m_nres;
    double m_temp;        // the air temperature its runs use
    bool m_running = false;
    // The RES's record as read and as shown at opening or the last save.
    OwnRow m_row;
};
