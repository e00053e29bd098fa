// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "ModalBoxCloser.h"
#include "Module1.h"
#include "NativePaths.h"
#include "ReferenceCondenser.h"
#include "TextBox.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace FormControls;
using namespace TestFiles;

namespace {

const QStringList callTyped = sorted({"Version", "Label6", "Label5", "CenterBanner", "Label4", "Text1", "Text2",
                                      "Label1", "Picture_down", "Command3", "Command2"});

const QByteArray topLog = "UTC Date: 2008 Mar 05\r\n000100  -3  2.1 K1ABC W9XYZ EN37\r\n000200 nothing\r\n";
const QByteArray subLog = "---------------------\r\n000300 CQ K1ABC FN42\r\n";

#ifndef Q_OS_WIN
// Writes a file by the bytes of its name, which need not be valid text.
bool writeByName(const QByteArray &name, QByteArrayView bytes)
{
    const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0)
        return false;
    const bool written = ::write(file, bytes.data(), std::size_t(bytes.size())) == bytes.size();
    return ::close(file) == 0 && written;
}

QByteArray readByName(const QByteArray &name)
{
    QFile file;
    const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<missing>";
    return file.readAll();
}
#endif

} // namespace

// The drive, folder and file lists, and whole runs started from them.
class Form1BrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensInPlaceOfTheBanner();
    void listsEveryFileOfTheFolder();
    void choosingAFile_data();
    void choosingAFile();
    void choosingTheSameFileAgain_data();
    void choosingTheSameFileAgain();
    void singleClickOnAFolderOnlySelects();
    void openedFolderIsWhereTheRunReads();
    void reopensAsItWasLeft();
    void nameThatIsNotText_data();
    void nameThatIsNotText();
    void fileMadeLaterIsListedAfterFind();
    void wholeRun();
    void failedRunLeavesTheWindowReady();

private:
    QString path(const QString &name) const { return m_fixture->path(name); }
    void typeCallAndChoose(const QString &fileName, const QString &folder = {});

    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void Form1BrowserTest::init()
{
    m_fixture.emplace();
    QVERIFY(QDir(m_fixture->folder()).mkdir("sub"));
    writeFile(path("ALL.TXT"), topLog);
    writeFile(path("notes"), "a name without a dot\r\n");
    writeFile(path(".hidden"), "hidden\r\n");
#ifdef Q_OS_WIN
    // Hidden on Windows is an attribute, not a name.
    QVERIFY(SetFileAttributesW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path(".hidden")).utf16()),
                               FILE_ATTRIBUTE_HIDDEN));
#endif
    writeFile(path("sub/ALL.TXT"), subLog);
    // In a folder of its own: where names ignore letter case (Windows) it
    // would be ALL.TXT itself.
    QVERIFY(QDir(m_fixture->folder()).mkdir("lower"));
    writeFile(path("lower/all.txt"), "lower case name\r\n");
    QVERIFY(m_fixture->start());
}

void Form1BrowserTest::cleanup()
{
    m_fixture.reset();
}

void Form1BrowserTest::typeCallAndChoose(const QString &fileName, const QString &folder)
{
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    click(form(), "Command3");
    if (!folder.isEmpty())
        QVERIFY(clickEntry(control<FolderList>(form(), "Folder"), folder, true));
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), fileName));
}

void Form1BrowserTest::opensInPlaceOfTheBanner()
{
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    click(form(), "Command3");
    QCOMPARE(shown(form()), sorted({"Version", "Label6", "Label5", "Label4", "Text1", "Text2", "Drives", "Folder",
                                     "Files", "Command2"}));
    QCOMPARE(control<FolderList>(form(), "Folder")->path(), QDir::toNativeSeparators(m_fixture->folder()));
}

void Form1BrowserTest::listsEveryFileOfTheFolder()
{
    click(form(), "Command3");
    auto *files = control<FileList>(form(), "Files");
    QStringList names = entries(files);
    QVERIFY2(!names.contains(".hidden"), qPrintable(names.join(',')));
    names.sort();
    QCOMPARE(names, QStringList({"ALL.TXT", "notes"}));
}

void Form1BrowserTest::choosingAFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("runStepShown");
    QTest::newRow("ALL.TXT") << "" << "ALL.TXT" << true;
    QTest::newRow("same name in lower case") << "lower" << "all.txt" << false;
    QTest::newRow("name without a dot") << "" << "notes" << false;
}

void Form1BrowserTest::choosingAFile()
{
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(bool, runStepShown);
    typeCallAndChoose(fileName, folder);
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), fileName);
    QStringList expected = callTyped;
    if (runStepShown)
        expected = sorted(expected + QStringList({"Label2", "Label3", "Picture_up", "Command1"}));
    expected.removeAll("Label1");  // the browser hid the find step's prompt
    expected.removeAll("Picture_down");
    QCOMPARE(shown(form()), expected);
}

