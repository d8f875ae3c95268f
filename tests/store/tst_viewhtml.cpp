// The report viewer: what it reads, its search (case-insensitive, no wrap)
// and its print preview, on the offscreen platform.

#include "store/SaveInfo.h"
#include "store/readregim.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/widgetmessages.h"
#include "testsupport.h"

#include <QApplication>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>
#include <QtTest>

namespace {

QList<CViewHtml*> openViewers()
{
    QList<CViewHtml*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<CViewHtml*>(w))
            out.append(viewer);
    }
    return out;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestViewHtml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initZorvanResources(); }
    void cleanup();
    void readsTheRightFile_data();
    void readsTheRightFile();
    void missingFileLeavesNoWindow();
    void searchWalksWithoutWrap_data();
    void searchWalksWithoutWrap();
    void emptySearchChangesNothing();
    void printPreviewShowsTheEditedText();
    void sinkOpensOneWindowPerReport();
};

void TestViewHtml::cleanup()
{
    qDeleteAll(openViewers());
    flushDeletes();
}

void TestViewHtml::readsTheRightFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shown");   // the document as plain text

    const QString page = "<html><body><p>Потери <b>РЭС</b></p></body></html>";
    QTest::newRow("report") << "html/Отчет.html" << "Отчет" << "html" << "Потери РЭС";
    QTest::newRow("report of a name with a slash")
        << "html/Л-1_2.html" << "Л-1/2" << "html" << "Потери РЭС";
    QTest::newRow("log as plain text") << "ошибки.log" << "ошибки.log" << "" << page;
    QTest::newRow("upper-case HTML is plain text") << "Отчет" << "Отчет" << "HTML" << page;
}

void TestViewHtml::readsTheRightFile()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, shown);
    TempWorkDir dir;
    dir.writeFile(file, "<html><body><p>Потери <b>РЭС</b></p></body></html>");
    auto* viewer = new CViewHtml(name, kind);
    QVERIFY(viewer->isLoaded());
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(viewer->windowTitle(), name);
    QCOMPARE(viewer->pos(), QPoint(20, 20));
    QCOMPARE(viewer->textEdit->toPlainText(), shown);
    QVERIFY(!viewer->textEdit->isReadOnly());
}

void TestViewHtml::missingFileLeavesNoWindow()
{
    TempWorkDir dir;
    QPointer<CViewHtml> viewer = new CViewHtml("нет такого", "html");
    QVERIFY(!viewer->isVisible());
    flushDeletes();
    QVERIFY(viewer.isNull());
}

void TestViewHtml::searchWalksWithoutWrap_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("steps");      // n = next, p = previous
    QTest::addColumn<QList<int>>("starts");  // selection start after each step

    // "Линия а. линия б. ЛИНИЯ в. Подлиния"
    //  0         10        20        30
    QTest::newRow("forward to the last and stay")
        << "линия" << "nnnnnn" << QList<int>({0, 9, 18, 30, 30, 30});
    QTest::newRow("back again and stay")
        << "ЛИНИЯ" << "nnnpppp" << QList<int>({0, 9, 18, 9, 0, 0, 0});
    QTest::newRow("backward from the start finds nothing")
        << "линия" << "pn" << QList<int>({0, 0});
    QTest::newRow("no match") << "трансформатор" << "np" << QList<int>({0, 0});
}

void TestViewHtml::searchWalksWithoutWrap()
{
    QFETCH(QString, needle);
    QFETCH(QString, steps);
    QFETCH(QList<int>, starts);
    TempWorkDir dir;
    dir.writeFile("poisk.log", "Линия а. линия б. ЛИНИЯ в. Подлиния");
    auto* viewer = new CViewHtml("poisk.log", "");
    viewer->m_ValueFind->setText(needle);
    for (int i = 0; i < steps.size(); ++i) {
        (steps.at(i) == 'n' ? viewer->m_ActNext : viewer->m_ActPrev)->click();
        const QTextCursor cursor = viewer->textEdit->textCursor();
        QCOMPARE(cursor.selectionStart(), starts.at(i));
        if (cursor.hasSelection())
            QCOMPARE(cursor.selectedText().toLower(), needle.toLower());
    }
}

void TestViewHtml::emptySearchChangesNothing()
{
    TempWorkDir dir;
    dir.writeFile("poisk.log", "abc abc");
    auto* viewer = new CViewHtml("poisk.log", "");
    QTextCursor cursor = viewer->textEdit->textCursor();
    cursor.setPosition(2);
    viewer->textEdit->setTextCursor(cursor);
    QVERIFY(!viewer->FindTextInEditor(false));
    QVERIFY(!viewer->FindTextInEditor(true));
    QCOMPARE(viewer->textEdit->textCursor().position(), 2);
    QVERIFY(!viewer->textEdit->textCursor().hasSelection());
}

void TestViewHtml::printPreviewShowsTheEditedText()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QVERIFY(HtmlBody("Печать", QString(), {"<tr><td>исходный текст</td></tr></table>"}, 0));
    auto* viewer = new CViewHtml("Печать", "html");
    QVERIFY(viewer->isLoaded());
    QTextCursor cursor = viewer->textEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("ПРАВКА"));

    QScopedPointer<QTextDocument> doc(viewer->createPrintDocument());
    QVERIFY(!doc->parent());
    QVERIFY(doc->toPlainText().contains(QStringLiteral("исходный текст")));
    QVERIFY(doc->toPlainText().contains(QStringLiteral("ПРАВКА")));

    QPrinter printer(QPrinter::ScreenResolution);
    QScopedPointer<QPrintPreviewDialog> dialog(CViewHtml::createPrintPreview(&printer, doc.data()));
    QVERIFY(!dialog->parent());
    int painted = 0;
    connect(dialog.data(), &QPrintPreviewDialog::paintRequested, this, [&painted] { ++painted; });
    dialog->show();   // not exec: the preview renders its pages when shown
    QCOMPARE(painted, 1);
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    QVERIFY(preview);
    QVERIFY(preview->pageCount() >= 1);
    dialog->close();
}

void TestViewHtml::sinkOpensOneWindowPerReport()
{
    TempWorkDir dir;
    dir.writeFile("html/Отчет.html", "<p>один</p>");
    WidgetMessageSink sink;
    sink.showFile("Отчет", "html");
    sink.showFile("Отчет", "html");
    sink.showFile("нет файла", "html");
    flushDeletes();
    const QList<CViewHtml*> viewers = openViewers();
    QCOMPARE(viewers.size(), 2);
    for (CViewHtml* viewer : viewers) {
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->pos(), QPoint(20, 20));
        QCOMPARE(viewer->textEdit->toPlainText(), QStringLiteral("один"));
    }
}

QTEST_MAIN(TestViewHtml)
#include "tst_viewhtml.moc"
