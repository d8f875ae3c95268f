// The regime window: the saved scheme coloured and labelled by the calculated
// regime, its own line kept, find, zoom steps and the way in from the line dialog.

#include "calcglobals.h"
#include "dialogs/CDlgLIN.h"
#include "regime/CRegimShow.h"
#include "regime/CparamShow.h"
#include "regime/RegimScene.h"
#include "regime/SxemaItems.h"
#include "regimenetwork.h"
#include "scheme/CNavigate.h"
#include "testsupport.h"

#include <QtTest>

#include <QApplication>
#include <QPainter>

namespace {

template <class T>
QList<T*> itemsOf(const QGraphicsScene* scene)
{
    QList<T*> out;
    for (QGraphicsItem* item : scene->items(Qt::AscendingOrder)) {
        if (T* t = qgraphicsitem_cast<T*>(item))
            out.append(t);
    }
    return out;
}

QList<QGraphicsItem*> labels(const QGraphicsScene* scene)
{
    QList<QGraphicsItem*> out;
    for (QGraphicsItem* item : scene->items())
        if (item->type() == QGraphicsItem::UserType)
            out.append(item);
    return out;
}

// Items by key: "key colour" of every bus, line section and transformer.
QStringList drawn(const QGraphicsScene* scene)
{
    QStringList out;
    for (BussItem* b : itemsOf<BussItem>(scene))
        out.append("bus " + b->key + " " + b->fill.name());
    for (VLKLs_Item* l : itemsOf<VLKLs_Item>(scene))
        out.append("line " + l->key + " " + l->color.name());
    for (Transf2s* t : itemsOf<Transf2s>(scene))
        out.append("trans " + t->key + " " + t->hvColor.name());
    out.sort();
    return out;
}

VLKLs_Item* line(const QGraphicsScene* scene, const QString& key)
{
    for (VLKLs_Item* l : itemsOf<VLKLs_Item>(scene))
        if (l->key == key)
            return l;
    return nullptr;
}

} // namespace

