// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleEvents.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "ModalBoxCloser.h"
#include "ReferenceCondenser.h"
#include "TextBox.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_LINUX
#include <unistd.h>
#include <sys/stat.h>
#endif

using namespace FormControls;
using namespace TestFiles;

namespace {

const QByteArray logText = "UTC Date: 2008 Mar 05\r\n000100  -3  2.1 K1ABC W9XYZ EN37\r\n000200 nothing\r\n";

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QStringList subFolders(const FolderList *folder)
{
    QStringList names;
    const QTreeWidgetItem *open = folder->currentItem();
    for (int i = 0; open != nullptr && i < open->childCount(); ++i)
        names.append(open->child(i)->text(0));
    return names;
}

QTreeWidgetItem *entry(const FolderList *folder, const QString &name)
{
    const QList<QTreeWidgetItem *> found = folder->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

bool drawnAs(const QIcon &icon, const QIcon &expected)
{
    return icon.pixmap(16).toImage() == expected.pixmap(16).toImage();
}

} // namespace

// Reaching the log where decoders keep it: hidden folders, the decoders' data
// folders in the drive list, folders that vanish, and a start folder that
// cannot be used.
class Form1ReachTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hiddenFolderListedAndOpened();
    void folderListShowsWhereItStands();
    void decoderFoldersInTheDriveList();
    void drivePickLeavesTheFocusWhereItIs();
    void driveListTellsTheEntryItMovesTo_data();
    void driveListTellsTheEntryItMovesTo();
    void driveListReadAgainWhenOpened();
    void driveListShowsEntriesWhole();
    void offeredVolumes_data();
    void offeredVolumes();
    void repickingTheShownDriveChangesNothing();
    void vanishedFolder_data();
    void vanishedFolder();
    void unusableStartFolder_data();
    void unusableStartFolder();

private:
    QString path(const QString &name) const { return m_fixture->path(name); }
    QString data(const QString &name) const { return QDir(m_data).filePath(name); }
    void openBrowser();

