// The report viewer: what it reads, its search and its print preview.

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/widgetmessages.h"
#include "testsupport.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

class TestViewHtml : public QObject
{
    Q_OBJECT
    TempWorkDir m_dir;

private slots:
    void initTestCase() { initZorvanResources(); }

    // A log shows as plain text; the search, any case, stops at the last and the
    // first match. A viewer without its file is deleted.
    void readsALogAndSearchesItWithoutWrap()
    {
        const QString text = QStringLiteral("<p>Линия а. линия б. ЛИНИЯ в. Подлиния</p>");
        m_dir.writeFile("ошибки.log", text.toUtf8());
        QScopedPointer<CViewHtml> viewer(new CViewHtml("ошибки.log", ""));
        QCOMPARE(viewer->textEdit->toPlainText(), text);
        viewer->m_ValueFind->setText("лИНия");
        QList<int> starts;
        for (const QChar step : QStringLiteral("nnnnnpppp")) {   // next, previous
            (step == 'n' ? viewer->m_ActNext : viewer->m_ActPrev)->click();
            QCOMPARE(viewer->textEdit->textCursor().selectedText().toLower(), QStringLiteral("линия"));
            starts.append(viewer->textEdit->textCursor().selectionStart());
        }
        QCOMPARE(starts, QList<int>({3, 12, 21, 33, 33, 21, 12, 3, 3}));
        QPointer<CViewHtml> missing = new CViewHtml("нет такого", "html");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(missing.isNull());
    }

    // A report is read under its safe file name and printed as edited; a narrow
    // cell wraps between words only, on screen and on paper; a wide table prints landscape.
    void printsAReport_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("orientation");
        QTest::newRow("fits a portrait page") << 3 << int(QPageLayout::Portrait);
        QTest::newRow("wider than a portrait page") << 12 << int(QPageLayout::Landscape);
    }

    void printsAReport()
    {
        QFETCH(int, columns);
        m_dir.writeFile("html/Л-1_2.html", ("<p>Потери <b>РЭС</b></p><table border='1' width='100%'><tr>"
                                             + QString("<td>12539.498 Комментарий</td>").repeated(columns)
                                             + "</tr></table>").toUtf8());
        QScopedPointer<CViewHtml> viewer(new CViewHtml("Л-1/2", "html"));
        QVERIFY(viewer->isLoaded() && viewer->isVisible() && viewer->windowTitle() == "Л-1/2");
        viewer->textEdit->append(QStringLiteral("ПРАВКА"));
        QScopedPointer<QTextDocument> print(viewer->createPrintDocument());
        QCOMPARE(print->toPlainText(), "Потери РЭС\n" + QString("12539.498 Комментарий\n").repeated(columns) + "\nПРАВКА");
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        CViewHtml::choosePageLayout(&printer, print.data());
        QTEST(int(printer.pageLayout().orientation()), "orientation");
        QScopedPointer<QPrintPreviewDialog> dialog(CViewHtml::createPrintPreview(&printer, print.data()));
        dialog->show();   // not exec: the preview renders its pages when shown
        QVERIFY(dialog->findChild<QPrintPreviewWidget*>()->pageCount() >= 1);
        for (QTextDocument* doc : {viewer->textEdit->document(), print.data()}) {
            doc->setTextWidth(40);
            doc->size();   // lays the document out now
            const QTextLayout* cell = doc->find("12539.498").block().layout();   // "12539.498 Комментарий"
            QCOMPARE(QList<int>({cell->lineCount(), cell->lineAt(1).textStart()}), QList<int>({2, 10}));
        }
    }

    // A RES loss report of three lines, two voltage classes and the RES total.
    // The viewer opens inside the test screen (800 x 600, smaller than the
    // viewer). Printed, on landscape pages, the table has its four heading
    // rows as its header rows.
    void lossReportOnScreenAndPaper()
    {
        auto row = [](const QString& id, const QString& name) {
            return QStringList{id, name, "12534.873", "12534.873", "0", "105.984", "33.913", "139.897", "45.976",
                               "0", "45.976", "185.873", "0", "0", "0", "0", "0", "0"};
        };
        const QVector<QStringList> rows = {
            row("1,1,1", "ВЛ 110 кВ Заречная - Сосновка с отпайками"), row("1,1,2", "ВЛ 110 кВ Заречная - Промзона I, II цепь"),
            row("1,1,3", "ВЛ 35 кВ Заречная - Кузьминки"), row("35kV", "Всего по 35 кВ"), row("110kV", "Всего по 110 кВ"),
            row("SUM", "Всего по РЭС")};
        pNameRas = QStringList{"Заречный РЭС"};
        QVERIFY(HtmlBody("Потери в сети 35-220 кВ Заречный РЭС", "Январь 2026 года",
                         lossReportBody(rows, lossCaptionRES(-7.5)), 0));
        pNameRas.clear();
        QScopedPointer<CViewHtml> viewer(new CViewHtml("Потери в сети 35-220 кВ Заречный РЭС", "html"));
        QVERIFY(QTest::qWaitForWindowExposed(viewer.data()));
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(viewer->frameGeometry()));

        QScopedPointer<QTextDocument> print(viewer->createPrintDocument());
        const QList<QTextFrame*> frames = print->rootFrame()->childFrames();
        QCOMPARE(frames.size(), 1);
        const auto* table = qobject_cast<QTextTable*>(frames.first());
        QCOMPARE(QString("%1 %2").arg(table->rows()).arg(table->format().headerRowCount()), QString("10 4"));
        QPrinter printer(QPrinter::ScreenResolution);
        CViewHtml::choosePageLayout(&printer, print.data());
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }
};

QTEST_MAIN(TestViewHtml)
#include "tst_viewhtml.moc"
