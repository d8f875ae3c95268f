// The report viewer: what it reads, its search and its print preview.

#include "store/SaveInfo.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/widgetmessages.h"
#include "enterkey.h"
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

    // Enter in the search line finds the next match as the button does, and nothing else.
    void searchLineEnterFindsNext()
    {
        m_dir.writeFile("ошибки.log", QByteArray("линия а. линия б."));
        MessageRecorder rec;
        QScopedPointer<CViewHtml> viewer(new CViewHtml("ошибки.log", ""));
        QList<int> starts;
        for (const QString& typed : {QString("линия"), QString(), QString()}) {
            QVERIFY(typeAndEnter(viewer->m_ValueFind, typed));
            starts.append(viewer->textEdit->textCursor().selectionStart());
        }
        QCOMPARE(starts, QList<int>({0, 9, 9}));
        QCOMPARE(rec.all(), QStringList());
        QCOMPARE(shownWindows(), QStringList("ошибки.log"));
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

    // The viewer opens inside the test screen (800 x 600, smaller than the
    // viewer); the print document of a loss report has the table's four
    // heading rows as its header rows.
    void lossReportOnScreenAndPaper()
    {
        const QString row = "<tr><td>Л-1</td>" + QString("<td>1.000</td>").repeated(8) + "</tr>";
        QVERIFY(HtmlBody("Потери в сети", "Январь 2026 года", TableHtml() << row << row << "</table>", 0));
        QScopedPointer<CViewHtml> viewer(new CViewHtml("Потери в сети", "html"));
        QVERIFY(QTest::qWaitForWindowExposed(viewer.data()));
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(viewer->frameGeometry()));
        QScopedPointer<QTextDocument> print(viewer->createPrintDocument());
        const auto* table = qobject_cast<QTextTable*>(print->rootFrame()->childFrames().value(0));
        QVERIFY(table);
        QCOMPARE(QString("%1 %2").arg(table->rows()).arg(table->format().headerRowCount()), QString("6 4"));
    }
};

QTEST_MAIN(TestViewHtml)
#include "tst_viewhtml.moc"
