// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopRunEnvironment.h"
#include "FileError.h"
#include "FileSource.h"
#include "ReferenceCondenser.h"
#include "RunInFolder.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <system_error>
#include <thread>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// A log that changes under the run, and a disk that fails it: the run ends
// with a warning that names the file and the reason, and nothing is lost.
using namespace TestFiles;

Q_DECLARE_METATYPE(std::function<void(const QString &)>)

namespace {

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

// What the folder is renamed by, when a test moves it away.
const QString movedAway = QStringLiteral(" moved");

// Marks the file last written a minute ago, as a log is when a run begins,
// so that a write during the run gives it another time, however coarse the
// file system's clock.
void writtenAMinuteAgo(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-60), QFileDevice::FileModificationTime));
}

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

class FailingDiskTest : public RunInFolder
{
    Q_OBJECT

private slots:
    void init() { startInNewFolder(); }
    void logChangedWhileItIsReadIsAWarning_data();
    void logChangedWhileItIsReadIsAWarning();
    void decoderWritingOnIsNoChange_data();
    void decoderWritingOnIsNoChange();
    void injectedFailureLeavesTheEarlierLog_data();
    void injectedFailureLeavesTheEarlierLog();
    void temporaryFileIsPrivateWhileItIsWritten();
};

void FailingDiskTest::logChangedWhileItIsReadIsAWarning_data()
{
    using Change = std::function<void(const QString &)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<QByteArray>("reason");
    const QByteArray changed = FileError::changedDuringRun;
    const QByteArray moved = FileError::movedDuringRun;
    QTest::newRow("cut by twelve bytes") << Change([](const QString &log) {
        QFile file(log);
        QVERIFY(file.resize(file.size() - 12));
    }) << changed;
    QTest::newRow("emptied") << Change([](const QString &log) { QVERIFY(QFile(log).resize(0)); }) << changed;
    QTest::newRow("emptied and filled again with other lines") << Change([](const QString &log) {
        std::string other;
        while (other.size() < (std::size_t{6} << 20))
            other += "000200   1  -21  0.3   -3  2 * K1ABC W9XYZ EN37\r\n";
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));  // the same file, as a decoder erases it
        QCOMPARE(file.write(other.data(), qint64(other.size())), qint64(other.size()));
    }) << changed;
#ifndef Q_OS_WIN  // where the time of last writing is kept as the file is written, not only as it is closed
    QTest::newRow("a line read and one not yet rewritten, as long as they were") << Change([](const QString &log) {
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadWrite));  // in place, the size kept
        for (const qint64 at : {qint64(1000), file.size() - 1000}) {
            QVERIFY(file.seek(at));
            QCOMPARE(file.write("9", 1), qint64(1));
        }
    }) << changed;
#endif
#ifndef Q_OS_WIN  // where a file open for reading cannot be replaced, removed or moved with its folder
    const auto replaceBy = [](const QString &log, const std::string &bytes) {
        writeFile(log + ".new", bytes);
        std::error_code error;
        std::filesystem::rename((log + ".new").toStdString(), log.toStdString(), error);
        QVERIFY2(!error, error.message().c_str());
    };
    QTest::newRow("replaced by another file") << Change([=](const QString &log) { replaceBy(log, theLog); })
                                              << moved;
    QTest::newRow("replaced by a copy of the same bytes")
        << Change([=](const QString &log) { replaceBy(log, readBytes(log)); }) << moved;
    QTest::newRow("removed") << Change([](const QString &log) { QVERIFY(QFile::remove(log)); }) << moved;
    QTest::newRow("its folder renamed") << Change([](const QString &log) {
        const QString folder = QFileInfo(log).absolutePath();
        QVERIFY(QDir().rename(folder, folder + movedAway));
    }) << moved;
#endif
}

