// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSource.h"
#include "CommandButton.h"
#include "CondensingRun.h"
#include "DesktopRunEnvironment.h"
#include "FileError.h"
#include "FileSource.h"
#include "ModalBoxCloser.h"
#include "ReferenceCondenser.h"
#include "TestFiles.h"
#include "WindowGoneWatch.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <system_error>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// Logs and names that try to make the run lose data, hang or end without a
// word. Each is refused or survived with a warning, and nothing is lost.
using namespace TestFiles;

Q_DECLARE_METATYPE(std::function<void(const QString &)>)

namespace {

const std::string theLog = "\r\nUTC Date: 2008 Mar 05\r\n000100  Transmitting:  JT65A   CQ K1ABC FN42\r\n"
                           "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";

// The desktop's files, except that reading the log asks for more memory than
// there is.
class MemoryHungryEnvironment : public DesktopRunEnvironment
{
public:
    std::unique_ptr<ByteSource> openInput(const std::string &path) override
    {
        struct Hungry : ByteSource {
            std::unique_ptr<ByteSource> real;
            std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
            {
                if (real->readAt(offset, buffer, capacity) > 0)
                    throw std::bad_alloc();
                return 0;
            }
        };
        auto hungry = std::make_unique<Hungry>();
        hungry->real = DesktopRunEnvironment::openInput(path);
        return hungry;
    }
};

// Another program changes the log while the run reads it, just before the
// run reads on past its first megabyte.
class ChangingEnvironment : public DesktopRunEnvironment
{
public:
    explicit ChangingEnvironment(std::function<void(const QString &log)> change)
        : m_change(std::move(change))
    {
    }

    std::unique_ptr<ByteSource> openInput(const std::string &path) override
    {
        struct Changing : FileSource {
            Changing(const std::string &path, std::function<void(const QString &)> change)
                : FileSource(path), path(QString::fromStdString(path)), change(std::move(change))
            {
            }
            std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
            {
                if (change && offset >= (std::uint64_t{1} << 20)) {
                    change(path);
                    change = nullptr;
                }
                return FileSource::readAt(offset, buffer, capacity);
            }
            QString path;
            std::function<void(const QString &)> change;
        };
        return std::make_unique<Changing>(path, m_change);
    }

private:
    std::function<void(const QString &)> m_change;
};

// The preloaded shim's switch (tests/platform/SaveFailureShim.cpp), where
// it is loaded; none elsewhere.
using SaveShim = void (*)(const char *call, int unnamed);

SaveShim saveShim()
{
#ifdef Q_OS_LINUX
    return reinterpret_cast<SaveShim>(dlsym(RTLD_DEFAULT, "clarifier_save_shim"));
#else
    return nullptr;
#endif
}

} // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusedWithNothingLost_data();
    void refusedWithNothingLost();
    void notEnoughMemoryIsAWarningAndTheProgramGoesOn();
    void logChangedWhileItIsReadIsAWarning_data();
    void logChangedWhileItIsReadIsAWarning();
    void injectedFailureLeavesTheEarlierLog_data();
    void injectedFailureLeavesTheEarlierLog();
    void leftoversOfEndedRunsAreRemoved();
    void temporaryFileIsPrivateWhileItIsWritten();
    void messagesShowNamesAsTheyAre_data();
    void messagesShowNamesAsTheyAre();
    void windowDestroyedByAnotherProgram_data();
    void windowDestroyedByAnotherProgram();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    bool run(RunEnvironment &environment, const QString &folder = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_elsewhere;  // another folder, which a link may lead to
    CommandButton m_button;
    std::unique_ptr<ModalBoxCloser> m_closer;
};

void HostileFilesTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_elsewhere = std::make_unique<QTemporaryDir>();
    QVERIFY(m_elsewhere->isValid());
    m_closer = std::make_unique<ModalBoxCloser>();
}

bool HostileFilesTest::run(RunEnvironment &environment, const QString &folder)
{
    CondensingRun condensingRun(environment, m_button);
    const std::string inFolder = (folder.isEmpty() ? m_dir->path() : folder).toStdString();
    return condensingRun.perform({inFolder, "ALL.TXT", "K1ABC", "K1ABC"});
}

