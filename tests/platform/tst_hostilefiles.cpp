// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSource.h"
#include "DesktopRunEnvironment.h"
#include "FileError.h"
#include "LabelLines.h"
#include "ModalBoxCloser.h"
#include "ReferenceCondenser.h"
#include "RunInFolder.h"
#include "TestFiles.h"
#include "WindowGoneWatch.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// Logs and names that try to make the run lose data, hang or end without a
// word. Each is refused or survived with a warning, and nothing is lost.
using namespace TestFiles;

namespace {

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

// A symbolic link at `at` whose text is `target`.
[[maybe_unused]] void makeLink(const std::string &target, const std::string &at)
{
    std::error_code error;
    std::filesystem::create_symlink(target, at, error);
    QVERIFY2(!error, error.message().c_str());
}

} // namespace

// Lays out the test's folders for one refusal.
using LayOut = std::function<void()>;
Q_DECLARE_METATYPE(LayOut)

class HostileFilesTest : public RunInFolder
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusedWithNothingLost_data();
    void refusedWithNothingLost();
    void notEnoughMemoryIsAWarningAndTheProgramGoesOn();
    void leftoversOfEndedRunsAreRemoved();
    void messagesShowNamesAsTheyAre_data();
    void messagesShowNamesAsTheyAre();
    void messagesShowTheirWholeText_data();
    void messagesShowTheirWholeText();
    void windowDestroyedByAnotherProgram_data();
    void windowDestroyedByAnotherProgram();

private:
    // What a lay-out leaves behind: a listening socket to close, or why this
    // system cannot make the case at all.
    int m_socket = -1;
    QString m_cannotLayOut;
};

void HostileFilesTest::init()
{
    startInNewFolder();
    m_cannotLayOut.clear();
}

void HostileFilesTest::cleanup()
{
#ifdef Q_OS_UNIX
    if (m_socket >= 0)
        close(m_socket);
#endif
    m_socket = -1;
}

