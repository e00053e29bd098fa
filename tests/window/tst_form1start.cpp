// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "HeldLister.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "LabelLines.h"
#include "ModalBoxCloser.h"
#include "NativePaths.h"
#include "ReferenceCondenser.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <optional>

using namespace FormControls;
using namespace TestFiles;

namespace {

const QByteArray logText = "UTC Date: 2008 Mar 05\r\n000100  -3  2.1 K1ABC W9XYZ EN37\r\n000200 nothing\r\n";

// Where the decoder keeps its data: as installed (the data location of Qt's
// test mode stands in for ~/.local/share), and as a Flatpak.
const QString installed = QStringLiteral(".qttest/share/");
const QString flatpak = QStringLiteral(".var/app/io.sourceforge.wsjt.wsjtx/data/");
const QString olderFlatpak = QStringLiteral(".var/app/edu.princeton.physics.WSJTX/data/");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

// Where the lists open: in the folder the program was started in, except
// that started in the home folder (as from the desktop's menu) they open
// where the decoder keeps the log it wrote last.
class Form1StartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listsOpen_data();
    void listsOpen();
    void keyboardRunFromTheMenu_data();
    void keyboardRunFromTheMenu();

private:
    QString home(const QString &name = {}) const { return QDir(m_home.path()).filePath(name); }
    // Writes each log, the first oldest, with a file listed before it; a
    // name ending in "/" is an empty folder.
    void makeLogs(const QStringList &logs) const;

    QTemporaryDir m_home;
    std::optional<FormFixture> m_fixture;
};

void Form1StartTest::initTestCase()
{
#ifdef Q_OS_WIN
    QSKIP("Stands in a home folder of its own through HOME, where Linux keeps the data folders; "
          "Windows keeps them in %LOCALAPPDATA%.");
#endif
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QCOMPARE(native(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)),
             native(home(installed.chopped(1))));
}

void Form1StartTest::init()
{
    // By the names' own bytes: a folder's name may be no valid text.
    for (const char *made : {".qttest", ".var"}) {
        std::error_code failure;
        std::filesystem::remove_all(NativePaths::toNative(home(made)).toStdString(), failure);
        QVERIFY2(!failure, made);
    }
    m_fixture.emplace();
}

void Form1StartTest::cleanup()
{
    m_fixture.reset();
}

void Form1StartTest::makeLogs(const QStringList &logs) const
{
    const QDateTime now = QDateTime::currentDateTime();
    for (qsizetype i = 0; i < logs.size(); ++i) {
        // A folder whose name is no valid text is made under the name it is
        // shown by, then given its own bytes.
        const QString folder = QFileInfo(home(logs[i])).path();
        const QString madeAs = NativePaths::shown(folder);
        QVERIFY(QDir().mkpath(madeAs));
        if (!logs[i].endsWith('/')) {
            const QString log = QDir(madeAs).filePath(QFileInfo(logs[i]).fileName());
            writeFile(log, logText);
            writeFile(QDir(madeAs).filePath("0 notes.txt"), "not the log\n");
            QFile file(log);
            QVERIFY(file.open(QIODevice::Append));
            QVERIFY(file.setFileTime(now.addSecs(-3600 * (logs.size() - i)), QFileDevice::FileModificationTime));
        }
        if (madeAs != folder)
            QCOMPARE(std::rename(NativePaths::toNative(madeAs).constData(), NativePaths::toNative(folder).constData()), 0);
    }
}

void Form1StartTest::listsOpen_data()
{
    QTest::addColumn<QStringList>("logs");
    QTest::addColumn<bool>("atHome");
    QTest::addColumn<QString>("opened");  // below the home folder; empty: where started
    QTest::addColumn<QString>("drive");   // the drive list's entry, where it names the folder
    QTest::addColumn<QString>("held");    // below the home folder: a data folder that does not answer

    const QString wsjtx = installed + "WSJT-X/ALL.TXT";
    const QString rig = NativePaths::fromNative("WSJT-X - J\xf6rg");  // a Latin-1 name
    QTest::newRow("started elsewhere") << QStringList{wsjtx} << false << "" << "" << "";
    QTest::newRow("at home, no decoder") << QStringList{} << true << "" << "" << "";
    QTest::newRow("at home, data folders without a log")
        << QStringList{installed + "WSJT-X/", flatpak + "WSJT-X/"} << true << "" << "" << "";
    QTest::newRow("at home, WSJT-X") << QStringList{wsjtx} << true << installed + "WSJT-X" << "WSJT-X log folder"
                                     << "";
    QTest::newRow("at home, the Flatpak only")
        << QStringList{flatpak + "WSJT-X/ALL.TXT"} << true << flatpak + "WSJT-X" << "WSJT-X log folder (Flatpak)"
        << "";
    QTest::newRow("at home, the Flatpak before 2026")
        << QStringList{olderFlatpak + "WSJT-X - IC7300/ALL.TXT"} << true << olderFlatpak + "WSJT-X - IC7300"
        << "WSJT-X - IC7300 log folder (older Flatpak)" << "";
    QTest::newRow("at home, the log changed last")
        << QStringList{installed + "WSJT-X - FT-991A/ALL.TXT", flatpak + "WSJT-X/ALL.TXT", installed + "JTDX/ALL.TXT",
                       wsjtx}
        << true << installed + "WSJT-X" << "WSJT-X log folder" << "";
    QTest::newRow("at home, a rig's log changed last")
        << QStringList{wsjtx, installed + "JTDX/ALL.TXT", flatpak + "WSJT-X - FT-991A/ALL.TXT"} << true
        << flatpak + "WSJT-X - FT-991A" << "WSJT-X - FT-991A log folder (Flatpak)" << "";
    QTest::newRow("at home, a rig folder named in Latin-1")
        << QStringList{wsjtx, installed + rig + "/ALL.TXT"} << true << installed + rig
        << "WSJT-X - J\uFFFDrg log folder" << "";
    QTest::newRow("at home, the decoder's folder does not answer")
        << QStringList{wsjtx} << true << "" << "" << installed + "WSJT-X";
    QTest::newRow("at home, the Flatpak's folder does not answer, the other's did")
        << QStringList{wsjtx, flatpak + "WSJT-X/ALL.TXT"} << true << installed + "WSJT-X" << "WSJT-X log folder"
        << flatpak + "WSJT-X";
}

