// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceCondenser.h"
#include "RunInFolder.h"
#include "RunProgressWindow.h"
#include "SlowRun.h"
#include "TestFiles.h"
#include "TextBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>

// A run on the desktop while it works: the progress window, Cancel, the
// offer to end the program when a drive holds the run, and the window that
// takes no input meanwhile.
using namespace TestFiles;

class RunProgressTest : public RunInFolder
{
    Q_OBJECT

private slots:
    void init();
    void cancelKeepsTheEarlierLog();
    void stuckRunOffersToEndTheProgram();
    void inputDuringARunChangesNothing_data();
    void inputDuringARunChangesNothing();
    void progressReachesTheEndOfAWholeRun();
};

void RunProgressTest::init()
{
    startInNewFolder();
    writeFile(path("ALL.TXT"), decoderLog());
}

void RunProgressTest::cancelKeepsTheEarlierLog()
{
    std::string log;
    for (int i = 0; i < 3; ++i)
        log += decoderLog();
    writeFile(path("ALL.TXT"), log);
    const std::string earlier = "the earlier condensed log\r\n";
    writeFile(path("jt65a_K1ABC_logfile.txt"), earlier);
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    // Once the reading has stopped at the gate and the progress window is
    // up, showing part of the log done: a click on the run button goes
    // nowhere, Cancel is pressed, and only then may the reading go on.
    Gate gate;
    SlowEnvironment environment(&gate, log.size() / 3);
    QSignalSpy runButtonClicks(&m_button, &QPushButton::clicked);
    int shownValue = -1;
    QString barName;
    QString captionDuringRun;
    bool shownAfterCancel = false;
    QString textAfterCancel;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        QProgressDialog *dialog = visibleProgressWindow();
        if (dialog == nullptr || dialog->value() <= 0)
            return;
        watcher.stop();
        shownValue = dialog->value();
        barName = dialog->findChild<QProgressBar *>()->accessibleName();
        captionDuringRun = m_button.text();
        QTest::mouseClick(&m_button, Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
        // The run waits on the reading: the window stays and says why.
        shownAfterCancel = dialog->isVisible();
        textAfterCancel = dialog->labelText();
        gate.open();
    });
    watcher.start(10);
    QVERIFY(!run(environment));

    QVERIFY2(shownValue > 0 && shownValue < 1000, qPrintable(QString::number(shownValue)));
    QCOMPARE(barName, QStringLiteral("Condensing the log file"));
    QCOMPARE(captionDuringRun, QStringLiteral("Standby"));
    QCOMPARE(runButtonClicks.size(), 0);
    QVERIFY(shownAfterCancel);
    QVERIFY2(textAfterCancel.contains("stops\nas soon as it answers"), qPrintable(textAfterCancel));
    QCOMPARE(m_closer->boxes.size(), 1);
    QCOMPARE(m_closer->boxes.first().text, QStringLiteral("The run was cancelled. Nothing was changed."));
    QCOMPARE(m_button.text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), earlier);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QVERIFY(environment.doneAtEnd < environment.totalAtEnd);

    // Ready to run again.
    SlowEnvironment again(nullptr, 0);
    QVERIFY(run(again));
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(log, "K1ABC"));
}

// A run whose reading does not come back: after Cancel the window says the
// run stops when the drive answers, and once the run has waited long enough
// it offers to end the program. The wait is measured on a clock the test
// moves, not waited out.
void RunProgressTest::stuckRunOffersToEndTheProgram()
{
    Gate gate;
    SlowEnvironment environment(&gate, 0);
    std::atomic<qint64> now{0};
    environment.setRunClock([&now] { return now.load(); });
    bool cancelPressed = false;
    QElapsedTimer sinceCancel;  // the offer must come on the test's clock, not on the system's
    qint64 realWait = -1;
    QString offerBeforeTheWait;
    QString offer;
    QString offerButton;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        QProgressDialog *dialog = visibleProgressWindow();
        if (dialog == nullptr)
            return;
        if (!cancelPressed) {
            cancelPressed = true;
            sinceCancel.start();
            QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
            now += RunProgressWindow::stuckAfterMilliseconds - 1;
            QCoreApplication::processEvents();
            offerBeforeTheWait = dialog->labelText();
            now += 1;
            return;
        }
        const auto *button = dialog->findChild<QPushButton *>();
        if (button == nullptr || !button->isVisible() || button->text() != QStringLiteral("End the program"))
            return;
        watcher.stop();
        realWait = sinceCancel.elapsed();
        offer = dialog->labelText();
        offerButton = button->text();
        gate.open();
    });
    watcher.start(10);
    QVERIFY(!run(environment));

    QVERIFY2(!offerBeforeTheWait.contains("end the program"), qPrintable(offerBeforeTheWait));
    QVERIFY2(offer.contains("stops\nas soon as it answers"), qPrintable(offer));
    QVERIFY2(offer.contains("Or end the program now"), qPrintable(offer));
    QCOMPARE(offerButton, QStringLiteral("End the program"));
    QVERIFY2(realWait >= 0 && realWait < RunProgressWindow::stuckAfterMilliseconds,
             qPrintable(QString::number(realWait)));
    QCOMPARE(m_closer->boxes.size(), 1);
    QCOMPARE(m_closer->boxes.first().text, QStringLiteral("The run was cancelled. Nothing was changed."));
}

void RunProgressTest::inputDuringARunChangesNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("text dropped") << "drop";
    QTest::newRow("input method's text") << "input method";
    QTest::newRow("keys") << "keys";
}

// The call sign box of a window takes nothing while a run is on, and the
// same input takes effect once it is over.
void RunProgressTest::inputDuringARunChangesNothing()
{
    QFETCH(QString, input);
    QWidget window;
    auto *box = new TextBox(&window);
    box->setText(QStringLiteral("K1ABC"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    box->selectAll();
    QSignalSpy changes(box, &TextBox::changed);
    const auto give = [&] {
        if (input == "drop") {
            QMimeData text;
            text.setText(QStringLiteral("W9XYZ"));
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
        } else if (input == "input method") {
            QInputMethodEvent composed;
            composed.setCommitString(QStringLiteral("W9XYZ"));
            QApplication::sendEvent(box, &composed);
        } else {
            QTest::keyClicks(box, "W9XYZ");
        }
    };

    Gate gate;
    SlowEnvironment environment(&gate, 0);
    QTimer during;
    during.setSingleShot(true);
    connect(&during, &QTimer::timeout, this, [&] {
        give();
        gate.open();
    });
    during.start(0);
    QVERIFY(run(environment));
    QCOMPARE(box->text(), QStringLiteral("K1ABC"));
    QCOMPARE(changes.size(), 0);

    give();
    QVERIFY2(box->text().contains("W9XYZ"), qPrintable(box->text()));
}

void RunProgressTest::progressReachesTheEndOfAWholeRun()
{
    SlowEnvironment environment(nullptr, 0);
    QVERIFY(run(environment));
    QCOMPARE(environment.totalAtEnd, std::uint64_t(decoderLog().size()));
    QCOMPARE(environment.doneAtEnd, environment.totalAtEnd);
}

QTEST_MAIN(RunProgressTest)
#include "tst_runprogress.moc"
