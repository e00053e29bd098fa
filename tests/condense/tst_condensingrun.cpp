// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensedLog.h"
#include "DesktopRunEnvironment.h"
#include "FileError.h"
#include "FileRefusals.h"
#include "OutputFile.h"
#include "ReferenceCondenser.h"
#include "SlowRun.h"
#include "RunProgress.h"
#include "StringPrinting.h"
#include "TestFiles.h"
#include "platform/RunInFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace TestFiles;
using namespace std::string_literals;

namespace {

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
            std::optional<State> state() const override { return real->state(); }
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

const std::string earlierCondensedLog = "the earlier condensed log\r\n";

} // namespace

// Makes the earlier condensed log at `output`, for a run for `call`.
using MakeEarlier = std::function<void(const std::string &call, const QString &output)>;
// Lays out the test's folder before the run.
using SetUp = std::function<void()>;
Q_DECLARE_METATYPE(MakeEarlier)
Q_DECLARE_METATYPE(SetUp)

class CondensingRunTest : public RunInFolder
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

private:
    QString m_captionWhileBoxShown;
};

void CondensingRunTest::init()
{
    startInNewFolder([this] { m_captionWhileBoxShown = m_button.text(); });
    writeFile(path("ALL.TXT"), decoderLog());
    m_button.setText(QStringLiteral("designed caption"));
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
    QVERIFY(run(environment, {}, call.toStdString()));

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
    QTest::addColumn<MakeEarlier>("makeEarlier");
    QTest::addColumn<int>("permissions");  // of the earlier file; 0: as made
    QTest::addColumn<bool>("otherOwner");  // the earlier file given to another user and group
    const MakeEarlier longer = [](const std::string &, const QString &output) {
        writeFile(output, "an earlier, longer condensed log " + std::string(900000, 'x'));
    };
    const MakeEarlier byARun = [this](const std::string &call, const QString &) {
        DesktopRunEnvironment environment;
        QVERIFY(run(environment, {}, call));
    };
    QTest::newRow("earlier, longer condensed log") << "K1ABC"s << longer << 0 << false;
    QTest::newRow("read-only earlier file keeps its mode")
        << "K1ABC"s << longer << int(P::ReadOwner | P::ReadGroup | P::ReadOther) << false;
#ifdef Q_OS_UNIX
    QTest::newRow("0464 kept")
        << "K1ABC"s << longer << int(P::ReadOwner | P::ReadGroup | P::WriteGroup | P::ReadOther) << false;
    QTest::newRow("owner and group kept when run as root") << "K1ABC"s << longer << 0 << true;
#endif
    // The longest name a file system takes: 6 + 237 + 12 bytes.
    QTest::newRow("255-byte name, run twice") << std::string(237, 'W') << byARun << 0 << false;
}

void CondensingRunTest::replacesAnEarlierCondensedLog()
{
    QFETCH(std::string, call);
    QFETCH(MakeEarlier, makeEarlier);
    QFETCH(int, permissions);
    QFETCH(bool, otherOwner);
    const QString output = path(QString::fromStdString(CondensedLog::fileNameFor(call)));
    makeEarlier(call, output);
    if (QTest::currentTestFailed())
        return;
    if (permissions != 0)
        QVERIFY(QFile::setPermissions(output, QFileDevice::Permissions(permissions)));
#ifdef Q_OS_UNIX
    if (otherOwner && geteuid() != 0)
        QSKIP("Only root can give the earlier file another owner.");
    if (otherOwner)
        QCOMPARE(chown(QFile::encodeName(output).constData(), 4321, 5432), 0);
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(output).constData(), &before), 0);
#endif
    const QFileDevice::Permissions permissionsBefore = QFile::permissions(output);

    DesktopRunEnvironment environment;
    QVERIFY(run(environment, {}, call));
    QCOMPARE(readBytes(output), referenceCondense(decoderLog(), call));
    QCOMPARE(entries().size(), 2);
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
    QTest::addColumn<std::string>("call");
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("expectedReason");
    QTest::addColumn<int>("inputsOpened");  // 0: the run failed before it opened the log
    const QString output = "jt65a_K1ABC_logfile.txt";
    const SetUp earlierLog = [this, output] { writeFile(path(output), earlierCondensedLog); };
    const SetUp noLog = [this, earlierLog] {
        QVERIFY(QFile::remove(path("ALL.TXT")));
        earlierLog();
    };
    const SetUp folderAtOutput = [this, output] { QVERIFY(QDir(m_dir->path()).mkdir(output)); };
    const auto none = int(FaultyEnvironment::Fault::None);
    // The system's own words for a missing file differ between systems.
    QFile missing(QDir(QDir::tempPath()).filePath("a file that is not there.txt"));
    QVERIFY(!missing.open(QIODevice::ReadOnly));
    QTest::newRow("no log in the folder") << none << "K1ABC"s << noLog << "ALL.TXT" << missing.errorString() << 1;
    QTest::newRow("condensed log's name taken by a folder")
        << none << "K1ABC"s << folderAtOutput << output << QString::fromUtf8(FileRefusals::outputIsFolder) << 0;
    QTest::newRow("read error half-way")
        << int(FaultyEnvironment::Fault::Read) << "K1ABC"s << earlierLog << "ALL.TXT" << "Input/output error" << 1;
    QTest::newRow("write error half-way") << int(FaultyEnvironment::Fault::Write) << "K1ABC"s << earlierLog
                                          << output << "No space left on device" << 1;
    // A name longer than any folder takes (268 bytes) fails before the log is read.
#ifdef Q_OS_WIN
    // Windows' own words for a name its file systems cannot hold (ERROR_FILENAME_EXCED_RANGE).
    const QString tooLongReason = qt_error_string(206);
#else
    QFile tooLong(QDir(QDir::tempPath()).filePath(QString(268, 'W')));
    QVERIFY(!tooLong.open(QIODevice::WriteOnly));
    const QString tooLongReason = tooLong.errorString();
#endif
    QTest::newRow("name too long")
        << none << std::string(250, 'W') << earlierLog << "jt65a_WWWW" << tooLongReason << 0;
}

void CondensingRunTest::failureLeavesTheEarlierLogAndSaysWhy()
{
    QFETCH(int, fault);
    QFETCH(std::string, call);
    QFETCH(SetUp, setUp);
    QFETCH(QString, expectedFile);
    QFETCH(QString, expectedReason);
    QFETCH(int, inputsOpened);
    const QString output = path("jt65a_K1ABC_logfile.txt");
    setUp();
    if (QTest::currentTestFailed())
        return;
    const QStringList before = entries();

    FaultyEnvironment environment(static_cast<FaultyEnvironment::Fault>(fault));
    QVERIFY(!run(environment, {}, call));
    QCOMPARE(environment.inputsOpened, inputsOpened);

    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttonCount, 1);
    QVERIFY2(box.text.contains(expectedFile), qPrintable(box.text));
    QVERIFY2(box.text.contains(expectedReason), qPrintable(box.text));
    QCOMPARE(m_button.text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(entries(), before);
    if (QFileInfo(output).isFile())
        QCOMPARE(readBytes(output), earlierCondensedLog);
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

QTEST_MAIN(CondensingRunTest)
#include "tst_condensingrun.moc"
