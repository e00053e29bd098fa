// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSource.h"
#include "CommandButton.h"
#include "CondensedLog.h"
#include "CondensingRun.h"
#include "DesktopRunEnvironment.h"
#include "FileError.h"
#include "ModalBoxCloser.h"
#include "OutputFile.h"
#include "ReferenceCondenser.h"
#include "RunProgressWindow.h"
#include "RunProgress.h"
#include "StringPrinting.h"
#include "TestFiles.h"
#include "TextBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <mutex>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace TestFiles;
using namespace std::string_literals;

namespace {

std::string decoderLog()
{
    std::string log = "\r\nUTC Date: 2008 Mar 05\r\n---------------------\r\n";
    for (int minute = 0; minute < 20000; ++minute) {
        log += minute % 10 == 0 ? "000100  Transmitting:  JT65A   CQ K1ABC FN42\r\n"
                                : "000200   1  -21  0.3   -3  2 * W1AW/P W9XYZ EN37\r\n";
    }
    return log;
}

// The desktop's files, with a read or write that fails half-way.
class FaultyEnvironment : public DesktopRunEnvironment
{
public:
    enum class Fault { None, Read, Write };

    explicit FaultyEnvironment(Fault fault) : m_fault(fault) {}

    std::unique_ptr<ByteSource> openInput(const std::string &path) override
    {
        ++inputsOpened;
        auto real = DesktopRunEnvironment::openInput(path);
        if (m_fault != Fault::Read)
            return real;
        struct Failing : ByteSource {
            std::unique_ptr<ByteSource> real;
            std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
            {
                if (real->readAt(offset, buffer, capacity / 2) > 0)
                    throw FileError(FileError::Operation::Read, "ALL.TXT", "Input/output error");
                return 0;
            }
            std::optional<FileIdentity> identity() const override { return real->identity(); }
            std::optional<std::uint64_t> size() const override { return real->size(); }
        };
        auto failing = std::make_unique<Failing>();
        failing->real = std::move(real);
        return failing;
    }

    std::unique_ptr<OutputFile> createOutput(const std::string &path) override
    {
        auto real = DesktopRunEnvironment::createOutput(path);
        if (m_fault != Fault::Write)
            return real;
        struct Failing : OutputFile {
            std::unique_ptr<OutputFile> real;
            std::string path;
            std::size_t written = 0;
            void write(const char *data, std::size_t size) override
            {
                real->write(data, size);
                written += size;
                if (written > 50000)
                    throw FileError(FileError::Operation::Write, path, "No space left on device");
            }
            void refuseIfReplacing(const ByteSource &log) override { real->refuseIfReplacing(log); }
            void commit() override { real->commit(); }
        };
        auto failing = std::make_unique<Failing>();
        failing->real = std::move(real);
        failing->path = path;
        return failing;
    }

    int inputsOpened = 0;

private:
    Fault m_fault;
};

// Holds a reader back until it is opened.
class Gate
{
public:
    void open()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

