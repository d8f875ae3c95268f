// The regime window: the saved scheme coloured and labelled by the regime, its
// own line kept, zoom, find, navigation and the way in from the line dialog.

#include "calcglobals.h"
#include "dialogs/CDlgLIN.h"
#include "regime/CRegimShow.h"
#include "regime/CparamShow.h"
#include "regime/RegimScene.h"
#include "regime/SxemaItems.h"
#include "regimenetwork.h"
#include "scheme/CNavigate.h"

#include <QScreen>
#include <QStyleOptionComboBox>
#include <QtTest>

namespace {

// "bus key fill", "line key colour pen-style pen-width", "trans key HV-colour", sorted.
QStringList drawn(const QGraphicsScene* scene)
{
    QStringList out;
    for (QGraphicsItem* item : scene->items()) {
        if (auto* b = qgraphicsitem_cast<BussItem*>(item))
            out.append("bus " + b->key + " " + b->fill.name());
        else if (auto* l = qgraphicsitem_cast<VLKLs_Item*>(item))
            out.append(QString("line %1 %2 %3 %4").arg(l->key, l->color.name()).arg(l->penStyle()).arg(l->penWidth()));
        else if (auto* t = qgraphicsitem_cast<Transf2s*>(item))
            out.append("trans " + t->key + " " + t->hvColor.name());
    }
    out.sort();
    return out;
}

int labelCount(const QGraphicsScene* scene)
{
    const QList<QGraphicsItem*> items = scene->items();
    return int(std::count_if(items.begin(), items.end(), [](auto* i) { return i->type() == QGraphicsItem::UserType; }));
}

template <class T>
T* topLevel()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    const auto it = std::find_if(all.begin(), all.end(), [](QWidget* w) { return qobject_cast<T*>(w); });
    return it == all.end() ? nullptr : static_cast<T*>(*it);
}

// kind: node (a = U, b = Unom), or the branch "line", "trans" or "off" (the
// disconnected section) with a = Kz, dU and S, b = dP.
struct ColourCase { const char* kind; int view; double a, b; QColor colour; };

} // namespace

Q_DECLARE_METATYPE(ColourCase)