    QTemporaryDir m_home;
    QString m_data;
    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void Form1ReachTest::initTestCase()
{
    // A home folder and a data location of the test's own.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
    m_data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QVERIFY(!m_data.isEmpty());
}

void Form1ReachTest::init()
{
    QVERIFY(QDir(m_data).removeRecursively());
    QVERIFY(QDir().mkpath(m_data));
    m_fixture.emplace();
    QDir dir(m_fixture->folder());
    QVERIFY(dir.mkpath("sub/inner"));
    QVERIFY(dir.mkdir("Beta"));
    QVERIFY(dir.mkpath(".local/share"));
    writeFile(path("ALL.TXT"), logText);
    writeFile(path(".local/ALL.TXT"), logText);
    QVERIFY(m_fixture->start());
}

void Form1ReachTest::cleanup()
{
    m_fixture.reset();
    QDir(m_data).removeRecursively();
}

void Form1ReachTest::openBrowser()
{
    click(form(), "Command3");
    QVERIFY(!control(form(), "Folder")->isHidden());
}

void Form1ReachTest::hiddenFolderListedAndOpened()
{
    openBrowser();
    auto *folder = control<FolderList>(form(), "Folder");
    QCOMPARE(subFolders(folder), QStringList({".local", "Beta", "sub"}));

    QVERIFY(clickEntry(folder, ".local", true));
    QTRY_COMPARE(folder->path(), native(path(".local")));
    QCOMPARE(subFolders(folder), QStringList({"share"}));
    QTRY_COMPARE(entries(control<FileList>(form(), "Files")), QStringList({"ALL.TXT"}));
}

// Open folders from the root down to the open one, closed ones below it; the
// open one is marked until another entry is selected.
void Form1ReachTest::folderListShowsWhereItStands()
{
    openBrowser();
    auto *folder = control<FolderList>(form(), "Folder");
    const QIcon open = folder->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = folder->style()->standardIcon(QStyle::SP_DirClosedIcon);
    QVERIFY(!drawnAs(open, closed));

    QTreeWidgetItem *current = folder->currentItem();
    QVERIFY(current != nullptr);
    QCOMPARE(current->text(0), QDir(m_fixture->folder()).dirName());
    QVERIFY(current->isSelected());
    for (QTreeWidgetItem *item = current; item != nullptr; item = item->parent())
        QVERIFY2(drawnAs(item->icon(0), open), qPrintable(item->text(0)));
    QCOMPARE(current->childCount(), 3);
    for (int i = 0; i < current->childCount(); ++i)
        QVERIFY2(drawnAs(current->child(i)->icon(0), closed), qPrintable(current->child(i)->text(0)));

    QVERIFY(clickEntry(folder, "Beta"));
    QVERIFY(!current->isSelected());
    QVERIFY(entry(folder, "Beta")->isSelected());
}

// Decoder folders made after start are offered when the list opens, after
// the drives, and open the folder list there; the root opens the root.
void Form1ReachTest::decoderFoldersInTheDriveList()
{
    for (const char *name : {"WSJT-X", "JTDX - IC7300", "WSJT-X - FT-991A", "WSJT-X.bak", "Trash"})
        QVERIFY(QDir(m_data).mkdir(name));
    writeFile(data("WSJT-X/ALL.TXT"), logText);
    writeFile(data("JTDX"), "a file, not a folder\n");
    openBrowser();
    auto *drives = control<DriveList>(form(), "Drives");
    const QString root = native(QDir::rootPath());

    QVERIFY(pick(drives, "WSJT-X log folder"));
    const QStringList offered = entries(drives);
    QCOMPARE(offered.first(), root);
    QCOMPARE(offered.mid(offered.size() - 3),
             QStringList({"JTDX - IC7300 log folder", "WSJT-X log folder", "WSJT-X - FT-991A log folder"}));
    QCOMPARE(drives->currentText(), QStringLiteral("WSJT-X log folder"));
    auto *folder = control<FolderList>(form(), "Folder");
    auto *files = control<FileList>(form(), "Files");
    QTRY_COMPARE(folder->path(), native(data("WSJT-X")));
    QCOMPARE(files->path(), folder->path());
    QTRY_COMPARE(entries(files), QStringList({"ALL.TXT"}));

    QVERIFY(pick(drives, root));
    QTRY_COMPARE(folder->path(), root);
    QCOMPARE(files->path(), root);
}

// Picking a drive lists another folder while the focus stays on the drive
// list: no other list says it has the focus.
void Form1ReachTest::drivePickLeavesTheFocusWhereItIs()
{
    QVERIFY(QDir(m_data).mkdir("WSJT-X"));
    writeFile(data("WSJT-X/ALL.TXT"), logText);
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    openBrowser();
    auto *drives = control<DriveList>(form(), "Drives");
    drives->setFocus();
    QTRY_COMPARE(focusName(), QStringLiteral("Drives"));

    AccessibleEvents screenReader;
    QVERIFY(pick(drives, "WSJT-X log folder"));
    QTRY_COMPARE(control<FolderList>(form(), "Folder")->path(), native(data("WSJT-X")));
    QTRY_VERIFY(listsRead(form()));
    QTRY_COMPARE(focusName(), QStringLiteral("Drives"));
    QCOMPARE(screenReader.of(QAccessible::Focus, "Folder").size(), 0);
    QCOMPARE(screenReader.of(QAccessible::Focus, "Files").size(), 0);
}

void Form1ReachTest::driveListTellsTheEntryItMovesTo_data()
{
    QTest::addColumn<QString>("from");  // the entry shown first; empty: the root
    QTest::addColumn<int>("key");       // 0: the program shows `shown` itself
    QTest::addColumn<QString>("shown"); // the entry shown afterwards; empty: the root
    QTest::addColumn<bool>("told");     // whether a screen reader is told it
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
    QSKIP("only through AT-SPI does a closed list's new entry need telling");
#endif
    const QString jtdx = "JTDX log folder";
    const QString wsjtx = "WSJT-X log folder";
    QTest::newRow("End") << "" << int(Qt::Key_End) << wsjtx << true;
    QTest::newRow("Home") << wsjtx << int(Qt::Key_Home) << "" << true;
    QTest::newRow("arrow up") << wsjtx << int(Qt::Key_Up) << jtdx << true;
    QTest::newRow("arrow down") << jtdx << int(Qt::Key_Down) << wsjtx << true;
    QTest::newRow("first letter") << "" << int(Qt::Key_J) << jtdx << true;
    QTest::newRow("End on the last entry") << wsjtx << int(Qt::Key_End) << wsjtx << false;
    QTest::newRow("shown for a folder opened") << "" << 0 << wsjtx << false;
}

// A screen reader hears the entry a key moves the closed list to, once, and
// the focus stays on the list; an entry shown without the user is not told.
void Form1ReachTest::driveListTellsTheEntryItMovesTo()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, shown);
    QFETCH(bool, told);
    for (const char *name : {"JTDX", "WSJT-X"})
        QVERIFY(QDir(m_data).mkdir(name));
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    openBrowser();
    auto *drives = control<DriveList>(form(), "Drives");
    const QString root = native(QDir::rootPath());
    if (from.isEmpty())
        from = root;
    if (shown.isEmpty())
        shown = root;
    drives->showPopup();
    QTRY_VERIFY(drives->findText("JTDX log folder") >= 0 && drives->findText("WSJT-X log folder") >= 0);
    drives->hidePopup();
    drives->setCurrentIndex(drives->findText(from));
    QCOMPARE(drives->currentText(), from);
    drives->setFocus();
    QTRY_COMPARE(focusName(), QStringLiteral("Drives"));

    AccessibleEvents screenReader;
    if (key != 0)
        QTest::keyClick(drives, Qt::Key(key));
    else
        drives->setDriveOf(data("WSJT-X"));
    QCOMPARE(drives->currentText(), shown);
    QTRY_VERIFY(listsRead(form()));
    QStringList heard;
    for (const AccessibleEvents::Event &focus : screenReader.of(QAccessible::Focus))
        heard.append(focus.name);
    QCOMPARE(heard, told ? QStringList({shown}) : QStringList());
    QCOMPARE(focusName(), QStringLiteral("Drives"));
}

