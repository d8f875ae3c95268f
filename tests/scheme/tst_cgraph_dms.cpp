// The scheme editor window: what a save writes and what it leaves to other
// windows, a damaged table, closing with unsaved rows, the confirmations,
// navigation, zoom, find, front and back and the background.

#include "schemefixture.h"
#include "scheme/CGraph_DMS.h"
#include "scheme/CNavigate.h"
#include "scheme/CmenuBranch.h"
#include "scheme/CmenuNode.h"
#include "scheme/CparamUCH.h"
#include "scheme/createsxem.h"
#include "scheme/uchrow.h"
#include "testsupport.h"

#include <QColorDialog>
#include <QImage>

namespace {

const QString kSaved = QStringLiteral("Данные сохранены");

// The rows of "uch_lin" as "nlin:key name".
QStringList fileRows()
{
    QStringList out;
    for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"))
        out.append(row.at(uchNlin) + ':' + row.at(uchKey) + ' ' + row.at(uchName));
    return out;
}

SxemaLin savedScheme(const QString& nlin)
{
    for (const SxemaLin& record : readSxemaFile().records) {
        if (record.key.mid(0, 3) == QStringList({"1", "1", nlin}))
            return record;
    }
    return {};
}

// Records as "kind:fields" without the last labelFields, sorted.
QStringList records(const SxemaLin& s, int labelFields = 0)
{
    QStringList out;
    const QVector<QStringList>* lists[] = {&s.nodes, &s.lines, &s.transf, &s.transf3};
    for (int kind = 0; kind < 4; ++kind) {
        for (const QStringList& row : *lists[kind])
            out.append(QString("NLT3").at(kind) + (':' + row.mid(0, row.size() - labelFields).join(';')));
    }
    out.sort();
    return out;
}

} // namespace

class TestCGraphDMS : public QObject
{
    Q_OBJECT

private:
    TempWorkDir* m_dir = nullptr;
    MessageRecorder* m_rec = nullptr;
    QPointer<CGraph_DMS> m_w;

    // Shown at size when one is given.
    CGraph_DMS* open(const QString& nlin = "1", QSize size = {})
    {
        NLIN = nlin;
        pNameRas = QStringList{"РЭС-1", "Линия " + nlin};
        m_w = new CGraph_DMS;
        if (size.isValid()) {
            m_w->resize(size);
            m_w->show();
            [&] { QVERIFY(QTest::qWaitForWindowExposed(m_w)); }();
        }
        return m_w;
    }