    void pass()
    {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

// The desktop's files, the log read no further than `holdAt` bytes until
// the gate opens. Records how far the run's progress got.
class SlowEnvironment : public DesktopRunEnvironment
{
public:
    SlowEnvironment(Gate *gate, std::size_t holdAt) : m_gate(gate), m_holdAt(holdAt) {}

    std::unique_ptr<ByteSource> openInput(const std::string &path) override
    {
        struct Slow : ByteSource {
            std::unique_ptr<ByteSource> real;
            Gate *gate = nullptr;
            std::size_t holdAt = 0;
            std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
            {
                if (gate != nullptr && offset >= holdAt)
                    gate->pass();
                return real->readAt(offset, buffer, capacity);
            }
            std::optional<FileIdentity> identity() const override { return real->identity(); }
            std::optional<std::uint64_t> size() const override { return real->size(); }
        };
        auto slow = std::make_unique<Slow>();
        slow->real = DesktopRunEnvironment::openInput(path);
        slow->gate = m_gate;
        slow->holdAt = m_holdAt;
        return slow;
    }

    void runAside(const std::function<void()> &work, RunProgress &progress) override
    {
        DesktopRunEnvironment::runAside(work, progress);
        doneAtEnd = progress.done();
        totalAtEnd = progress.total();
    }

    std::uint64_t doneAtEnd = 0;
    std::uint64_t totalAtEnd = 0;

private:
    Gate *m_gate;
    std::size_t m_holdAt;
};

QProgressDialog *visibleProgressWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QProgressDialog *>(widget);
        if (dialog != nullptr && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

class CondensingRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesTheCondensedLogAndAnnouncesIt_data();
    void writesTheCondensedLogAndAnnouncesIt();
    void replacesAnEarlierCondensedLog_data();
    void replacesAnEarlierCondensedLog();
    void failureLeavesTheEarlierLogAndSaysWhy_data();
    void failureLeavesTheEarlierLogAndSaysWhy();
    void outputFolderThatCannotExist();
    void cancelKeepsTheEarlierLog();
    void stuckRunOffersToEndTheProgram();
    void inputDuringARunChangesNothing_data();
    void inputDuringARunChangesNothing();
    void progressReachesTheEndOfAWholeRun();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    bool run(RunEnvironment &environment, const std::string &call);

    std::unique_ptr<QTemporaryDir> m_dir;
    CommandButton m_button;
    std::unique_ptr<ModalBoxCloser> m_closer;
    QString m_captionWhileBoxShown;
};

void CondensingRunTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeFile(path("ALL.TXT"), decoderLog());
    m_button.setText(QStringLiteral("designed caption"));
    m_closer = std::make_unique<ModalBoxCloser>([this] { m_captionWhileBoxShown = m_button.text(); });
}

bool CondensingRunTest::run(RunEnvironment &environment, const std::string &call)
{
    CondensingRun condensingRun(environment, m_button);
    return condensingRun.perform({m_dir->path().toStdString(), "ALL.TXT", call, call});
}

void CondensingRunTest::writesTheCondensedLogAndAnnouncesIt_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("call sign") << "K1ABC" << "jt65a_K1ABC_logfile.txt";
    QTest::newRow("portable call with a slash") << "W1AW/P" << "jt65a_W1AW-P_logfile.txt";
    QTest::newRow("characters no file name can hold") << "A:B*C?\"<>|\\" << "jt65a_A-B-C------_logfile.txt";
    QTest::newRow("empty call") << "" << "jt65a__logfile.txt";
}

void CondensingRunTest::writesTheCondensedLogAndAnnouncesIt()
{
    QFETCH(QString, call);
    QFETCH(QString, fileName);
    DesktopRunEnvironment environment;
    QVERIFY(run(environment, call.toStdString()));

    QCOMPARE(readBytes(path(fileName)), referenceCondense(decoderLog(), call.toStdString()));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"ALL.TXT", fileName}));

    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.text, "A new file, " + QDir::toNativeSeparators(path(fileName)) + ", has been created.");
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.title, QStringLiteral("JT65a raw log clarifier"));
    QCOMPARE(box.buttonCount, 1);
    QCOMPARE(m_captionWhileBoxShown, QStringLiteral("Standby"));
    QCOMPARE(m_button.text(), QStringLiteral("Clarify the raw JT65a logfile now."));
}

void CondensingRunTest::replacesAnEarlierCondensedLog_data()
{
    using P = QFileDevice;
    QTest::addColumn<std::string>("call");
    QTest::addColumn<int>("permissions");  // of the earlier file; 0: as made
    QTest::newRow("earlier, longer condensed log") << "K1ABC"s << 0;
    QTest::newRow("read-only earlier file keeps its mode")
        << "K1ABC"s << int(P::ReadOwner | P::ReadGroup | P::ReadOther);
#ifdef Q_OS_UNIX
    QTest::newRow("0464 kept") << "K1ABC"s << int(P::ReadOwner | P::ReadGroup | P::WriteGroup | P::ReadOther);
    QTest::newRow("owner and group kept when run as root") << "K1ABC"s << 0;
#endif
    // The longest name a file system takes: 6 + 237 + 12 bytes.
    QTest::newRow("255-byte name, run twice") << std::string(237, 'W') << 0;
}