void Form1BrowserTest::choosingTheSameFileAgain_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("runStepShown");
    QTest::newRow("ALL.TXT again") << "ALL.TXT" << true;
    QTest::newRow("another file again") << "notes" << false;
}

// Find hides the run step's prompts; the same file chosen again brings back
// all of the run step, not the button alone.
void Form1BrowserTest::choosingTheSameFileAgain()
{
    QFETCH(QString, fileName);
    QFETCH(bool, runStepShown);
    typeCallAndChoose(fileName);
    click(form(), "Command3");
    QVERIFY(control(form(), "Label2")->isHidden());
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), fileName));
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), fileName);
    for (const char *name : {"Label2", "Label3", "Picture_up", "Command1"})
        QVERIFY2(control(form(), name)->isHidden() != runStepShown, name);
}

void Form1BrowserTest::singleClickOnAFolderOnlySelects()
{
    click(form(), "Command3");
    auto *folder = control<FolderList>(form(), "Folder");
    const QString before = folder->path();
    QVERIFY(clickEntry(folder, "sub"));
    QCOMPARE(folder->path(), before);
    QCOMPARE(folder->currentItem()->text(0), QStringLiteral("sub"));
}

// Opening a folder takes the file list along, so the run reads the ALL.TXT
// that was chosen there.
void Form1BrowserTest::openedFolderIsWhereTheRunReads()
{
    ModalBoxCloser closer;
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    click(form(), "Command3");
    auto *folder = control<FolderList>(form(), "Folder");
    QVERIFY(clickEntry(folder, "sub", true));
    QTRY_COMPARE(folder->path(), QDir::toNativeSeparators(path("sub")));
    auto *files = control<FileList>(form(), "Files");
    QCOMPARE(files->path(), folder->path());
    QTRY_COMPARE(entries(files), QStringList({"ALL.TXT"}));
    QVERIFY(clickEntry(files, "ALL.TXT"));

    click(form(), "Command1");
    QCOMPARE(closer.answered().size(), 1);
    QCOMPARE(closer.answered().first().icon, QMessageBox::Information);
    QCOMPARE(readAll(path("sub/jt65a_K1ABC_logfile.txt")).toStdString(), referenceCondense(subLog.toStdString(), "K1ABC"));
    QVERIFY(!QFile::exists(path("jt65a_K1ABC_logfile.txt")));
}

void Form1BrowserTest::reopensAsItWasLeft()
{
    typeCallAndChoose("notes");
    click(form(), "Command3");
    QVERIFY(!control(form(), "Files")->isHidden());
    QCOMPARE(control<FileList>(form(), "Files")->selectedName(), QStringLiteral("notes"));
    QCOMPARE(control<FolderList>(form(), "Folder")->path(), QDir::toNativeSeparators(m_fixture->folder()));
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), "ALL.TXT"));
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), QStringLiteral("ALL.TXT"));
    QVERIFY(!control(form(), "Command1")->isHidden());
}

void Form1BrowserTest::nameThatIsNotText_data()
{
    QTest::addColumn<bool>("startedInside");
#ifdef Q_OS_WIN
    QSKIP("Windows names are text");
#endif
    QTest::newRow("opened from its parent") << false;
    QTest::newRow("started inside it") << true;
}