void HostileFilesTest::refusedWithNothingLost_data()
{
    QTest::addColumn<LayOut>("layOut");
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("expectedReason");
    const QString sameFile = "This name leads to the log file itself";
    const QString special = "This is not an ordinary file but a named pipe, a device or a socket";
    const QString link = "This name is a link, and the condensed log is never written through a link.";
    const QString output = "jt65a_K1ABC_logfile.txt";
    // The condensed log's name refused beside an ordinary log: `atOutput`
    // makes what stands at that name.
    const auto besideTheLog = [this, output](std::function<void(const std::string &output)> atOutput) {
        return LayOut([this, output, atOutput] {
            writeFile(path("ALL.TXT"), theLog);
            atOutput(path(output).toStdString());
        });
    };
    QTest::newRow("condensed log's name is a second name of the log")
        << besideTheLog([this](const std::string &output) {
               std::error_code error;
               std::filesystem::create_hard_link(path("ALL.TXT").toStdString(), output, error);
               QVERIFY2(!error, error.message().c_str());
           })
        << output << sameFile;
#ifdef Q_OS_UNIX
    QTest::newRow("condensed log's name is a link to the log")
        << besideTheLog([](const std::string &output) { makeLink("ALL.TXT", output); }) << output << link;
    QTest::newRow("condensed log's name is a link through far/.. to the log")
        << besideTheLog([this](const std::string &output) {
               // The link's text names ALL.TXT beside it; the system finds far's parent.
               QVERIFY(QDir(m_elsewhere->path()).mkdir("sub"));
               std::error_code error;
               std::filesystem::create_directory_symlink(m_elsewhere->filePath("sub").toStdString(),
                                                         path("far").toStdString(), error);
               QVERIFY2(!error, error.message().c_str());
               makeLink("far/../ALL.TXT", output);
           })
        << output << link;
    QTest::newRow("condensed log's name is a chain of 41 links to the log")
        << besideTheLog([this](const std::string &output) {
               for (int i = 1; i <= 41 && !QTest::currentTestFailed(); ++i)
                   makeLink(i == 41 ? "ALL.TXT" : "link" + std::to_string(i + 1),
                            path(QString("link%1").arg(i)).toStdString());
               makeLink("link1", output);
           })
        << output << link;
    QTest::newRow("condensed log's name is a link to another file") << besideTheLog([this](const std::string &output) {
        makeLink(m_elsewhere->filePath("notes.txt").toStdString(), output);
    }) << output << link;
    QTest::newRow("condensed log's name is a dangling link") << besideTheLog([this](const std::string &output) {
        makeLink(m_elsewhere->filePath("new.txt").toStdString(), output);
    }) << output << link;
    QTest::newRow("condensed log's name is a named pipe") << besideTheLog([](const std::string &output) {
        QCOMPARE(mkfifo(output.c_str(), 0600), 0);
    }) << output << "This name is not an ordinary file";
    QTest::newRow("log is a named pipe")
        << LayOut([this] { QCOMPARE(mkfifo(QFile::encodeName(path("ALL.TXT")).constData(), 0600), 0); })
        << "ALL.TXT" << special;
    QTest::newRow("log is a device without end")
        << LayOut([this] { QVERIFY(QFile::link("/dev/zero", path("ALL.TXT"))); }) << "ALL.TXT" << special;
    QTest::newRow("log is a socket") << LayOut([this] {
        m_socket = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path("ALL.TXT"));
        QVERIFY(m_socket >= 0 && std::size_t(name.size()) < sizeof address.sun_path);
        std::copy(name.begin(), name.end(), address.sun_path);
        QCOMPARE(bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(listen(m_socket, 1), 0);
    }) << "ALL.TXT" << special;
#endif
#ifdef Q_OS_WIN
    QTest::newRow("condensed log's name is a junction to another folder")
        << besideTheLog([this](const std::string &output) {
               const QString name = QString::fromStdString(output);
               const int made = QProcess::execute("cmd.exe", {"/c", "mklink", "/J", QDir::toNativeSeparators(name),
                                                              QDir::toNativeSeparators(m_elsewhere->path())});
               // Wine 8 has no reparse points: its mklink /J makes nothing.
               if (made != 0 || !QFileInfo(name).isJunction())
                   m_cannotLayOut = "This system made no junction (mklink /J), so there is none to refuse.";
           })
        << output << link;
#endif
}