void HostileFilesTest::refusedWithNothingLost_data()
{
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("expectedReason");
    const QString sameFile = "This name leads to the log file itself";
    const QString special = "This is not an ordinary file but a named pipe, a device or a socket";
    const QString link = "This name is a link, and the condensed log is never written through a link.";
    const QString output = "jt65a_K1ABC_logfile.txt";
    QTest::newRow("condensed log's name is a second name of the log") << output << sameFile;
#ifdef Q_OS_UNIX
    QTest::newRow("condensed log's name is a link to the log") << output << link;
    QTest::newRow("condensed log's name is a link through far/.. to the log") << output << link;
    QTest::newRow("condensed log's name is a chain of 41 links to the log") << output << link;
    QTest::newRow("condensed log's name is a link to another file") << output << link;
    QTest::newRow("condensed log's name is a dangling link") << output << link;
    QTest::newRow("condensed log's name is a named pipe") << output << "This name is not an ordinary file";
    QTest::newRow("log is a named pipe") << "ALL.TXT" << special;
    QTest::newRow("log is a device without end") << "ALL.TXT" << special;
    QTest::newRow("log is a socket") << "ALL.TXT" << special;
#endif
#ifdef Q_OS_WIN
    QTest::newRow("condensed log's name is a junction to another folder") << output << link;
#endif
}

void HostileFilesTest::refusedWithNothingLost()
{
    QFETCH(QString, expectedFile);
    QFETCH(QString, expectedReason);
    const QString tag = QTest::currentDataTag();
    const QString log = path("ALL.TXT");
    const QString output = path("jt65a_K1ABC_logfile.txt");
    const QString otherFile = m_elsewhere->filePath("notes.txt");
    const std::string notes = "another user's notes\n";
    writeFile(otherFile, notes);
    if (tag.startsWith("condensed log's name"))
        writeFile(log, theLog);
    std::error_code error;
    const auto linkAtOutput = [&](const QString &target) {
        std::filesystem::create_symlink(target.toStdString(), output.toStdString(), error);
    };
    if (tag.contains("second name"))
        std::filesystem::create_hard_link(log.toStdString(), output.toStdString(), error);
    if (tag.endsWith("a link to the log"))
        linkAtOutput("ALL.TXT");
    if (tag.contains("far/..")) {
        // The link's text names ALL.TXT beside it; the system finds far's parent.
        QVERIFY(QDir(m_elsewhere->path()).mkdir("sub"));
        std::filesystem::create_directory_symlink(m_elsewhere->filePath("sub").toStdString(),
                                                  path("far").toStdString(), error);
        QVERIFY2(!error, error.message().c_str());
        linkAtOutput("far/../ALL.TXT");
    }
    if (tag.contains("41 links")) {
        for (int i = 1; i <= 41 && !error; ++i) {
            const std::string target = i == 41 ? "ALL.TXT" : "link" + std::to_string(i + 1);
            std::filesystem::create_symlink(target, path(QString("link%1").arg(i)).toStdString(), error);
        }
        QVERIFY2(!error, error.message().c_str());
        linkAtOutput("link1");
    }
    if (tag.contains("another file"))
        linkAtOutput(otherFile);
    if (tag.contains("dangling"))
        linkAtOutput(m_elsewhere->filePath("new.txt"));
    QVERIFY2(!error, error.message().c_str());
#ifdef Q_OS_WIN
    if (tag.contains("junction")) {
        const int made = QProcess::execute("cmd.exe", {"/c", "mklink", "/J", QDir::toNativeSeparators(output),
                                                       QDir::toNativeSeparators(m_elsewhere->path())});
        // Wine 8 has no reparse points: its mklink /J makes nothing.
        if (made != 0 || !QFileInfo(output).isJunction())
            QSKIP("This system made no junction (mklink /J), so there is none to refuse.");
    }
#endif
#ifdef Q_OS_UNIX
    int socketHandle = -1;
    if (tag.contains("pipe"))
        QCOMPARE(mkfifo(QFile::encodeName(tag.startsWith("log") ? log : output).constData(), 0600), 0);
    if (tag.contains("device"))
        QVERIFY(QFile::link("/dev/zero", log));
    if (tag.contains("socket")) {
        socketHandle = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(log);
        QVERIFY(socketHandle >= 0 && std::size_t(name.size()) < sizeof address.sun_path);
        std::copy(name.begin(), name.end(), address.sun_path);
        QCOMPARE(bind(socketHandle, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(listen(socketHandle, 1), 0);
    }
    const auto closeSocket = qScopeGuard([socketHandle] {
        if (socketHandle >= 0)
            close(socketHandle);
    });
#endif
    const QStringList before = entries();
    const QStringList elsewhereBefore = QDir(m_elsewhere->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);

    DesktopRunEnvironment environment;
    QVERIFY(!run(environment));

    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(path(expectedFile))), qPrintable(box.text));
    QVERIFY2(box.text.contains(expectedReason), qPrintable(box.text));
    QVERIFY2(box.text.contains("Nothing was changed."), qPrintable(box.text));
    QCOMPARE(m_button.text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(entries(), before);
    QCOMPARE(QDir(m_elsewhere->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot), elsewhereBefore);
    QCOMPARE(readBytes(otherFile), notes);
    if (tag.startsWith("condensed log's name"))
        QCOMPARE(readBytes(log), theLog);
}

void HostileFilesTest::notEnoughMemoryIsAWarningAndTheProgramGoesOn()
{
    writeFile(path("ALL.TXT"), theLog);
    const std::string earlier = "the earlier condensed log\r\n";
    writeFile(path("jt65a_K1ABC_logfile.txt"), earlier);
    const QStringList before = entries();

    MemoryHungryEnvironment hungry;
    QVERIFY(!run(hungry));
    QCOMPARE(m_closer->boxes.size(), 1);
    QCOMPARE(m_closer->boxes.first().icon, QMessageBox::Warning);
    QVERIFY2(m_closer->boxes.first().text.contains("not enough memory"), qPrintable(m_closer->boxes.first().text));
    QVERIFY(m_closer->boxes.first().text.contains(QDir::toNativeSeparators(path("ALL.TXT"))));
    QCOMPARE(entries(), before);
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), earlier);

    DesktopRunEnvironment enough;
    QVERIFY(run(enough));
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(theLog, "K1ABC"));
}

