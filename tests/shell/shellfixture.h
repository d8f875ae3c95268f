#pragma once
// A fresh working directory made current, a recorder in place of the message boxes, and the main window once started.

#include "shell/CTool_DMS.h"
#include "shell/CTreeZORVAN.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

struct Program : StartFolder
{
    MessageRecorder messages;
    std::unique_ptr<ZORVAN> window;   // goes first, before the recorder and the folder

    Program() { resetStartGlobals(); }
    ZORVAN& start() { window.reset(new ZORVAN(nullptr)); return *window; }
};
