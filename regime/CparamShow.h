#pragma once
// Pop-up of the regime window that chooses the quantities shown on branch
// labels, with the legend of the colours.

#include "ui_CparamShow.h"

#include <QStringList>
#include <QWidget>

class CparamShow : public QWidget, public Ui_CparamShow
{
    Q_OBJECT

public:
    explicit CparamShow(QWidget* parent = nullptr);

signals:
    // The ticked codes in the order "PTK", "DP", "ITK", "DU".
    void signalCheckParamButton(QStringList param);

public slots:
    void Param_OK();
};