void Form1ReachTest::driveListReadAgainWhenOpened()
{
    openBrowser();
    auto *drives = control<DriveList>(form(), "Drives");
    QVERIFY(!entries(drives).contains("JTDX log folder"));
    QVERIFY(QDir(m_data).mkdir("JTDX"));
    drives->showPopup();
    QTRY_VERIFY(entries(drives).contains("JTDX log folder"));
    drives->hidePopup();
    QVERIFY(QDir(m_data).rmdir("JTDX"));
    drives->showPopup();
    QTRY_VERIFY(!entries(drives).contains("JTDX log folder"));
    drives->hidePopup();
}

void Form1ReachTest::driveListShowsEntriesWhole()
{
    const QString rig = "WSJT-X - IC-7300 on the long wire at the club station";
    QVERIFY(QDir(m_data).mkdir(rig));
    openBrowser();
    auto *drives = control<DriveList>(form(), "Drives");
    drives->showPopup();
    QAbstractItemView *view = drives->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    QTRY_VERIFY(drives->findText(rig + " log folder") >= 0);
    const int longest = drives->findText(rig + " log folder");
    QVERIFY(drives->fontMetrics().horizontalAdvance(drives->itemText(longest)) > drives->width());
    for (int i = 0; i < drives->count(); ++i) {
        const QModelIndex index = view->model()->index(i, 0);
        QVERIFY2(view->viewport()->width() >= view->sizeHintForIndex(index).width(), qPrintable(drives->itemText(i)));
    }
    drives->hidePopup();
}

void Form1ReachTest::offeredVolumes_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("offered");
#ifdef Q_OS_WIN
    QSKIP("Windows offers its drive letters; which mounts to offer is a question for Unix systems");
#endif
    QTest::newRow("root") << "/" << QByteArray("ext4") << true;
    QTest::newRow("root in a container") << "/" << QByteArray("overlay") << true;
    QTest::newRow("home volume") << "/home" << QByteArray("btrfs") << true;
    QTest::newRow("USB stick") << "/media/op/LOGS" << QByteArray("vfat") << true;
    QTest::newRow("USB stick under /run/media") << "/run/media/op/LOGS" << QByteArray("exfat") << true;
    QTest::newRow("second disk") << "/mnt/data" << QByteArray("ext4") << true;
    QTest::newRow("network share") << "/srv/shack" << QByteArray("nfs4") << true;
    QTest::newRow("snap image") << "/snap/wsjtx/12" << QByteArray("squashfs") << false;
    QTest::newRow("boot") << "/boot" << QByteArray("ext2") << false;
    QTest::newRow("EFI partition") << "/boot/efi" << QByteArray("vfat") << false;
    QTest::newRow("container layer") << "/var/lib/docker/overlay2/a1/merged" << QByteArray("overlay") << false;
    QTest::newRow("runtime folder") << "/run/user/1000" << QByteArray("tmpfs") << false;
    QTest::newRow("other /run mount") << "/run/credentials/x" << QByteArray("ext4") << false;
    QTest::newRow("/run itself") << "/run" << QByteArray("ext4") << false;
    QTest::newRow("/runner is not /run") << "/runner" << QByteArray("ext4") << true;
    QTest::newRow("control groups") << "/sys/fs/cgroup" << QByteArray("cgroup2") << false;
    QTest::newRow("memory file system") << "/mnt/ram" << QByteArray("tmpfs") << false;
}