// "J\xf6rg" (Latin-1) beside "J\xef\xbf\xbdrg", the same name as UTF-8 shows it
// with the replacement character: the lists, Text1 and the run use the
// first by its own bytes, and never the look-alike.
void Form1BrowserTest::nameThatIsNotText()
{
#ifndef Q_OS_WIN
    QFETCH(bool, startedInside);
    const QByteArray top = QFile::encodeName(m_fixture->folder());
    const QByteArray folder = top + "/J\xf6rg";
    const QByteArray lookAlike = top + "/J\xef\xbf\xbdrg";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    QCOMPARE(::mkdir(lookAlike.constData(), 0700), 0);
    QVERIFY(writeByName(folder + "/ALL.TXT", subLog));
    QVERIFY(writeByName(folder + "/caf\xe9.txt", "not a log\r\n"));
    QVERIFY(writeByName(lookAlike + "/ALL.TXT", topLog));
    const QString shownName = QStringLiteral("J\uFFFDrg");
    auto *folders = control<FolderList>(form(), "Folder");
    if (startedInside) {
        m_fixture->close();
        QCOMPARE(::chdir(folder.constData()), 0);
        QVERIFY(m_fixture->start());
        folders = control<FolderList>(form(), "Folder");
        click(form(), "Command3");
    } else {
        click(form(), "Command3");
        QTRY_COMPARE(folders->findItems(shownName, Qt::MatchExactly | Qt::MatchRecursive).size(), 2);
        for (QTreeWidgetItem *item : folders->findItems(shownName, Qt::MatchExactly | Qt::MatchRecursive)) {
            if (NativePaths::toNative(item->data(0, Qt::UserRole).toString()) == folder)
                emit folders->itemActivated(item, 0);
        }
    }
    QTRY_COMPARE(NativePaths::toNative(folders->path()), folder);
    QCOMPARE(folders->currentItem()->text(0), shownName);
    auto *files = control<FileList>(form(), "Files");
    QTRY_COMPARE(entries(files), QStringList({"ALL.TXT", "caf\uFFFD.txt"}));

    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    QVERIFY(clickEntry(files, "caf\uFFFD.txt"));
    auto *text1 = control<TextBox>(form(), "Text1");
    QCOMPARE(text1->text(), QStringLiteral("caf\uFFFD.txt"));
    QCOMPARE(NativePaths::toNative(text1->name()), QByteArray("caf\xe9.txt"));

    click(form(), "Command3");
    QVERIFY(clickEntry(files, "ALL.TXT"));
    ModalBoxCloser closer;
    click(form(), "Command1");
    QTRY_COMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Information);
    QVERIFY2(closer.boxes.first().text.contains(shownName + "/jt65a_K1ABC_logfile.txt"),
             qPrintable(closer.boxes.first().text));
    QCOMPARE(readByName(folder + "/jt65a_K1ABC_logfile.txt").toStdString(),
             referenceCondense(subLog.toStdString(), "K1ABC"));
    QCOMPARE(readByName(lookAlike + "/jt65a_K1ABC_logfile.txt"), QByteArray("<missing>"));
    QCOMPARE(::chdir(top.constData()), 0);
#endif
}

// The file list shows what the folder holds when the lists are opened again.
void Form1BrowserTest::fileMadeLaterIsListedAfterFind()
{
    click(form(), "Command3");
    auto *files = control<FileList>(form(), "Files");
    QVERIFY(clickEntry(files, "notes"));
    writeFile(path("ALL.TXT.1"), topLog);
    QVERIFY(QFile::remove(path("notes")));
    click(form(), "Command3");
    QTRY_COMPARE(entries(files), QStringList({"ALL.TXT", "ALL.TXT.1"}));
}

void Form1BrowserTest::wholeRun()
{
    typeCallAndChoose("ALL.TXT");
    QString captionWhileShown;
    ModalBoxCloser closer([&] { captionWhileShown = control<CommandButton>(form(), "Command1")->text(); });
    click(form(), "Command1");

    QCOMPARE(closer.boxes.size(), 1);
    const QString written = QDir::toNativeSeparators(path("jt65a_K1ABC_logfile.txt"));
    QCOMPARE(closer.boxes.first().text, "A new file, " + written + ", has been created.");
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(closer.boxes.first().description, QStringLiteral("Information"));
    QCOMPARE(captionWhileShown, QStringLiteral("Standby"));
    QCOMPARE(readAll(written).toStdString(), referenceCondense(topLog.toStdString(), "K1ABC"));
    QCOMPARE(shown(form()), sorted({"Version", "Label6", "Label5", "CenterBanner", "Label4", "Command2"}));
    QCOMPARE(control<CommandButton>(form(), "Command1")->text(), QStringLiteral("Clarify the raw JT65a logfile now."));
}

void Form1BrowserTest::failedRunLeavesTheWindowReady()
{
    typeCallAndChoose("ALL.TXT");
    const QStringList before = shown(form());
    QVERIFY(QFile::remove(path("ALL.TXT")));

    ModalBoxCloser closer;
    click(form(), "Command1");
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Warning);
    QCOMPARE(closer.boxes.first().description, QStringLiteral("Warning"));
    QVERIFY(closer.boxes.first().text.contains(QDir::toNativeSeparators(path("ALL.TXT"))));
    QCOMPARE(shown(form()), before);
    QCOMPARE(control<CommandButton>(form(), "Command1")->text(), QStringLiteral("Clarify the raw JT65a logfile now."));

    // Put right, the same button runs again.
    writeFile(path("ALL.TXT"), topLog);
    click(form(), "Command1");
    QCOMPARE(closer.boxes.size(), 2);
    QCOMPARE(closer.boxes.last().icon, QMessageBox::Information);
    QVERIFY(QFile::exists(path("jt65a_K1ABC_logfile.txt")));
}

QTEST_MAIN(Form1BrowserTest)
#include "tst_form1browser.moc"
