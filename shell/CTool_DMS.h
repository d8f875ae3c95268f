#pragma once
// Small windows of the main window: the About box (also the start-up picture).

#include "ui_CAboutProgramm.h"

#include <QWidget>

class CDlgAboutPrg : public QWidget, public Ui_CAboutProgramm
{
    Q_OBJECT

public:
    explicit CDlgAboutPrg(QWidget* parent = nullptr);
    ~CDlgAboutPrg() override;
};