void CondensingRunTest::replacesAnEarlierCondensedLog()
{
    QFETCH(std::string, call);
    QFETCH(int, permissions);
    const QString tag = QTest::currentDataTag();
    const QString output = path(QString::fromStdString(CondensedLog::fileNameFor(call)));
    DesktopRunEnvironment environment;
    if (tag.contains("run twice"))
        QVERIFY(run(environment, call));
    else
        writeFile(output, "an earlier, longer condensed log " + std::string(900000, 'x'));
    if (permissions != 0)
        QVERIFY(QFile::setPermissions(output, QFileDevice::Permissions(permissions)));
#ifdef Q_OS_UNIX
    const bool owner = tag.contains("owner");
    if (owner && geteuid() != 0)
        QSKIP("Only root can give the earlier file another owner.");
    if (owner)
        QCOMPARE(chown(QFile::encodeName(output).constData(), 4321, 5432), 0);
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(output).constData(), &before), 0);
#endif
    const QFileDevice::Permissions permissionsBefore = QFile::permissions(output);

    QVERIFY(run(environment, call));
    QCOMPARE(readBytes(output), referenceCondense(decoderLog(), call));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
    QCOMPARE(QFile::permissions(output), permissionsBefore);
#ifdef Q_OS_UNIX
    struct stat after {};
    QCOMPARE(stat(QFile::encodeName(output).constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
#endif
    if (permissions != 0)
        QFile::setPermissions(output, QFileDevice::ReadOwner | QFileDevice::WriteOwner);  // for the clean-up
}

void CondensingRunTest::failureLeavesTheEarlierLogAndSaysWhy_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("expectedReason");
    // The system's own words for a missing file differ between systems.
    QFile missing(QDir(QDir::tempPath()).filePath("a file that is not there.txt"));
    QVERIFY(!missing.open(QIODevice::ReadOnly));
    QTest::newRow("no log in the folder") << int(FaultyEnvironment::Fault::None) << "ALL.TXT"
                                          << missing.errorString();
    QTest::newRow("condensed log's name taken by a folder") << int(FaultyEnvironment::Fault::None)
                                                            << "jt65a_K1ABC_logfile.txt" << "";
    QTest::newRow("read error half-way") << int(FaultyEnvironment::Fault::Read) << "ALL.TXT"
                                         << "Input/output error";
    QTest::newRow("write error half-way") << int(FaultyEnvironment::Fault::Write)
                                          << "jt65a_K1ABC_logfile.txt" << "No space left on device";
    // A name longer than any folder takes (268 bytes) fails before the log is read.
#ifdef Q_OS_WIN
    // Windows' own words for a name its file systems cannot hold (ERROR_FILENAME_EXCED_RANGE).
    const QString tooLongReason = qt_error_string(206);
#else
    QFile tooLong(QDir(QDir::tempPath()).filePath(QString(268, 'W')));
    QVERIFY(!tooLong.open(QIODevice::WriteOnly));
    const QString tooLongReason = tooLong.errorString();
#endif
    QTest::newRow("name too long") << int(FaultyEnvironment::Fault::None) << "jt65a_WWWW" << tooLongReason;
}