void HostileFilesTest::logChangedWhileItIsReadIsAWarning_data()
{
    using Change = std::function<void(const QString &)>;
    QTest::addColumn<Change>("change");
    QTest::newRow("cut by twelve bytes") << Change([](const QString &log) {
        QFile file(log);
        QVERIFY(file.resize(file.size() - 12));
    });
    QTest::newRow("emptied") << Change([](const QString &log) { QVERIFY(QFile(log).resize(0)); });
    QTest::newRow("emptied and filled again with other lines") << Change([](const QString &log) {
        std::string other;
        while (other.size() < (std::size_t{6} << 20))
            other += "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));  // the same file, as a decoder erases it
        QCOMPARE(file.write(other.data(), qint64(other.size())), qint64(other.size()));
    });
    QTest::newRow("replaced by another file") << Change([](const QString &log) {
        writeFile(log + ".new", theLog);
        std::error_code error;
        std::filesystem::rename((log + ".new").toStdString(), log.toStdString(), error);
        QVERIFY2(!error, error.message().c_str());
    });
}

void HostileFilesTest::logChangedWhileItIsReadIsAWarning()
{
    QFETCH(std::function<void(const QString &)>, change);
    std::string log;
    while (log.size() < (std::size_t{5} << 20))
        log += "000000   6  -27  3.8   -11   7 * K1ABC W9XYZ EN52\r\n";
    writeFile(path("ALL.TXT"), log);
    const std::string earlier = "the earlier condensed log\r\n";
    writeFile(path("jt65a_K1ABC_logfile.txt"), earlier);
    const QStringList before = entries();

    ChangingEnvironment environment(change);
    QVERIFY(!run(environment));
    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.contains(QString::fromUtf8(FileError::changedDuringRun).left(40)), qPrintable(box.text));
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(path("ALL.TXT"))), qPrintable(box.text));
    QCOMPARE(entries(), before);
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), earlier);
}

