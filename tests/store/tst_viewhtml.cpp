// The report viewer: what it reads, its search (case-insensitive, no wrap)
// and its print preview, on the offscreen platform.

#include "store/SaveInfo.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/widgetmessages.h"
#include "testsupport.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>
#include <QtTest>

class TestViewHtml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initZorvanResources(); }

    void readsTheRightFile()
    {
        TempWorkDir dir;
        dir.writeFile("html/Л-1_2.html", "<p>Потери <b>РЭС</b></p>");
        dir.writeFile("ошибки.log", "<p>как есть</p>");
        QScopedPointer<CViewHtml> report(new CViewHtml("Л-1/2", "html"));
        QVERIFY(report->isLoaded() && report->isVisible());
        QCOMPARE(report->windowTitle(), QStringLiteral("Л-1/2"));
        QCOMPARE(report->textEdit->toPlainText(), QStringLiteral("Потери РЭС"));
        QScopedPointer<CViewHtml> log(new CViewHtml("ошибки.log", ""));
        QCOMPARE(log->textEdit->toPlainText(), QStringLiteral("<p>как есть</p>"));

        QPointer<CViewHtml> missing = new CViewHtml("нет такого", "html");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(missing.isNull());
    }

    void searchWalksWithoutWrap_data()
    {
        QTest::addColumn<QString>("steps");      // n = next, p = previous
        QTest::addColumn<QList<int>>("starts");  // selection start after each step
        // "Линия а. линия б. ЛИНИЯ в. Подлиния"
        //  0         10        20        30
        QTest::newRow("forward to the last and stay") << "nnnnn" << QList<int>({0, 9, 18, 30, 30});
        QTest::newRow("back to the first and stay") << "nnppp" << QList<int>({0, 9, 0, 0, 0});
    }

    void searchWalksWithoutWrap()
    {
        QFETCH(QString, steps);
        QFETCH(QList<int>, starts);
        TempWorkDir dir;
        dir.writeFile("poisk.log", "Линия а. линия б. ЛИНИЯ в. Подлиния");
        QScopedPointer<CViewHtml> viewer(new CViewHtml("poisk.log", ""));
        viewer->m_ValueFind->setText("лИНия");
        for (int i = 0; i < steps.size(); ++i) {
            (steps.at(i) == 'n' ? viewer->m_ActNext : viewer->m_ActPrev)->click();
            const QTextCursor cursor = viewer->textEdit->textCursor();
            QCOMPARE(cursor.selectionStart(), starts.at(i));
            QCOMPARE(cursor.selectedText().toLower(), QStringLiteral("линия"));
        }
    }

    void printPreviewShowsTheEditedText()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        QVERIFY(HtmlBody("Печать", QString(), {"<tr><td>исходный текст</td></tr></table>"}, 0));
        QScopedPointer<CViewHtml> viewer(new CViewHtml("Печать", "html"));
        viewer->textEdit->append(QStringLiteral("ПРАВКА"));
        QScopedPointer<QTextDocument> doc(viewer->createPrintDocument());
        QVERIFY(doc->toPlainText().contains(QStringLiteral("исходный текст")));
        QVERIFY(doc->toPlainText().contains(QStringLiteral("ПРАВКА")));
        QPrinter printer(QPrinter::ScreenResolution);
        QScopedPointer<QPrintPreviewDialog> dialog(CViewHtml::createPrintPreview(&printer, doc.data()));
        dialog->show();   // not exec: the preview renders its pages when shown
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        QVERIFY(preview && preview->pageCount() >= 1);
    }
};

QTEST_MAIN(TestViewHtml)
#include "tst_viewhtml.moc"