void Form1ReachTest::offeredVolumes()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, type);
    QFETCH(bool, offered);
    QCOMPARE(DriveList::offered(root, type), offered);
}

void Form1ReachTest::repickingTheShownDriveChangesNothing()
{
    openBrowser();
    auto *folder = control<FolderList>(form(), "Folder");
    QVERIFY(clickEntry(folder, "sub", true));
    QTRY_COMPARE(folder->path(), native(path("sub")));
    QVERIFY(clickEntry(folder, "inner"));
    auto *drives = control<DriveList>(form(), "Drives");
    const QString shown = drives->currentText();
    QVERIFY(!shown.isEmpty());

    QVERIFY(pick(drives, shown));
    QCOMPARE(drives->currentText(), shown);
    QTRY_VERIFY(listsRead(form()));
    QCOMPARE(folder->path(), native(path("sub")));
    QCOMPARE(control<FileList>(form(), "Files")->path(), native(path("sub")));
    QCOMPARE(folder->currentItem()->text(0), QStringLiteral("inner"));
}

void Form1ReachTest::vanishedFolder_data()
{
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("gone");
    QTest::newRow("a sub-folder") << "" << "sub" << "sub" << "sub";
    QTest::newRow("the open folder with it") << "sub" << "sub" << "inner" << "sub/inner";
    QTest::newRow("a folder above") << "sub/inner" << "sub" << "sub" << "sub";
}

// The warning names the folder, and the lists show what is there now.
void Form1ReachTest::vanishedFolder()
{
    QFETCH(QString, opened);
    QFETCH(QString, removed);
    QFETCH(QString, name);
    QFETCH(QString, gone);
    openBrowser();
    auto *folder = control<FolderList>(form(), "Folder");
    if (!opened.isEmpty()) {
        folder->setPath(path(opened));
        QTRY_COMPARE(folder->path(), native(path(opened)));
    }
    QVERIFY(entry(folder, name) != nullptr);
    QVERIFY(QDir(path(removed)).removeRecursively());

    ModalBoxCloser closer;
    QVERIFY(clickEntry(folder, name, true));
    QTRY_COMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Warning);
    QVERIFY2(closer.boxes.first().text.contains(native(path(gone))), qPrintable(closer.boxes.first().text));
    QTRY_COMPARE(folder->path(), native(m_fixture->folder()));
    QTRY_COMPARE(subFolders(folder), QStringList({".local", "Beta"}));
    QCOMPARE(control<FileList>(form(), "Files")->path(), folder->path());
    QTRY_COMPARE(entries(control<FileList>(form(), "Files")), QStringList({"ALL.TXT"}));
    QVERIFY(form().isVisible());
}

void Form1ReachTest::unusableStartFolder_data()
{
    QTest::addColumn<QString>("fault");
#ifdef Q_OS_WIN
    QSKIP("Windows keeps the current folder in use, so it cannot be removed");
#else
    QTest::newRow("removed") << "removed";
#endif
    // A start folder whose name is not valid text is used itself: see the
    // browser's test of such names.
}

// The lists start in the home folder, and the run writes there, not into the root.
void Form1ReachTest::unusableStartFolder()
{
    QFETCH(QString, fault);
    if (QDir::homePath() != QDir(m_home.path()).absolutePath())
        QSKIP("the home folder cannot be moved for the test here");
    writeFile(QDir(m_home.path()).filePath("ALL.TXT"), logText);
    m_fixture->close();

    if (fault == "removed") {
        QVERIFY(QDir().mkdir(path("start")));
        QVERIFY(QDir::setCurrent(path("start")));
        QVERIFY(QDir().rmdir(path("start")));
    }
    QVERIFY(m_fixture->start());
    const QString home = native(QDir(m_home.path()).absolutePath());
    QCOMPARE(control<FolderList>(form(), "Folder")->path(), home);
    QCOMPARE(control<FileList>(form(), "Files")->path(), home);

    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    openBrowser();
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), "ALL.TXT"));
    ModalBoxCloser closer;
    click(form(), "Command1");
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(readAll(QDir(m_home.path()).filePath("jt65a_K1ABC_logfile.txt")).toStdString(),
             referenceCondense(logText.toStdString(), "K1ABC"));
    QVERIFY(!QFile::exists(QDir::rootPath() + "jt65a_K1ABC_logfile.txt"));
}

QTEST_MAIN(Form1ReachTest)
#include "tst_form1reach.moc"
