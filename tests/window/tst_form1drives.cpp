// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "HeldLister.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "ModalBoxCloser.h"
#include "Module1.h"
#include "TextBox.h"
#include "TestFiles.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <optional>

// Drives and folders that are not ready or keep the browser waiting: the
// window never waits with them, and says so only of one that has brought
// nothing for a while.
using namespace FormControls;
using namespace TestFiles;

namespace {

const QByteArray subLog = "---------------------\r\n000300 CQ K1ABC FN42\r\n";

} // namespace

class Form1DrivesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void driveNotReady();
    void notAnsweringInTime_data();
    void notAnsweringInTime();

private:
    QString path(const QString &name) const { return m_fixture->path(name); }
    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void Form1DrivesTest::init()
{
    m_fixture.emplace();
    QVERIFY(QDir(m_fixture->folder()).mkdir("sub"));
    writeFile(path("notes"), "a name without a dot\r\n");
    QVERIFY(m_fixture->start());
}

void Form1DrivesTest::driveNotReady()
{
    click(form(), "Command3");
    auto *drives = control<DriveList>(form(), "Drives");
    const QString before = drives->currentText();
    drives->addItem("no-disk-in-this-drive", path("no-disk-in-this-drive"));
    ModalBoxCloser closer;
    drives->setCurrentIndex(drives->count() - 1);
    emit drives->activated(drives->count() - 1);

    QTRY_COMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Warning);
    QVERIFY(closer.boxes.first().text.contains("no-disk-in-this-drive"));
    QCOMPARE(control<FolderList>(form(), "Folder")->path(), QDir::toNativeSeparators(m_fixture->folder()));
    QCOMPARE(drives->currentText(), before);
    QVERIFY(form().isVisible());
}

void Form1DrivesTest::notAnsweringInTime_data()
{
    QTest::addColumn<bool>("asDrive");
    QTest::addColumn<QString>("warning");
    QTest::newRow("folder") << false << "The folder %1 does not answer.";
    QTest::newRow("drive") << true << "The drive %1 does not answer.";
    QTest::newRow("slow folder whose entries keep coming") << false << QString();
}

// A folder that keeps the reading waiting: the user is told, the lists stay
// where they were and take other choices, and the folder opens once it answers.
void Form1DrivesTest::notAnsweringInTime()
{
    QFETCH(bool, asDrive);
    QFETCH(QString, warning);
    QVERIFY(QDir(m_fixture->folder()).mkdir("share"));
    writeFile(path("share/ALL.TXT"), subLog);
    const QString share = QDir::toNativeSeparators(path("share"));
    const bool slow = warning.isEmpty();
    const auto lister = std::make_shared<HeldLister>(share, slow);
    // Handed to the lists the folder is opened from.
    control<FolderList>(form(), "Folder")->setLister(lister);
    control<FileList>(form(), "Files")->setLister(lister);
    const auto letGo = qScopeGuard([&] { lister->letGo(); });
    click(form(), "Command3");
    auto *folder = control<FolderList>(form(), "Folder");
    auto *drives = control<DriveList>(form(), "Drives");
    const QString driveBefore = drives->currentText();

    ModalBoxCloser closer;
    if (asDrive) {
        drives->addItem("share", share);
        drives->setCurrentIndex(drives->count() - 1);
        emit drives->activated(drives->count() - 1);
    } else {
        QVERIFY(clickEntry(folder, "share", true));
    }
    if (slow) {
        // Entries for two and a half seconds, more than twice the deadline: no warning.
        QTRY_VERIFY_WITH_TIMEOUT(lister->deliveries() >= 25, 10000);
        QVERIFY(closer.boxes.isEmpty());
        lister->letGo();
        QTRY_COMPARE(folder->path(), share);
        QCOMPARE(closer.boxes.size(), 0);
        return;
    }
    QTRY_COMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Warning);
    QVERIFY2(closer.boxes.first().text.startsWith(warning.arg(share)), qPrintable(closer.boxes.first().text));
    QCOMPARE(folder->path(), QDir::toNativeSeparators(m_fixture->folder()));
    QCOMPARE(drives->currentText(), driveBefore);

    // Still usable: a click selects, and a file can be chosen.
    QVERIFY(clickEntry(folder, "sub"));
    QCOMPARE(folder->currentItem()->text(0), QStringLiteral("sub"));
    QVERIFY(clickEntry(control<FileList>(form(), "Files"), "notes"));
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), QStringLiteral("notes"));

    lister->letGo();
    QTRY_COMPARE(folder->path(), share);
    QTRY_COMPARE(entries(control<FileList>(form(), "Files")), QStringList({"ALL.TXT"}));
    QCOMPARE(closer.boxes.size(), 1);
}

QTEST_MAIN(Form1DrivesTest)
#include "tst_form1drives.moc"
