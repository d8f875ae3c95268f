#pragma once
// Pop-up that edits the row of one line section: comments, wire type,
// length and the two flags. OK sends the whole row back to the scene.

#include "ui_CparamUCH.h"

#include "store/readregim.h"

#include <QStringList>
#include <QWidget>

class CparamUCH : public QWidget, private Ui_CparamUCH
{
    Q_OBJECT

public:
    // catalog: the wire types, rows read from "kat_lin" with the list ["name"].
    explicit CparamUCH(const Table& catalog, QWidget* parent = nullptr);
    ~CparamUCH() override;

    // Keeps row (attrUchLin order) and shows it. An empty row (the section
    // has none) disables the fields and OK sends nothing.
    void SetUCH(QStringList row);

signals:
    void signalOKParamButton(QStringList param);

public slots:
    void Param_OK();

private:
    QStringList m_names;
    QStringList m_row;
    Table m_catalog;
    double m_shownLength = 0.0;
};