void HostileFilesTest::injectedFailureLeavesTheEarlierLog_data()
{
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<bool>("large");  // a condensed log that is flushed while it is written
    for (const bool unnamed : {true, false}) {
        const char *kind = unnamed ? "unnamed new file" : "named new file";
        QTest::addRow("%s, write fails", kind) << QByteArray("write") << unnamed << false;
        QTest::addRow("%s, flush fails", kind) << QByteArray("fdatasync") << unnamed << false;
        QTest::addRow("%s, close fails", kind) << QByteArray("close") << unnamed << false;
        QTest::addRow("%s, rename fails", kind) << QByteArray("renameat") << unnamed << false;
    }
    QTest::newRow("unnamed new file, link fails") << QByteArray("linkat") << true << false;
    QTest::newRow("flush of the folder fails, after the rename") << QByteArray("fsync") << true << false;
    QTest::newRow("a flush while the file is written fails, the last one works")
        << QByteArray("fdatasync") << true << true;
    QTest::newRow("reading the log fails past its first megabyte") << QByteArray("pread") << true << true;
}

void HostileFilesTest::injectedFailureLeavesTheEarlierLog()
{
    QFETCH(QByteArray, call);
    QFETCH(bool, unnamed);
    QFETCH(bool, large);
    const SaveShim shim = saveShim();
    if (shim == nullptr)
        QSKIP("Runs with tests/SaveFailureShim preloaded (the tst_hostilefiles_injected test).");
    std::string log = theLog;
    while (large && log.size() < (std::size_t{12} << 20))
        log += "000000   6  -27  3.8   -11   7 * K1ABC W9XYZ EN52\r\n";
    writeFile(path("ALL.TXT"), log);
    const std::string earlier = "the earlier condensed log\r\n";
    writeFile(path("jt65a_K1ABC_logfile.txt"), earlier);
    const QStringList before = entries();

    shim(call.constData(), unnamed);
    const auto disarm = qScopeGuard([shim] { shim(nullptr, 1); });
    DesktopRunEnvironment environment;
    QVERIFY(!run(environment));

    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    const QString failed = call == "pread" ? "ALL.TXT" : "jt65a_K1ABC_logfile.txt";
    QVERIFY2(box.text.contains(path(failed)), qPrintable(box.text));
    QVERIFY2(box.text.contains(QString::fromStdString(std::generic_category().message(EIO))), qPrintable(box.text));
    QCOMPARE(entries(), before);
    if (call == "fsync") {
        // The new file is in place; only its lasting through a power failure is in doubt.
        QVERIFY2(box.text.contains("its folder could not be flushed to disk"), qPrintable(box.text));
        QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(log, "K1ABC"));
    } else {
        QVERIFY2(box.text.contains("Nothing was changed."), qPrintable(box.text));
        QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), earlier);
    }
}

// A run that ended before its save did leaves its new file under a save's
// temporary name; the next run removes it, unless a run still holds it.
void HostileFilesTest::leftoversOfEndedRunsAreRemoved()
{
    writeFile(path("ALL.TXT"), theLog);
    writeFile(path(".jt65a-0123456789.tmp"), "half a condensed log");
    writeFile(path(".jt65a-abcdefghij.tmp"), "a run's file in the making");
    writeFile(path(".jt65a-notours.tmp"), "not a save's name");
    QFile held(path(".jt65a-abcdefghij.tmp"));
    QVERIFY(held.open(QIODevice::ReadWrite));
#ifdef Q_OS_UNIX
    QCOMPARE(flock(held.handle(), LOCK_EX | LOCK_NB), 0);
#endif

    QStringList kept = {".jt65a-abcdefghij.tmp", ".jt65a-notours.tmp", "ALL.TXT", "jt65a_K1ABC_logfile.txt"};
#ifdef Q_OS_UNIX
    // A second name of another file, and (where the test may give a file
    // away) another user's file in a shared folder: not a run's of ours.
    writeFile(m_elsewhere->filePath("notes.txt"), "another file's contents");
    QCOMPARE(::link(QFile::encodeName(m_elsewhere->filePath("notes.txt")).constData(),
                    QFile::encodeName(path(".jt65a-li1li1li1l.tmp")).constData()), 0);
    kept << ".jt65a-li1li1li1l.tmp";
    if (::geteuid() == 0) {
        writeFile(path(".jt65a-u3u3u3u3u3.tmp"), "another user's file");
        QCOMPARE(::chown(QFile::encodeName(path(".jt65a-u3u3u3u3u3.tmp")).constData(), 65534, 65534), 0);
        kept << ".jt65a-u3u3u3u3u3.tmp";
    }
#endif

    DesktopRunEnvironment environment;
    QVERIFY(run(environment));
    kept.sort();
    QCOMPARE(entries(), kept);
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(theLog, "K1ABC"));
}

