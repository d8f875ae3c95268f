#pragma once
// The working window of one PES: the loss run over the lines of all its RES
// with the result file and the loss report, the merge into the loss archive
// and the network characteristics report. It edits nothing.

#include "ui_CDlgPES.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class StagedFiles;

class CDlgPES : public QDialog, public Ui_CDlgPES
{
    Q_OBJECT

public:
    // The PES is the one named by NPES when the window opens; key is not
    // read. tree is the object tree that opened the window (its parent).
    CDlgPES(QString key, QWidget* tree);
    ~CDlgPES() override;

    // Called by slot_CalcPES after the last line: the result rows with
    // "poteri.xml" (recorded under nres "0"), then the loss report of those
    // rows, staged into the run's files, which the run puts in place together.
    void SavePoteri(StagedFiles& files);
    void SaveHtml(StagedFiles& files);

    // The report name this window writes and shows again.
    QString reportName() const;

public slots:
    void slot_ArxivPES();
    void slot_SaveArxiv();
    void slot_ParamPES();
    void slot_CalcPES();
    void slot_ShowPES();

protected:
    // Neither the close box nor Escape ends the window while a run works on
    // its collections.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

public:
    QVector<double> m_sumPES;
    QList<QString> m_lineNames;
    QList<QString> m_lineIds;
    QList<QString> m_resIds;
    QVector<double> m_lineUnom;
    QList<QString> m_resNames;
    QVector<int> m_resBounds;
    QVector<QVector<double>> m_lineTotals;
    // The archive viewer of this PES, null while none is open.
    QPointer<QWidget> m_pArxiv;
    QWidget* m_pTree;
    QVector<QStringList> m_rows;
    QString m_name;

private:
    // This window's own PES, kept from opening: a PES entered in the tree
    // meanwhile never receives its results.
    QString m_npes;
    bool m_running = false;
};