void FailingDiskTest::logChangedWhileItIsReadIsAWarning()
{
    QFETCH(std::function<void(const QString &)>, change);
    QFETCH(QByteArray, reason);
    std::string log;
    while (log.size() < (std::size_t{5} << 20))
        log += "000000   6  -27  3.8   -11   7 * K1ABC W9XYZ EN52\r\n";
    writeFile(path("ALL.TXT"), log);
    writtenAMinuteAgo(path("ALL.TXT"));
    const std::string earlier = "the earlier condensed log\r\n";
    writeFile(path("jt65a_K1ABC_logfile.txt"), earlier);
    // The run's own files: the log may be gone.
    const auto others = [this] {
        QStringList list = entries();
        list.removeAll("ALL.TXT");
        return list;
    };
    const QStringList before = others();

    ChangingEnvironment environment(change);
    QVERIFY(!run(environment));
    if (QFileInfo::exists(m_dir->path() + movedAway))  // the folder back where it was, for the checks
        QVERIFY(QDir().rename(m_dir->path() + movedAway, m_dir->path()));
    QCOMPARE(m_closer->boxes.size(), 1);
    const ModalBoxCloser::Box box = m_closer->boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.contains(QString::fromUtf8(reason)), qPrintable(box.text));
    QVERIFY2(box.text.contains(QDir::toNativeSeparators(path("ALL.TXT"))), qPrintable(box.text));
    QCOMPARE(others(), before);
    QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), earlier);
}

void FailingDiskTest::decoderWritingOnIsNoChange_data()
{
    QTest::addColumn<std::size_t>("logSize");
    QTest::addColumn<int>("runs");
    // Most runs of the short log begin and end between two of the lines.
    QTest::newRow("short log") << theLog.size() << 40;
    QTest::newRow("log of 8 MiB") << (std::size_t{8} << 20) << 8;
}

void FailingDiskTest::decoderWritingOnIsNoChange()
{
    // The decoder writes a line every few milliseconds all through the runs,
    // each in a write of its own, as it opens and closes its log.
    QFETCH(std::size_t, logSize);
    QFETCH(int, runs);
    std::string log = theLog;
    while (log.size() < logSize)
        log += "000000   6  -27  3.8   -11   7 * K1ABC W9XYZ EN52\r\n";
    writeFile(path("ALL.TXT"), log);
    writtenAMinuteAgo(path("ALL.TXT"));
    std::atomic<bool> stop = false;
    std::thread decoder([&] {
        std::minstd_rand random(7);
        std::uniform_int_distribution<int> pause(1, 5);
        for (QFile file(path("ALL.TXT")); !stop; file.close()) {
            if (file.open(QIODevice::Append))  // a line without the call: the condensed log stays the same
                file.write("000100   1  -21  0.3   -3  2 * W1XYZ K2DEF FN42\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        }
    });
    const auto joined = qScopeGuard([&] {
        stop = true;
        decoder.join();
    });
    DesktopRunEnvironment environment;
    for (int i = 0; i < runs; ++i) {
        QVERIFY2(run(environment), qPrintable(m_closer->boxes.value(i).text));
        QCOMPARE(readBytes(path("jt65a_K1ABC_logfile.txt")), referenceCondense(log, "K1ABC"));
    }
    QCOMPARE(m_closer->boxes.size(), runs);
}

void FailingDiskTest::injectedFailureLeavesTheEarlierLog_data()
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

void FailingDiskTest::injectedFailureLeavesTheEarlierLog()
{
    QFETCH(QByteArray, call);
    QFETCH(bool, unnamed);
    QFETCH(bool, large);
    const SaveShim shim = saveShim();
    if (shim == nullptr)
        QSKIP("Runs with tests/SaveFailureShim preloaded (the tst_failingdisk_injected test).");
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
// Where the new file has a name while it is written, no one else may read
// it before it is in place; then it has the bits a new file is given.
void FailingDiskTest::temporaryFileIsPrivateWhileItIsWritten()
{
    const SaveShim shim = saveShim();
    if (shim == nullptr)
        QSKIP("Runs with tests/SaveFailureShim preloaded (the tst_failingdisk_injected test).");
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

QTEST_MAIN(FailingDiskTest)
#include "tst_failingdisk.moc"
