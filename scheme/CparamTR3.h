#pragma once
// Pop-up that edits the three rows of a three-winding unit at once: the HV
// winding's comments, type, tap and flag, the type and flag of the MV and LV
// windings, and the balance flag of all three.

#include "ui_CparamTR3.h"

#include "store/readregim.h"

#include <QStringList>
#include <QWidget>

class CparamTR3 : public QWidget, private Ui_CparamTR3
{
    Q_OBJECT

public:
    // catalog: the transformer types, rows read from "kat_tr" with the list
    // ["name", "unom"].
    explicit CparamTR3(const Table& catalog, QWidget* parent = nullptr);
    ~CparamTR3() override;

    // Keeps the HV, MV and LV rows and shows them, with the types of a line
    // of unom kV. A winding without a row comes as an empty row: its fields
    // are disabled and OK sends nothing for it.
    void SetUCH(QStringList hv, QStringList mv, QStringList lv, double unom);

signals:
    void signalOKParamButton(QStringList param);

public slots:
    void Param_OK();

private:
    QStringList m_names;
    QStringList m_hv;
    QStringList m_mv;
    QStringList m_lv;
    Table m_catalog;
    QString m_shownBalance;  // the "kbal" checkBalance was given
};