// Where the new file has a name while it is written, no one else may read
// it before it is in place; then it has the bits a new file is given.
void HostileFilesTest::temporaryFileIsPrivateWhileItIsWritten()
{
    const SaveShim shim = saveShim();
    if (shim == nullptr)
        QSKIP("Runs with tests/SaveFailureShim preloaded (the tst_hostilefiles_injected test).");
#ifdef Q_OS_UNIX
    shim(nullptr, 0);  // no unnamed files, as on a network share
    const auto disarm = qScopeGuard([shim] { shim(nullptr, 1); });
    std::string log;
    while (log.size() < (std::size_t{3} << 20))
        log += "000000   6  -27  3.8   -11   7 * K1ABC W9XYZ EN52\r\n";
    writeFile(path("ALL.TXT"), log);
    const auto modeOf = [](const QString &file) {
        struct stat status {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 07777 : ~0u;
    };
    QList<unsigned> whileWritten;
    ChangingEnvironment environment([&](const QString &) {
        for (const QFileInfo &entry : QDir(m_dir->path()).entryInfoList({".jt65a-*.tmp"}, QDir::Files | QDir::Hidden))
            whileWritten << modeOf(entry.filePath());
    });
    const mode_t mask = ::umask(022);
    const auto restore = qScopeGuard([mask] { ::umask(mask); });
    QVERIFY(run(environment));
    QCOMPARE(whileWritten, QList<unsigned>({0600}));
    QCOMPARE(modeOf(path("jt65a_K1ABC_logfile.txt")), 0644u);
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(log, "K1ABC"));
#endif
}

void HostileFilesTest::messagesShowNamesAsTheyAre_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("withLog");
    QTest::newRow("completion message, folder with an entity") << "a&amp;b&lt;" << true;
    QTest::newRow("warning, folder with an entity") << "a&amp;b&lt;" << false;
#ifndef Q_OS_WIN  // where "<" and ">" cannot stand in a file name
    QTest::newRow("completion message, folder with markup") << "tag<i>dir" << true;
    QTest::newRow("warning, folder with markup") << "tag<b>dir" << false;
#endif
}

void HostileFilesTest::messagesShowNamesAsTheyAre()
{
    QFETCH(QString, folder);
    QFETCH(bool, withLog);
    const QString inFolder = path(folder);
    QVERIFY(QDir(m_dir->path()).mkdir(folder));
    if (withLog)
        writeFile(inFolder + "/ALL.TXT", theLog);

    DesktopRunEnvironment environment;
    QCOMPARE(run(environment, inFolder), withLog);
    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.textFormat, Qt::PlainText);
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(inFolder)), qPrintable(box.text));
}

void HostileFilesTest::windowDestroyedByAnotherProgram_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("ours");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("our window destroyed") << int(WindowGoneWatch::destroyNotify) << true << true;
    QTest::newRow("our window destroyed, as another client tells") << (WindowGoneWatch::destroyNotify | 0x80) << true
                                                                    << true;
    QTest::newRow("another window destroyed") << int(WindowGoneWatch::destroyNotify) << false << false;
    QTest::newRow("our window unmapped") << 18 << true << false;
}

// The X server's word that a window is gone hides the widget it showed, so
// that the program can end (the event is built as the server sends it).
void HostileFilesTest::windowDestroyedByAnotherProgram()
{
    QFETCH(int, type);
    QFETCH(bool, ours);
    QFETCH(bool, hidden);
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.internalWinId() != 0);
    unsigned char event[32] = {};
    event[0] = static_cast<unsigned char>(type);
    const auto destroyed = static_cast<std::uint32_t>(window.internalWinId()) + (ours ? 0 : 1);
    std::memcpy(event + WindowGoneWatch::destroyedWindowOffset, &destroyed, sizeof destroyed);
    WindowGoneWatch watch;
    QVERIFY(!watch.nativeEventFilter("xcb_generic_event_t", event, nullptr));
    QTRY_COMPARE(window.isVisible(), !hidden);
    if (!hidden) {
        QCoreApplication::sendPostedEvents();  // nothing queued may hide it later
        QVERIFY(window.isVisible());
    }
}

QTEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