class TestRegimShow : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 110; m_iScale = 1.0; }

    // Another line entered meanwhile (no scheme, another voltage) changes
    // nothing a redraw draws, and gets its selection back.
    void showsTheRegime()
    {
        RegimeFolder f;
        pNameRas = QStringList{"Заречный РЭС", "ВЛ-1"};
        CRegimShow w;
        QCOMPARE(w.windowTitle(), QString("ВЛ-1"));
        // supply normal; the transformer's LV node far below the line's
        // 110 kV; the end of the disconnected section without a voltage
        const QStringList power = {"bus 0 #00b200", "bus 1 #00b200", "bus 2 #00b200", "bus 3 #00ffff",
                                   "bus 4 #ffffff", "line 1 #00ffff 0 2", "line 2 #ffffff 1 2",
                                   "line 3 #00ffff 0 2", "trans 4 #ff0000"};
        QCOMPARE(drawn(w.scene()), power);
        NLIN = "2";
        UNOM = 35;
        w.m_pVidCombo->setCurrentIndex(1);   // energies: the same colours
        QCOMPARE(drawn(w.scene()), power);
        w.m_pVidCombo->setCurrentIndex(2);   // scheme parameters
        QCOMPARE(drawn(w.scene()),
                 QStringList({"bus 0 #0080ff", "bus 1 #0080ff", "bus 2 #0080ff", "bus 3 #0080ff", "bus 4 #0080ff",
                              "line 1 #0080ff 0 1.4", "line 2 #0080ff 0 0", "line 3 #e4e400 0 4.8",
                              "trans 4 #ff99cc"}));
        QCOMPARE(labelCount(w.scene()), 9);
        QCOMPARE(f.rec.texts(), QStringList());
        QVERIFY(NLIN == "2" && UNOM == 35.0);
    }

    // Bounds of each rule; a value on a bound falls nearer to normal.
    void colours_data()
    {
        QTest::addColumn<ColourCase>("c");
        const QColor white(255, 255, 255), cyan(0, 255, 255), blue(0, 128, 255), green(0, 178, 0),
            yellow(228, 228, 0), red(255, 0, 0), grey(128, 128, 128);
        const ColourCase cases[] = {
            {"node", 0, 98.9, 110, cyan},    {"node", 0, 99, 110, blue},      {"node", 0, 104, 110, green},
            {"node", 0, 120, 110, green},    {"node", 0, 120.1, 110, yellow}, {"node", 0, 126.1, 110, red},
            {"node", 0, 0, 110, white},      {"node", 0, 8.9, 10, blue},      {"node", 0, 3000, 2000, green},
            {"line", 0, 0, 0, white},        {"line", 0, 0.19, 0, cyan},      {"line", 0, 0.2, 0, green},
            {"trans", 0, 0.7, 0, yellow},    {"line", 0, 1, 0, yellow},       {"trans", 0, 1.01, 0, red},
            {"line", 0, -0.5, 0, cyan},      {"off", 0, 0.5, 0, white},       {"off", 1, 0.7, 0, green},
            {"line", 1, 1.5, 0, grey},       {"trans", 1, 1.5, 0, green},     {"line", 1, 2.5, 0, yellow},
            {"trans", 1, 5.01, 0, red},      {"line", 2, 1, 0.3, grey},       {"line", 2, 0.5, 1, yellow},
            {"trans", 2, 1000, 10, green},   {"trans", 2, 1000, 20, grey},    {"trans", 2, 0, 10, QColor(28, 28, 28)},
            {"line", 3, 0.5, 0, grey}};
        for (const ColourCase& c : cases)
            QTest::addRow("%s, view %d: %g %g", c.kind, c.view, c.a, c.b) << c;
    }
    void colours()
    {
        QFETCH(ColourCase, c);
        RegimeFolder f;
        CRegimShow w;
        RegimScene* s = w.scene();
        w.lineView = c.view;
        const QByteArray kind = c.kind;
        const int i = kind == "off" ? 1 : 0;
        s->U[1] = s->shown.Kz[i] = s->shown.dU[i] = s->shown.S[i] = c.a;
        s->Unom[1] = s->shown.dP[i] = c.b;
        QCOMPARE(kind == "node" ? w.LimitU(1) : kind == "trans" ? w.TrKz(i) : w.LineKz(i), c.colour);
    }

    // Rows 1-2 and 3-4: no supply node, nothing calculated, all white.
    void lineWithoutSupply()
    {
        TestNetwork net = regimeNetwork();
        net.sections.clear();
        net.addSection("1", 1, 2, "АС-70", 5);
        net.addSection("1", 3, 4, "АС-70", 5);
        RegimeFolder f(net);
        CRegimShow w;
        QVERIFY(!w.failed());
        QCOMPARE(drawn(w.scene()).filter(QRegularExpression("#(?!ffffff)")), QStringList());
    }

    // Labels go below 100 % and come back from it; find centres a section on its
    // bounding rectangle and marks what it found red; the navigation picture has
    // the drawing's proportions and a click in it centres the view there; a
    // redraw that stopped early leaves find nothing to walk.
    void zoomFindNavigate()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        w.Scale_minus->click();   // 50 %: no labels
        QCOMPARE(labelCount(w.scene()), 0);
        w.Scale_minus->click();
        QCOMPARE(m_iScale, 0.25);
        QVERIFY(!w.Scale_minus->isEnabled());
        w.slot_ParamView({"PTK"});   // the pop-up brings the bus labels back only
        QCOMPARE(labelCount(w.scene()), 5);
        w.Scale_plus->click();
        w.Scale_plus->click();   // 100 %: every label back
        QCOMPARE(labelCount(w.scene()), 9);
        for (int i = 0; i < 3; ++i)
            w.Scale_plus->click();
        QCOMPARE(w.sceneScaleCombo->currentText(), QString("400%"));
        QVERIFY(!w.Scale_plus->isEnabled());
        QCOMPARE(w.m_pView->transform().m11(), 4.0);   // the scheme is larger than the view now

        const auto viewCentre = [&] { return w.m_pView->mapToScene(w.m_pView->viewport()->rect().center()); };
        const auto find = [&](const QString& text) { w.FindLine->setText(text); w.FindButtonTriggered(); };
        w.m_pVidCombo->setCurrentIndex(2);   // nothing red
        find("Участок 1-2");   // the cable, from (240, 103) to (400, 103)
        QVERIFY(w.scene()->branchItems.at(2)->sceneBoundingRect().contains(viewCentre()));
        find("Участок 2-");
        QCOMPARE(drawn(w.scene()).filter("#ff0000"), QStringList({"line 3 #ff0000 0 4.8", "trans 4 #ff0000"}));

        w.NavigateButton->click();
        QCOMPARE(QImage(f.filePath("scene.png")).size(), QSize(400, 400 * 600 / 1030));
        QPointer<CNavigate> navigate = topLevel<CNavigate>();
        QVERIFY(navigate && navigate->isVisible());
        emit navigate->clicked(QPointF(200, 100));
        QVERIFY(qAbs(viewCentre().x() - 515) < 1 && qAbs(viewCentre().y() - 257.5) < 1);
        delete navigate;
        auto* other = new CRegimShow;   // a navigation window goes with the window that opened it
        other->NavigateButton->click();
        navigate = topLevel<CNavigate>();
        QVERIFY(navigate);
        delete other;
        QVERIFY(!navigate);

        QFile::remove(f.filePath("sxemalin.xml"));
        w.ViewComboChanged(0);
        QCOMPARE(f.rec.texts(), QStringList("В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем"));
        find("Участок");
        QVERIFY(w.scene()->items().isEmpty());
    }

    // The test screen (800 x 600) is narrower than the window's tools: the
    // window opens at its least width with its title bar on the screen, a
    // width a laptop screen holds. Its view combos show every entry whole;
    // its parameter pop-up and navigation window lie on the screen, the
    // latter over the view.
    void opensOnTheScreen()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = w.frameGeometry();
        QVERIFY(screen.contains(frame.topLeft()) && frame.bottom() <= screen.bottom());
        QVERIFY(frame.right() <= screen.right() || w.width() == w.minimumSizeHint().width());
        QVERIFY(frame.width() <= 1366);
        for (QComboBox* combo : {w.m_pVidCombo, w.m_pVidVLKLCombo}) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)   // the label keeps a pixel free at either end
                QVERIFY2(combo->fontMetrics().horizontalAdvance(combo->itemText(i)) <= field.width() - 2,
                         qPrintable(combo->itemText(i)));
        }
        w.m_pViewButton->click();
        QVERIFY(w.paramShow()->isVisible() && screen.contains(w.paramShow()->frameGeometry()));
        w.paramShow()->hide();
        w.NavigateButton->click();
        CNavigate* navigate = topLevel<CNavigate>();
        QVERIFY(navigate && navigate->isVisible() && screen.contains(navigate->frameGeometry()));
        QCOMPARE(navigate->frameGeometry().topLeft(), w.m_pView->mapToGlobal(QPoint(0, 0)));
    }

    void fromTheLineDialog()
    {
        RegimeFolder f(regimeNetwork(), {});
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "", "0", ""}});
        CDlgLIN dlg("1,1,1", nullptr);
        dlg.SxemaLin->click();
        QCOMPARE(f.rec.warnings(),
                 QStringList({"Предупреждение|В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем",
                              "Предупреждение|Ошибка расчета режима сети. Проверьте информацию о фидере"}));
        QVERIFY(!topLevel<CRegimShow>());

        saveSxemaXML(regimeScheme());
        NLIN = "2";   // another line entered meanwhile
        dlg.SxemaLin->click();
        QPointer<CRegimShow> shown = topLevel<CRegimShow>();
        QVERIFY(shown && shown->isVisible());
        shown->close();
        QTRY_VERIFY(!shown);   // deleted on close
    }

    // A label knows its size before it is first painted, and keeps it; it is
    // as wide as its widest line, so a long type mark is not cut.
    void labelSize()
    {
        const QFontMetricsF metrics(QFont("SansSerif", 6));
        TextMS label;
        label.setLines({QString(40, QLatin1Char('x')), "second"});
        QCOMPARE(label.lines().first(), QString(32, QLatin1Char('x')));
        const QRectF before = label.boundingRect();
        QCOMPARE(before.width(), metrics.horizontalAdvance(label.lines().first()) + 21);
        QImage image(200, 100, QImage::Format_ARGB32);
        QPainter painter(&image);
        label.paint(&painter, nullptr, nullptr);
        QCOMPARE(label.boundingRect(), before);
        label.setLines({"Т-1", "ТДТН-25000/110 ВН"});
        QCOMPARE(label.boundingRect().width(), metrics.horizontalAdvance("ТДТН-25000/110 ВН") + 21);
    }
};

QTEST_MAIN(TestRegimShow)
#include "tst_regimshow.moc"
