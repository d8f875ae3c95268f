#pragma once
// The 110 kV line "1" the regime tests show, its saved scheme, a folder with both.

#include "store/sxema.h"
#include "testnetwork.h"
#include "testsupport.h"

//   row (key)   nodes   element
//   0 (1)       0-1     АС-70, 5 km
//   1 (2)       1-4     АС-70, 1 km, disconnected
//   2 (3)       1-2     АПвП-240 cable, 2 km
//   3 (4)       2-3     ТДН-10000/110, 6 + j3 MW, a consumer's
inline TestNetwork regimeNetwork()
{
    TestNetwork net;
    net.addLine("1", "ВЛ-1", 110, 117, 114);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addWire("АПвП-240", "240", "1", "0.125", "0.1");
    net.addTransType("ТДН-10000/110", "110", "10000", "7.95", "139", "14", "70", "1.78", "9", "115", "11");
    net.addSection("1", 0, 1, "АС-70", 5);
    net.addSection("1", 1, 4, "АС-70", 1)[attrUchLin.indexOf("podkt")] = "1";
    net.addSection("1", 1, 2, "АПвП-240", 2);
    net.addTrans("1", 2, 3, "ТДН-10000/110", 6, 3, 3000, 1500, "1");
    return net;
}

// Buses of nodes 0 to 4, the three sections and the transformer; the bus of
// node 3 at x 900 makes the drawing 900 + 40 + 90 wide.
inline SxemaLin regimeScheme()
{
    SxemaLin s;
    s.key = QStringList{"1", "1", "1", "rgb(0,0,0)"};
    s.nodes = {{"10", "100", "10", "6", "0", "10", "80", "0"}, {"200", "100", "40", "6", "1", "200", "80", "0"},
               {"400", "100", "40", "6", "2", "400", "80", "0"}, {"900", "300", "40", "6", "3", "400", "320", "0"},
               {"200", "300", "40", "6", "4", "200", "320", "0"}};
    s.lines = {{"15,103 200,103", "1", "100", "110", "0"}, {"210,106 210,300", "2", "215", "200", "0"},
               {"240,103 400,103", "3", "300", "110", "0"}};
    s.transf = {{"410", "106", "35", "70", "115", "11", "4", "450", "150", "0"}};
    return s;
}

// The network and the scheme (unless it has no buses) written here; messages from then on.
struct RegimeFolder : TempWorkDir
{
    MessageRecorder rec;

    explicit RegimeFolder(const TestNetwork& net = regimeNetwork(), const SxemaLin& scheme = regimeScheme())
    {
        net.write();
        if (!scheme.nodes.isEmpty())
            saveSxemaXML(scheme);
        rec.clear();
    }
};