    void close()
    {
        m_w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    DiagramScene& scene() const { return *m_w->scene(); }

    void addLineAt(const QString& node)
    {
        QVERIFY(scene().setCurrentNode(node, bus(scene(), node)));
        scene().AddLine();
    }

    void damageTable() const
    {
        m_dir->writeFile("uch_lin.xml", m_dir->readFile("uch_lin.xml") + "<UCH_LIN npes=");
    }

    QString question() const
    {
        const RecordedMessage m = m_rec->messages.value(0);
        return m.kind == "question" ? m.title + '|' + m.text : QString();
    }

private slots:
    void init()
    {
        m_dir = new TempWorkDir;
        m_rec = new MessageRecorder;
        m_iScale = 1.0;
        writeSchemeFixture();
    }

    void cleanup()
    {
        delete m_w.data();
        delete m_rec;
        delete m_dir;
    }

    // A line without a saved scheme is laid out; the save stores what is
    // drawn (the layout's places, each label where the loader put it) and
    // leaves the unchanged rows alone; reopened, it saves the same again.
    void layoutSaveReopen()
    {
        QFile::remove(m_dir->filePath("sxemalin.xml"));
        const QByteArray table = m_dir->readFile("uch_lin.xml");
        const CreateSxem laid(1);
        open()->slot_SaveGraph();
        QCOMPARE(m_rec->texts(), QStringList({"В архиве схем нет сохраненной схемы. Схема будет создана автоматически",
                                              kSaved}));
        const SxemaLin saved = savedScheme("1");
        QCOMPARE(saved.key, QStringList({"1", "1", "1", "rgb(0,0,0)"}));
        QCOMPARE(records(saved, 3), records(laid, 3));
        QVERIFY(records(saved).contains("N:10;117;35;7;0;-10;97;0"));
        QCOMPARE(m_dir->readFile("uch_lin.xml"), table);
        QVERIFY(!m_dir->exists("uch_lin.bak"));

        close();
        QVERIFY(!m_w);
        m_rec->clear();
        open()->slot_SaveGraph();
        QCOMPARE(m_rec->texts(), QStringList{kSaved});
        QCOMPARE(records(savedScheme("1")), records(saved));
    }

    // A new section of line 2: the line's rows first, then the others as
    // they were, the old table kept as ".bak".
    void addLineSaved()
    {
        UNOM = 35;
        const QByteArray before = m_dir->readFile("uch_lin.xml");
        const QStringList rows = fileRows();
        open("2");
        addLineAt("1");
        m_w->slot_SaveGraph();
        QCOMPARE(fileRows(), QStringList({"2:9 Участок 0-1", "2:10 Новая линия"}) + rows.mid(0, 8));
        QCOMPARE(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN").at(1).join(';'),
                 QString("1;1;2;Новая линия;;1;2;1;;1.;;;;;;0;0;10"));
        QCOMPARE(m_dir->readFile("uch_lin.bak"), before);
        QVERIFY(records(savedScheme("2")).contains("N:355;267;20;5;2;340;257;0"));
        QVERIFY(!scene().hasUnsavedRows());
    }

    // A line dragged whole is saved where it is drawn and drawn there again.
    void lineMovedWhole()
    {
        open();
        SchemeView view(&scene());
        view.drag(QPointF(276, 80), {QPointF(281, 90), QPointF(286, 100)});
        QCOMPARE(line(scene(), "2")->pos(), QPointF(10, 20));
        m_w->slot_SaveGraph();
        close();
        open();
        QCOMPARE(line(scene(), "2")->pos(), QPointF(0, 0));
        QCOMPARE(vertices(line(scene(), "2")), QString("172,139 250,61 322,139"));
    }

    // Saved meanwhile by other windows: another line's row, an untouched
    // row of this line and a row they added stay; the editor's own edit
    // wins, and a row it deleted stays deleted.
    void changesMeanwhileSurvive()
    {
        open();
        QStringList edited = scene().lineRows().at(0);
        edited[uchName] = "Правка в схеме";
        scene().slot_ParamUCH(edited);
        element<Transf2>(scene(), KindTransf2, "3")->setSelected(true);
        scene().DelItems();
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        for (int i : {0, 1, 2, 8})
            rows[i][uchName] = "Из таблицы";
        rows.append(rows.at(1));
        rows.last()[uchKey] = "30";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        m_w->slot_SaveGraph();
        QCOMPARE(fileRows(), QStringList({"1:1 Правка в схеме", "1:2 Из таблицы", "1:4 Участок 2-4", "1:5 Участок 4-5",
                                          "1:6 Участок 4-6", "1:7 Участок 0-7", "1: Участок 2-10", "1:30 Из таблицы",
                                          "2:9 Из таблицы"}));
    }

    // Another line entered meanwhile: the drawing and the rows still go to
    // the editor's own line.
    void ownLineAfterAnotherEntered()
    {
        open();
        NLIN = "2";
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddTP();
        m_w->slot_SaveGraph();
        QVERIFY(savedScheme("2").key.isEmpty());
        QCOMPARE(savedScheme("1").transf.size(), 2);
        QCOMPARE(fileRows().mid(8), QStringList({"1:8 Новый тр-р", "2:9 Участок 0-1"}));
    }

    // A table damaged when read, at opening or at saving: nothing is
    // written, not even a drawing that changed no row, and the reader's
    // message is the save's only one.
    void damagedTable_data()
    {
        QTest::addColumn<bool>("atOpening");
        QTest::newRow("at opening, drawing only") << true;
        QTest::newRow("at saving, a new line") << false;
    }
    void damagedTable()
    {
        QFETCH(bool, atOpening);
        if (atOpening)
            damageTable();
        open();
        if (!atOpening) {
            addLineAt("1");
            damageTable();
        }
        const QMap<QString, QByteArray> before = m_dir->files();
        m_rec->clear();
        m_w->slot_SaveGraph();
        QCOMPARE(m_rec->warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + m_dir->filePath("uch_lin.xml")});
        QCOMPARE(m_dir->files(), before);
    }

