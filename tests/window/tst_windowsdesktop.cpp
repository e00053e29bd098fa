// SPDX-License-Identifier: GPL-3.0-or-later
// What the window does only on Windows: drive letters in the drive list,
// every path it shows in the system's own form, and a log on a drive root.
#include "CommandButton.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "ModalBoxCloser.h"
#include "Module1.h"
#include "ReferenceCondenser.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace FormControls;
using namespace TestFiles;

namespace {

const QByteArray theLog = "UTC Date: 2008 Mar 05\r\n000100  -3  2.1 K1ABC W9XYZ EN37\r\n000200 nothing\r\n";

} // namespace

class WindowsDesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void drivesAreDriveLetters();
    void pathsShownInTheSystemsForm_data();
    void pathsShownInTheSystemsForm();
    void logOnADriveRoot();

private:
    void typeCallAndOpenTheLists();

    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void WindowsDesktopTest::init()
{
    m_fixture.emplace();
    writeFile(m_fixture->path("ALL.TXT"), theLog);
    // Qt names the folder with "/"; the window must not show it that way.
    QVERIFY(m_fixture->folder().contains('/'));
    QVERIFY(m_fixture->start());
}

void WindowsDesktopTest::cleanup()
{
    m_fixture.reset();
}

void WindowsDesktopTest::typeCallAndOpenTheLists()
{
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    click(form(), "Command3");
}

void WindowsDesktopTest::drivesAreDriveLetters()
{
    typeCallAndOpenTheLists();
    auto *drives = control<DriveList>(form(), "Drives");
    const QRegularExpression driveLetter(QStringLiteral("^[A-Z]:\\\\$"));
    QStringList letters;
    for (const QString &entry : entries(drives)) {
        if (!driveLetter.match(entry).hasMatch()) {
            // After the drives come only the decoders' folders.
            QVERIFY2(entry.endsWith(QLatin1String(" log folder")), qPrintable(entry));
            continue;
        }
        QVERIFY2(letters.size() == entries(drives).indexOf(entry), "a drive letter after a data folder");
        letters.append(entry);
    }
    QVERIFY2(letters.contains(QStringLiteral("C:\\")), qPrintable(entries(drives).join(", ")));
    // The drive shown is the one that holds the open folder.
    const QString folder = control<FolderList>(form(), "Folder")->path();
    QVERIFY2(folder.startsWith(drives->currentText(), Qt::CaseInsensitive), qPrintable(folder));
}

void WindowsDesktopTest::pathsShownInTheSystemsForm_data()
{
    QTest::addColumn<bool>("logThere");
    QTest::newRow("completion message") << true;
    QTest::newRow("warning of a missing log") << false;
}

void WindowsDesktopTest::pathsShownInTheSystemsForm()
{
    QFETCH(bool, logThere);
    typeCallAndOpenTheLists();
    const QString folder = control<FolderList>(form(), "Folder")->path();
    QCOMPARE(folder, QDir::toNativeSeparators(m_fixture->folder()));
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), "ALL.TXT"));
    if (!logThere)
        QVERIFY(QFile::remove(m_fixture->path("ALL.TXT")));

    ModalBoxCloser closer;
    click(form(), "Command1");
    QTRY_COMPARE(closer.boxes.size(), 1);
    const QString text = closer.boxes.first().text;
    QVERIFY2(!text.contains('/'), qPrintable(text));
    const QString shownFile = folder + (logThere ? "\\jt65a_K1ABC_logfile.txt" : "\\ALL.TXT");
    QVERIFY2(text.contains(shownFile), qPrintable(text));
}

// The separator is always put between folder and name, so a root's path
// shows it twice, as Windows accepts it.
void WindowsDesktopTest::logOnADriveRoot()
{
    const QString rootLog = QStringLiteral("C:/ALL.TXT");
    const QString condensed = QStringLiteral("C:/jt65a_K1ABC_logfile.txt");
    QFile probe(rootLog);
    if (probe.exists() || !probe.open(QIODevice::WriteOnly))
        QSKIP("C:\\ALL.TXT exists already or may not be written (an account without rights to the drive root)");
    probe.close();
    writeFile(rootLog, theLog);
    const auto removeBoth = qScopeGuard([&] {
        QFile::remove(rootLog);
        QFile::remove(condensed);
    });

    ModalBoxCloser closer;
    typeCallAndOpenTheLists();
    auto *folder = control<FolderList>(form(), "Folder");
    QVERIFY(clickEntry(folder, "C:\\", true));
    QTRY_COMPARE(folder->path(), QStringLiteral("C:\\"));
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), "ALL.TXT"));
    QVERIFY(!control(form(), "Command1")->isHidden());

    click(form(), "Command1");
    QTRY_COMPARE(closer.answered().size(), 1);
    QCOMPARE(closer.answered().first().icon, QMessageBox::Information);
    QCOMPARE(closer.answered().first().text, QStringLiteral("A new file, C:\\\\jt65a_K1ABC_logfile.txt, has been created."));
    QCOMPARE(readBytes(condensed), referenceCondense(theLog.toStdString(), "K1ABC"));
}

QTEST_MAIN(WindowsDesktopTest)
#include "tst_windowsdesktop.moc"
