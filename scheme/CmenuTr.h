#pragma once
// The pop-up menu of a transformer. The editor opens a transformer's
// parameters directly on a right click, so nothing shows this menu; it is
// kept for the window's menu set.

#include "ui_CmenuTR.h"

#include <QWidget>

class CmenuTr : public QWidget, private Ui_CmenuTR
{
    Q_OBJECT

public:
    enum Code { Param = 0 };

    // A hidden pop-up window; it has no parent, so its owner deletes it.
    explicit CmenuTr(QWidget* parent = nullptr);
    ~CmenuTr() override;

signals:
    void signalTrMenu(int code);

public slots:
    void Param_OK();
};