// The three lists open together; in a decoder's folder the drive list shows
// its entry, and after Find its ALL.TXT is the file chosen.
void Form1StartTest::listsOpen()
{
    QFETCH(QStringList, logs);
    QFETCH(bool, atHome);
    QFETCH(QString, opened);
    QFETCH(QString, drive);
    QFETCH(QString, held);
    makeLogs(logs);
    writeFile(home("notes.txt"), "not a log\n");
    writeFile(m_fixture->path("ALL.TXT"), logText);
    if (atHome)
        QVERIFY(QDir::setCurrent(home()));
    const auto lister = std::make_shared<HeldLister>(held.isEmpty() ? QString() : native(home(held)));
    const auto letGo = qScopeGuard([&] { lister->letGo(); });
    control<DriveList>(m_fixture->create(), "Drives")->setLister(lister);
    // The window opens at once, whatever does not answer.
    QVERIFY(m_fixture->start());

    const Form1 &form = m_fixture->form();
    const QString expected = native(!opened.isEmpty() ? home(opened) : atHome ? home() : m_fixture->folder());
    auto *folder = control<FolderList>(form, "Folder");
    auto *files = control<FileList>(form, "Files");
    auto *drives = control<DriveList>(form, "Drives");
    QTRY_COMPARE(folder->path(), expected);
    QCOMPARE(files->path(), expected);
    if (!drive.isEmpty())
        QTRY_COMPARE(drives->currentText(), drive);
    else
        QTRY_VERIFY(NativePaths::isUnder(expected, drives->drive()));

    if (opened.isEmpty())
        return;
    click(form, "Command3");
    QTRY_VERIFY(listsRead(form));
    QCOMPARE(entries(files).first(), QStringLiteral("0 notes.txt"));
    QCOMPARE(files->selectedName(), QStringLiteral("ALL.TXT"));
}

void Form1StartTest::keyboardRunFromTheMenu_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("written");
    QTest::newRow("WSJT-X") << installed + "WSJT-X/ALL.TXT" << "K1ABC" << "jt65a_K1ABC_logfile.txt";
    QTest::newRow("the Flatpak only") << flatpak + "WSJT-X/ALL.TXT" << "K1ABC" << "jt65a_K1ABC_logfile.txt";
    QTest::newRow("a rig's folder, a portable call")
        << installed + "WSJT-X - IC-7300/ALL.TXT" << "OK1FAQ/P" << "jt65a_OK1FAQ-P_logfile.txt";
}

// Started from the menu, by keyboard alone: the call, Tab three times, Find,
// the log, the run, OK.
void Form1StartTest::keyboardRunFromTheMenu()
{
    QFETCH(QString, log);
    QFETCH(QString, call);
    QFETCH(QString, written);
    makeLogs({log});
    writeFile(home("ALL.TXT.bak"), "not the log\n");
    QVERIFY(QDir::setCurrent(home()));
    QVERIFY(m_fixture->start(FormFixture::Wait::Active));

    QTRY_COMPARE(focusName(), QStringLiteral("Text2"));
    QTest::keyClicks(focused(), call);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("Command3"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(focusName(), QStringLiteral("Files"));
    QTRY_COMPARE(control<FileList>(m_fixture->form(), "Files")->selectedName(), QStringLiteral("ALL.TXT"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(focusName(), QStringLiteral("Command1"));

    // The message names the new file, its path whole on one line.
    const QString output = native(QFileInfo(home(log)).dir().filePath(written));
    bool pathWhole = false;
    ModalBoxCloser closer([&] {
        const auto *label = QApplication::activeModalWidget()->findChild<QLabel *>("qt_msgbox_label");
        pathWhole = label != nullptr && onOneLine(label, output);
    }, ModalBoxCloser::Press::Keyboard);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().text, "A new file, " + output + ", has been created.");
    QVERIFY(pathWhole);
    QCOMPARE(readBytes(output), referenceCondense(logText.toStdString(), call.toStdString()));
    QVERIFY(!QFile::exists(home(written)));
}

QTEST_MAIN(Form1StartTest)
#include "tst_form1start.moc"