class TestRegimShow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetCalcGlobals();
        UNOM = 110;
        m_iScale = 1.0;
    }

    void showsTheRegime()
    {
        RegimeFolder f;
        pNameRas = QStringList{"Заречный РЭС", "ВЛ-1"};
        CRegimShow w;
        QVERIFY(!w.failed());
        QCOMPARE(f.rec.texts(), QStringList());
        QCOMPARE(w.windowTitle(), QString("ВЛ-1"));
        // supply normal; the transformer's LV node far below the line's
        // 110 kV; the end of the disconnected section without a voltage
        QCOMPARE(drawn(w.scene()),
                 QStringList({"bus 0 #00b200", "bus 1 #00b200", "bus 2 #00b200", "bus 3 #00ffff",
                              "bus 4 #ffffff", "line 1 #00ffff", "line 2 #ffffff", "line 3 #00ffff",
                              "trans 4 #ff0000"}));
        QCOMPARE(line(w.scene(), "2")->penStyle(), 1);
        QCOMPARE(labels(w.scene()).size(), 9);

        w.m_pVidCombo->setCurrentIndex(2);   // scheme parameters
        QCOMPARE(drawn(w.scene()),
                 QStringList({"bus 0 #0080ff", "bus 1 #0080ff", "bus 2 #0080ff", "bus 3 #0080ff",
                              "bus 4 #0080ff", "line 1 #0080ff", "line 2 #0080ff", "line 3 #e4e400",
                              "trans 4 #ff99cc"}));
        QCOMPARE(line(w.scene(), "1")->penWidth(), 1.4);
        QCOMPARE(line(w.scene(), "3")->penWidth(), 4.8);
        QCOMPARE(labels(w.scene()).size(), 9);
        w.m_pVidCombo->setCurrentIndex(1);   // energies: the same colours as power
        QCOMPARE(labels(w.scene()).size(), 9);
        QCOMPARE(drawn(w.scene()).at(5), QString("line 1 #00ffff"));
    }

    // Bounds of each rule; a value on a bound falls nearer to normal.
    void colours_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("view");
        QTest::addColumn<double>("a");   // node: U; branch: Kz and dU
        QTest::addColumn<double>("b");   // node: Unom; branch: dP
        QTest::addColumn<double>("S");
        QTest::addColumn<QColor>("colour");
        const QColor white(255, 255, 255), cyan(0, 255, 255), blue(0, 128, 255), green(0, 178, 0),
            yellow(228, 228, 0), red(255, 0, 0), grey(128, 128, 128);
        QTest::newRow("node 98.9") << "node" << 0 << 98.9 << 110.0 << 0.0 << cyan;
        QTest::newRow("node 99") << "node" << 0 << 99.0 << 110.0 << 0.0 << blue;
        QTest::newRow("node 104") << "node" << 0 << 104.0 << 110.0 << 0.0 << green;
        QTest::newRow("node 120") << "node" << 0 << 120.0 << 110.0 << 0.0 << green;
        QTest::newRow("node 120.1") << "node" << 0 << 120.1 << 110.0 << 0.0 << yellow;
        QTest::newRow("node 126.1") << "node" << 0 << 126.1 << 110.0 << 0.0 << red;
        QTest::newRow("node 0") << "node" << 0 << 0.0 << 110.0 << 0.0 << white;
        QTest::newRow("node 10 kV class") << "node" << 0 << 8.9 << 10.0 << 0.0 << blue;
        QTest::newRow("node 2000 kV") << "node" << 0 << 3000.0 << 2000.0 << 0.0 << green;
        QTest::newRow("Kz 0") << "line" << 0 << 0.0 << 0.0 << 0.0 << white;
        QTest::newRow("Kz 0.19") << "line" << 0 << 0.19 << 0.0 << 0.0 << cyan;
        QTest::newRow("Kz 0.2") << "line" << 0 << 0.2 << 0.0 << 0.0 << green;
        QTest::newRow("Kz 0.7") << "trans" << 0 << 0.7 << 0.0 << 0.0 << yellow;
        QTest::newRow("Kz 1.0") << "line" << 0 << 1.0 << 0.0 << 0.0 << yellow;
        QTest::newRow("Kz 1.01") << "trans" << 0 << 1.01 << 0.0 << 0.0 << red;
        QTest::newRow("Kz negative") << "line" << 0 << -0.5 << 0.0 << 0.0 << cyan;
        QTest::newRow("section dU 1.5") << "line" << 1 << 1.5 << 0.0 << 0.0 << grey;
        QTest::newRow("transformer dU 1.5") << "trans" << 1 << 1.5 << 0.0 << 0.0 << green;
        QTest::newRow("dU 2.5") << "line" << 1 << 2.5 << 0.0 << 0.0 << yellow;
        QTest::newRow("dU 5.01") << "trans" << 1 << 5.01 << 0.0 << 0.0 << red;
        QTest::newRow("section dU x dP 0.3") << "line" << 2 << 1.0 << 0.3 << 0.0 << grey;
        QTest::newRow("section dU x dP 0.5") << "line" << 2 << 0.5 << 1.0 << 0.0 << yellow;
        QTest::newRow("transformer losses 0.2") << "trans" << 2 << 0.0 << 10.0 << 1000.0 << green;
        QTest::newRow("transformer losses 0.4") << "trans" << 2 << 0.0 << 20.0 << 1000.0 << grey;
        QTest::newRow("transformer without S") << "trans" << 2 << 0.0 << 10.0 << 0.0 << QColor(28, 28, 28);
        QTest::newRow("unknown view") << "line" << 3 << 0.5 << 0.0 << 0.0 << grey;
    }
    void colours()
    {
        QFETCH(QString, kind);
        QFETCH(double, a);
        QFETCH(double, b);
        RegimeFolder f;
        CRegimShow w;
        RegimScene* s = w.scene();
        QFETCH(int, view);
        w.lineView = view;
        QColor colour;
        if (kind == "node") {
            s->U[1] = a;
            s->Unom[1] = b;
            colour = w.LimitU(1);
        } else {
            s->shown.Kz[0] = s->shown.dU[0] = a;
            s->shown.dP[0] = b;
            QFETCH(double, S);
            s->shown.S[0] = S;
            colour = kind == "line" ? w.LineKz(0) : w.TrKz(0);
        }
        QTEST(colour, "colour");
        QCOMPARE(w.LimitU(-1), QColor(255, 255, 255));
        QCOMPARE(w.LineKz(-1), QColor(255, 255, 255));
    }

    // A disconnected section is white in the loading view whatever its value.
    void disconnectedSection()
    {
        RegimeFolder f;
        CRegimShow w;
        w.scene()->shown.Kz[1] = 0.5;
        QCOMPARE(w.LineKz(1), QColor(255, 255, 255));
        w.lineView = 1;
        w.scene()->shown.dU[1] = 0.7;
        QCOMPARE(w.LineKz(1), QColor(0, 178, 0));
    }

    // Another line entered meanwhile (with no scheme, at another voltage)
    // changes nothing of what this window draws, and gets its selection back.
    void keepsItsLine()
    {
        TestNetwork net = regimeNetwork();
        net.addLine("2", "ВЛ-2", 35);
        RegimeFolder f(net);
        CRegimShow w;
        w.ViewComboChanged(2);
        const QStringList before = drawn(w.scene());
        NLIN = "2";
        UNOM = 35;
        w.ViewComboChanged(2);
        QCOMPARE(drawn(w.scene()), before);
        QCOMPARE(f.rec.texts(), QStringList());
        QCOMPARE(NLIN, QString("2"));
        QCOMPARE(UNOM, 35.0);
    }

    // Rows 1-2 and 3-4: no supply node, nothing calculated, all white.
    void lineWithoutSupply()
    {
        TestNetwork net;
        net.addLine("1", "ВЛ-1", 110);
        net.addWire("АС-70", "70", "0", "0.428", "0.444");
        net.addSection("1", 1, 2, "АС-70", 5);
        net.addSection("1", 3, 4, "АС-70", 5);
        SxemaLin s = regimeScheme();
        s.nodes[0][4] = "4";
        s.lines.removeLast();
        s.transf.clear();
        RegimeFolder f(net, s);
        CRegimShow w;
        QVERIFY(!w.failed());
        for (const QString& item : drawn(w.scene()))
            QVERIFY2(item.endsWith("#ffffff"), qPrintable(item));
    }

    void find()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Scale_plus->click();
        w.Scale_plus->click();   // 400 %: the scheme is larger than the view
        const auto viewCentre = [&] { return w.m_pView->mapToScene(w.m_pView->viewport()->rect().center()); };

        w.FindLine->setText("Участок 1-2");   // the cable, from (240, 103) to (400, 103)
        w.FindButtonTriggered();
        VLKLs_Item* cable = line(w.scene(), "3");
        QVERIFY(cable->sceneBoundingRect().contains(viewCentre()));
        QCOMPARE(cable->color, QColor(255, 0, 0));

        w.FindLine->setText("Участок 2-");
        w.FindButtonTriggered();
        QCOMPARE(itemsOf<Transf2s>(w.scene()).first()->hvColor, QColor(255, 0, 0));

        // The scheme is gone: the redraw stops early and find has nothing to walk.
        QFile::remove(f.filePath("sxemalin.xml"));
        w.ViewComboChanged(0);
        QCOMPARE(f.rec.texts(), QStringList("В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем"));
        w.FindLine->setText("Участок");
        w.FindButtonTriggered();
        QVERIFY(w.scene()->items().isEmpty());
    }

    void fromTheLineDialog()
    {
        RegimeFolder f(regimeNetwork(), {});
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "", "0", ""}});
        CDlgLIN dlg("1,1,1", nullptr);
        QVERIFY(dlg.SxemaLin->isEnabled());
        const auto windows = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                n += qobject_cast<CRegimShow*>(w) != nullptr;
            return n;
        };
        NLIN = "2";   // another line entered meanwhile
        dlg.SxemaLin->click();
        QCOMPARE(f.rec.warnings(),
                 QStringList({"Предупреждение|В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем",
                              "Предупреждение|Ошибка расчета режима сети. Проверьте информацию о фидере"}));
        QCOMPARE(windows(), 0);

        saveSxemaXML(regimeScheme());
        f.rec.clear();
        NLIN = "2";
        dlg.SxemaLin->click();
        QCOMPARE(f.rec.texts(), QStringList());
        QPointer<CRegimShow> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* r = qobject_cast<CRegimShow*>(w))
                shown = r;
        QVERIFY(shown && shown->isVisible() && shown->testAttribute(Qt::WA_DeleteOnClose));
        shown->close();
        QTRY_VERIFY(!shown);
    }

    void zoomSteps()
    {
        RegimeFolder f;
        CRegimShow w;
        QCOMPARE(labels(w.scene()).size(), 9);
        w.Scale_minus->click();   // 50 %: no labels
        QCOMPARE(m_iScale, 0.5);
        QCOMPARE(labels(w.scene()).size(), 0);
        QPointer<BussItem> bus = itemsOf<BussItem>(w.scene()).first();
        w.Scale_minus->click();   // 25 %: not drawn again
        QVERIFY(bus);
        QVERIFY(!w.Scale_minus->isEnabled());
        w.slot_ParamView({"PTK"});   // the pop-up brings the bus labels back only
        QCOMPARE(labels(w.scene()).size(), 5);
        w.Scale_plus->click();
        w.Scale_plus->click();   // 100 %: every label back
        QCOMPARE(labels(w.scene()).size(), 9);
        for (int i = 0; i < 3; ++i)
            w.Scale_plus->click();
        QCOMPARE(w.sceneScaleCombo->currentText(), QString("400%"));
        QCOMPARE(m_iScale, 4.0);
        QVERIFY(!w.Scale_plus->isEnabled());
        QCOMPARE(w.m_pView->transform().m11(), 4.0);
    }

    // The picture has the drawing's proportions; a click in it centres the
    // view on the point it stands for.
    void navigation()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        w.Scale_plus->click();
        w.Scale_plus->click();
        w.NavigateButton->click();
        QCOMPARE(QImage(f.filePath("scene.png")).size(), QSize(400, 400 * 600 / 1030));
        CNavigate* navigate = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<CNavigate*>(top))
                navigate = n;
        QVERIFY(navigate && navigate->isVisible());
        emit navigate->clicked(QPointF(200, 100));
        const QPointF centre = w.m_pView->mapToScene(w.m_pView->viewport()->rect().center());
        QVERIFY(qAbs(centre.x() - 515) < 1 && qAbs(centre.y() - 257.5) < 1);
        delete navigate;
    }

    // A label knows its size before it is first painted, and keeps it.
    void labelSize()
    {
        TextMS label;
        label.setLines({QString(40, QLatin1Char('x')), "second"});
        QCOMPARE(label.lines().first(), QString(32, QLatin1Char('x')));
        const QRectF before = label.boundingRect();
        QCOMPARE(before.width(), QFontMetricsF(QFont("SansSerif", 6)).horizontalAdvance(label.lines().first()) + 21);
        QImage image(200, 100, QImage::Format_ARGB32);
        QPainter painter(&image);
        label.paint(&painter, nullptr, nullptr);
        QCOMPARE(label.boundingRect(), before);
    }
};

QTEST_MAIN(TestRegimShow)
#include "tst_regimshow.moc"