    // Closing asks only while rows are unsaved: No drops them, Yes closes
    // once they are written; a save that cannot write keeps the window.
    void closeQuestion_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("answerNo");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("rows");
        QTest::newRow("no edits") << "" << false << true << 9;
        QTest::newRow("edited, No") << "edit" << true << true << 9;
        QTest::newRow("edited, Yes") << "edit" << false << true << 10;
        QTest::newRow("edited and saved") << "save" << false << true << 10;
        QTest::newRow("edited, Yes, damaged") << "damage" << false << false << 9;
    }
    void closeQuestion()
    {
        QFETCH(QString, before);
        QFETCH(bool, answerNo);
        QFETCH(bool, closed);
        QFETCH(int, rows);
        open();
        if (!before.isEmpty())
            addLineAt("1");
        if (before == "save")
            m_w->slot_SaveGraph();
        if (before == "damage")
            damageTable();
        m_rec->clear();
        m_rec->answers = {answerNo};
        close();
        const bool asked = before == "edit" || before == "damage";
        QCOMPARE(question(), asked ? QString("Сохранение|Сохранить изменения?") : QString());
        QCOMPARE(!m_w, closed);
        QCOMPARE(fileRows().size(), rows);
    }

    // The window takes its menus, pop-ups, colour dialogs and navigation
    // windows with it when it closes.
    void closeDeletesItsWindows()
    {
        open("1", QSize(800, 400));
        QPointer<QWidget> nodeMenu = m_w->nodeMenu(), branchMenu = m_w->branchMenu();
        m_w->slot_NavigateButton();
        QPointer<CNavigate> navigator = shownPopup<CNavigate>();
        m_w->bkGroundButton->click();
        QPointer<QColorDialog> colors = m_w->findChild<QColorDialog*>();
        scene().setCurrentBranchKey("1");
        scene().ParamUCH(KindLine, QPoint(10, 10));
        QPointer<CparamUCH> popup = shownPopup<CparamUCH>();
        QVERIFY(nodeMenu && branchMenu && navigator && colors && colors->isVisible() && popup);
        close();
        QVERIFY(!m_w && !nodeMenu && !branchMenu && !navigator && !colors && !popup);
    }

    // The three confirmations: Yes does it, No leaves the scheme as it is.
    void confirmations_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("answerNo");
        const QStringList buttons{"DeleteButton", "CreateSxemButton", "UpdateButton"};
        const QStringList questions{"Вы действительно хотите удалить выбранные объекты со схемы и из базы данных?",
                                    "Существующая схема будет заменена новой. Продолжить?",
                                    "Обновить существующую схему?"};
        for (int i = 0; i < 3; ++i) {
            for (bool no : {false, true})
                QTest::addRow("%s, %s", qPrintable(buttons.at(i)), no ? "No" : "Yes") << buttons.at(i)
                                                                               << questions.at(i) << no;
        }
    }
    void confirmations()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        QFETCH(bool, answerNo);
        open();
        line(scene(), "99")->setSelected(true);
        m_rec->answers = {answerNo};
        m_w->findChild<QToolButton*>(button)->click();
        QCOMPARE(this->question(), "Предупреждение|" + question);
        // The line record whose key no row has: deleted, or not laid out.
        QCOMPARE(!line(scene(), "99"), !answerNo);
        QVERIFY(line(scene(), "1"));
    }

    // Front and back go past what the item overlaps; each button shows
    // the picture of what it does.
    void frontAndBack()
    {
        open();
        auto picture = [](const QIcon& icon) { return icon.pixmap(24).toImage(); };
        QCOMPARE(picture(m_w->toFrontButton->icon()), picture(QIcon(":/res/bringtofront.png")));
        QCOMPARE(picture(m_w->sendBackButton->icon()), picture(QIcon(":/res/sendtoback.png")));
        BusItem* b = bus(scene(), "1");   // under its transformer, over its lines
        b->setSelected(true);
        m_w->toFrontButton->click();
        QCOMPARE(b->zValue(), 1100.1);
        m_w->sendBackButton->click();
        QCOMPARE(b->zValue(), -0.1);
    }

    // The navigation button needs a drawing 1550 wide; the picture has the
    // drawing's proportions and a click in it centres the view there.
    void navigation_data()
    {
        QTest::addColumn<int>("busX");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("1549 wide") << 1452 << false;
        QTest::newRow("1550 wide") << 1453 << true;
        QTest::newRow("2000 wide") << 1903 << true;
    }
    void navigation()
    {
        QFETCH(int, busX);
        QFETCH(bool, enabled);
        SxemaLin s = savedScheme("1");
        s.nodes.append({QString::number(busX), "117", "7", "7", "20", "0", "0", "0"});
        QVERIFY(writeSxemaFile({s}));
        open("1", QSize(800, 400));
        QCOMPARE(m_w->NavigateButton->isEnabled(), enabled);
        if (busX != 1903)
            return;
        m_w->NavigateButton->click();
        QCOMPARE(QImage(m_dir->filePath("scene.png")).size(), QSize(400, 120));
        QTest::mouseClick(shownPopup<CNavigate>(), Qt::LeftButton, {}, QPoint(200, 60));
        const QPointF centre = m_w->m_pView->mapToScene(m_w->m_pView->viewport()->rect().center());
        QVERIFY(QLineF(centre, QPointF(1000, 300)).length() < 2);
    }

    // A new window shows "100%" and keeps the factor another window left;
    // the buttons stop at 25% and 400%, the combo sets the factor.
    void zoomLimits()
    {
        m_iScale = 2.0;
        open();
        QCOMPARE(m_w->sceneScaleCombo->currentText(), QString("100%"));
        QCOMPARE(m_iScale, 2.0);
        m_w->Scale_minus->click();
        m_w->Scale_minus->click();
        QCOMPARE(m_iScale, 0.25);
        QVERIFY(!m_w->Scale_minus->isEnabled());
        QCOMPARE(m_w->m_pView->transform().m11(), 0.25);
        for (int i = 0; i < 4; ++i)
            m_w->Scale_plus->click();
        QCOMPARE(m_iScale, 4.0);
        QVERIFY(!m_w->Scale_plus->isEnabled());
        m_w->sceneScaleCombo->setCurrentText("200%");
        QCOMPARE(m_iScale, 2.0);
        QVERIFY(m_w->Scale_minus->isEnabled() && m_w->Scale_plus->isEnabled());
        QCOMPARE(m_w->m_pView->transform().m22(), 2.0);
    }

    // Find marks and centres the first element whose name holds the text:
    // a line section on its own middle, again on a second press; a unit.
    void find()
    {
        open("1", QSize(400, 300));
        QGraphicsView& view = *m_w->m_pView;
        m_w->FindLine->setText("Участок 1");
        for (int press = 0; press < 2; ++press) {
            view.centerOn(0, 0);
            m_w->m_pFindButton->click();
            QCOMPARE(line(scene(), "2")->m_color, QColor(255, 0, 0));
            QVERIFY(qAbs(view.mapToScene(view.viewport()->rect().center()).x() - 237) < 2);
        }
        QCOMPARE(line(scene(), "1")->m_color, QColor(0, 128, 255));
        m_w->FindLine->setText("Участок 2-4");
        m_w->m_pFindButton->click();
        QCOMPARE(element<Transf3>(scene(), KindTransf3, "4")->m_colorHV, QColor(255, 0, 0));
    }

    // The background follows the colour dialog, is saved and comes back.
    void backgroundSavedAndRestored()
    {
        open();
        QCOMPARE(m_w->m_pView->backgroundBrush().color(), QColor(10, 20, 30));
        m_w->bkGroundButton->click();
        auto* dialog = m_w->findChild<QColorDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->setCurrentColor(QColor(232, 232, 232));
        m_w->slot_SaveGraph();
        QCOMPARE(savedScheme("1").key.value(3), QString("rgb(232,232,232)"));
        close();
        open();
        QCOMPARE(m_w->m_pView->backgroundBrush().color(), QColor(232, 232, 232));
    }
};

QTEST_MAIN(TestCGraphDMS)
#include "tst_cgraph_dms.moc"