void CondensingRunTest::failureLeavesTheEarlierLogAndSaysWhy()
{
    QFETCH(int, fault);
    QFETCH(QString, expectedFile);
    QFETCH(QString, expectedReason);
    const QString output = path("jt65a_K1ABC_logfile.txt");
    const std::string earlier = "the earlier condensed log\r\n";
    if (QString(QTest::currentDataTag()).startsWith("no log"))
        QVERIFY(QFile::remove(path("ALL.TXT")));
    if (QString(QTest::currentDataTag()).startsWith("condensed log's name"))
        QVERIFY(QDir(m_dir->path()).mkdir("jt65a_K1ABC_logfile.txt"));
    else
        writeFile(output, earlier);
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const bool tooLong = QString(QTest::currentDataTag()).startsWith("name too long");
    FaultyEnvironment environment(static_cast<FaultyEnvironment::Fault>(fault));
    QVERIFY(!run(environment, tooLong ? std::string(250, 'W') : "K1ABC"));
    if (tooLong)
        QCOMPARE(environment.inputsOpened, 0);

    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttonCount, 1);
    QVERIFY2(box.text.contains(expectedFile), qPrintable(box.text));
    QVERIFY2(box.text.contains(expectedReason), qPrintable(box.text));
    QCOMPARE(m_button.text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    if (QFileInfo(output).isFile())
        QCOMPARE(readBytes(output), earlier);
}

void CondensingRunTest::outputFolderThatCannotExist()
{
    // Not even root can create a folder inside a regular file.
    DesktopRunEnvironment environment;
    const std::string inside = path("ALL.TXT").toStdString() + "/jt65a_K1ABC_logfile.txt";
    try {
        environment.createOutput(inside);
        QFAIL("an output inside a regular file was created");
    } catch (const FileError &error) {
        QCOMPARE(error.path(), inside);
        QCOMPARE(error.operation(), FileError::Operation::Write);
        QVERIFY(!error.reason().empty());
    }
}

void CondensingRunTest::cancelKeepsTheEarlierLog()
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
    QVERIFY(!run(environment, "K1ABC"));

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
    QVERIFY(run(again, "K1ABC"));
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(log, "K1ABC"));
}

// A run whose reading does not come back: after Cancel the window says the
// run stops when the drive answers, and once the run has waited long enough
// it offers to end the program. The wait is measured on a clock the test
// moves, not waited out.
void CondensingRunTest::stuckRunOffersToEndTheProgram()
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
    QVERIFY(!run(environment, "K1ABC"));

    QVERIFY2(!offerBeforeTheWait.contains("end the program"), qPrintable(offerBeforeTheWait));
    QVERIFY2(offer.contains("stops\nas soon as it answers"), qPrintable(offer));
    QVERIFY2(offer.contains("Or end the program now"), qPrintable(offer));
    QCOMPARE(offerButton, QStringLiteral("End the program"));
    QVERIFY2(realWait >= 0 && realWait < RunProgressWindow::stuckAfterMilliseconds, qPrintable(QString::number(realWait)));
    QCOMPARE(m_closer->boxes.size(), 1);
    QCOMPARE(m_closer->boxes.first().text, QStringLiteral("The run was cancelled. Nothing was changed."));
}

void CondensingRunTest::inputDuringARunChangesNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("text dropped") << "drop";
    QTest::newRow("input method's text") << "input method";
    QTest::newRow("keys") << "keys";
}

// The call sign box of a window takes nothing while a run is on, and the
// same input takes effect once it is over.
void CondensingRunTest::inputDuringARunChangesNothing()
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
    QVERIFY(run(environment, "K1ABC"));
    QCOMPARE(box->text(), QStringLiteral("K1ABC"));
    QCOMPARE(changes.size(), 0);

    give();
    QVERIFY2(box->text().contains("W9XYZ"), qPrintable(box->text()));
}

void CondensingRunTest::progressReachesTheEndOfAWholeRun()
{
    SlowEnvironment environment(nullptr, 0);
    QVERIFY(run(environment, "K1ABC"));
    QCOMPARE(environment.totalAtEnd, std::uint64_t(decoderLog().size()));
    QCOMPARE(environment.doneAtEnd, environment.totalAtEnd);
}

QTEST_MAIN(CondensingRunTest)
#include "tst_condensingrun.moc"
