#pragma once
// Pop-up that edits the row of one two-winding transformer: comments, type
// (of the line's voltage), tap and the two flags.

#include "ui_CparamTR2.h"

#include "store/readregim.h"

#include <QStringList>
#include <QWidget>

class CparamTR2 : public QWidget, private Ui_CparamTR2
{
    Q_OBJECT

public:
    // catalog: the transformer types, rows read from "kat_tr" with the list
    // ["name", "unom"].
    explicit CparamTR2(const Table& catalog, QWidget* parent = nullptr);
    ~CparamTR2() override;

    // Keeps row and shows it; the types listed are those of a line of unom
    // kV, the voltage of the scene's own line. An empty row disables the
    // fields and OK sends nothing.
    void SetUCH(QStringList row, double unom);

signals:
    void signalOKParamButton(QStringList param);

public slots:
    void Param_OK();

private:
    QStringList m_names;
    QStringList m_row;
    Table m_catalog;
};
