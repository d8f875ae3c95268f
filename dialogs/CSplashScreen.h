#pragma once
// The small work-in-progress window of a long run: a top-most window without
// parent that names the line just calculated.

#include "ui_CSplashScreen.h"

#include <QWidget>

class CSplashScreen : public QWidget, public Ui_CSplashScreen
{
    Q_OBJECT

public:
    explicit CSplashScreen(QWidget* parent = nullptr);

    // Created, placed, emptied and shown the way every run starts it; pending
    // events are processed once so that it is painted before the first line.
    static CSplashScreen* start();
    // "Расчет " + the line name, shown again, pending events processed once.
    void showLine(const QString& lineName);
};