void HostileFilesTest::refusedWithNothingLost()
{
    QFETCH(LayOut, layOut);
    QFETCH(QString, expectedFile);
    QFETCH(QString, expectedReason);
    const QString log = path("ALL.TXT");
    const QString otherFile = m_elsewhere->filePath("notes.txt");
    const std::string notes = "another user's notes\n";
    writeFile(otherFile, notes);
    layOut();
    if (QTest::currentTestFailed())
        return;
    if (!m_cannotLayOut.isEmpty())
        QSKIP(qPrintable(m_cannotLayOut));
    const bool logIsOrdinary = QFileInfo(log).isFile();
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
    if (logIsOrdinary)
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

void HostileFilesTest::messagesShowTheirWholeText_data()
{
    QTest::addColumn<QString>("folder");  // below one as short as "/tmp/x"
    QTest::addColumn<QString>("kind");    // what the run meets there
    QTest::addColumn<qreal>("scale");     // of the text, against the screen
    QTest::addColumn<bool>("grows");      // to that scale while the box is shown
    const QString home = ".local/share/WSJT-X";
    const QString rig = ".var/app/io.sourceforge.wsjt.wsjtx/data/WSJT-X - IC-7300 and a long rig name";
    const QString wide = rig + "/a second long folder with the older logs of the rig in it";
    QTest::newRow("log gone, short folder") << "p" << "log gone" << 1.0 << false;
    QTest::newRow("log gone, home folder") << home << "log gone" << 1.0 << false;
    QTest::newRow("log gone, rig's Flatpak folder") << rig << "log gone" << 1.0 << false;
    QTest::newRow("log gone, folder wider than the screen") << wide << "log gone" << 1.0 << false;
    QTest::newRow("log gone, short folder, growing to 150 % while shown") << "p" << "log gone" << 1.5 << true;
    QTest::newRow("log gone, home folder, 200 %") << home << "log gone" << 2.0 << false;
    QTest::newRow("condensed, home folder, 150 %") << home << "condensed" << 1.5 << false;
    QTest::newRow("folder refused, in a home folder") << "tester" << "folder" << 1.0 << false;
#ifdef Q_OS_UNIX
    QTest::newRow("link refused, in a home folder") << "tester" << "link" << 1.0 << false;
#endif
}

// Each line of a box's text is shown to its end and its title whole, the box
// within the screen; a path stays on one line where the screen has room.
void HostileFilesTest::messagesShowTheirWholeText()
{
    QFETCH(QString, folder);
    QFETCH(QString, kind);
    QFETCH(qreal, scale);
    QFETCH(bool, grows);
    const QFont font = QApplication::font();
    const auto restoreFont = qScopeGuard([font] { QApplication::setFont(font); });
    QFont scaled = font;
    scaled.setPointSizeF(font.pointSizeF() * scale);
    if (!grows)
        QApplication::setFont(scaled);
    const QTemporaryDir top(QDir::tempPath() + "/x-XXXXXX");
    const QString inFolder = top.filePath(folder), output = inFolder + "/jt65a_K1ABC_logfile.txt";
    QVERIFY(QDir().mkpath(kind == "folder" ? output : inFolder));
    if (kind != "log gone")
        writeFile(inFolder + "/ALL.TXT", theLog);
    if (kind == "link")
        QVERIFY(QFile::link(m_elsewhere->filePath("notes.txt"), output));
    const QString named = QDir::toNativeSeparators(kind == "log gone" ? inFolder + "/ALL.TXT" : output);

    m_closer = std::make_unique<ModalBoxCloser>([&] {
        QWidget *box = QApplication::activeModalWidget();
        const auto *label = box->findChild<QLabel *>("qt_msgbox_label");
        QVERIFY(label != nullptr);
        if (grows) {  // as the desktop's font changes: the font reaches the box, which is laid out again
            QApplication::setFont(scaled);
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(box, QEvent::LayoutRequest);
        }
        // The label as wide as its widest line (or word, where it wraps), as high as its lines.
        QVERIFY(label->minimumSizeHint().width() <= label->contentsRect().width());
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
        QVERIFY(box->rect().contains(label->geometry()));
        const QRect screen = box->screen()->availableGeometry(), frame = box->frameGeometry();
        QVERIFY(screen.contains(frame));
        // The title in the desktop's title font, beside three buttons as wide as its line is high.
        const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
        QVERIFY(frame.width() >= std::min(title.horizontalAdvance(box->windowTitle()) + 3 * title.height(),
                                          screen.width()));
        // A path that fits beside the rest of the box, with a character to spare.
        const QFontMetrics text = label->fontMetrics();
        if (text.horizontalAdvance(named + 'M') + frame.width() - label->contentsRect().width() <= screen.width())
            QVERIFY2(onOneLine(label, named), qPrintable(named));
    });
    DesktopRunEnvironment environment;
    QCOMPARE(run(environment, inFolder), kind == "condensed");
    QCOMPARE(m_closer->boxes.size(), 1);
    QVERIFY2(m_closer->boxes.first().text.contains(named), qPrintable(m_closer->boxes.first().text));
}

void HostileFilesTest::windowDestroyedByAnotherProgram_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("ours");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("our window destroyed") << int(WindowGoneWatch::destroyNotify) << true << true;
    QTest::newRow("our window's end made up and sent by another client")
        << (WindowGoneWatch::destroyNotify | 0x80) << true << false;
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
