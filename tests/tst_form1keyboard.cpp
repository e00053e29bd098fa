// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormFixture.h"
#include "Label.h"
#include "ModalBoxCloser.h"
#include "Module1.h"
#include "ReferenceCondenser.h"
#include "TextBox.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace FormFixture;
using namespace TestFiles;

namespace {

const QByteArray logText = "UTC Date: 2008 Mar 05\r\n000100  -3  2.1 K1ABC W9XYZ EN37\r\n000200 nothing\r\n"
                       "---------------------\r\n000300 CQ K1ABC FN42\r\n";
const QString notChosen = QStringLiteral("No log file selected yet.");

// A key as the keyboard sends it while held down.
void heldKey(QWidget *widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(widget, &press);
}

} // namespace

// The window by keyboard alone: where the focus starts and goes, and which
// keys press buttons and choose files.
class Form1KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void focusStartsInTheCallSignBox();
    void keysOnAButton_data();
    void keysOnAButton();
    void focusMarkShows();
    void findButtonHandsOnToTheFileList();
    void keysInTheFileList_data();
    void keysInTheFileList();
    void keyboardOnlyRun();

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    void tabTo(const QString &name);

    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};

void Form1KeyboardTest::init()
{
    Module1::OperatorCall.clear();
    Module1::OperatorCallLength = 0;
    writeFile(path("ALL.TXT"), logText);
    writeFile(path("notes"), "not a log\r\n");
    writeFile(path("zz.txt"), "not a log\r\n");
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_form = std::make_unique<Form1>();
    m_form->start();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    // The folder is read away from the window's thread.
    QTRY_VERIFY(listsRead(*m_form));
}

void Form1KeyboardTest::cleanup()
{
    m_form.reset();
    QDir::setCurrent(QDir::tempPath());
}

// Tab from wherever the focus is, as the user does, until `name` has it.
void Form1KeyboardTest::tabTo(const QString &name)
{
    QTRY_VERIFY(!focusName().isEmpty());
    for (int presses = 0; presses < 10 && focusName() != name; ++presses)
        QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focusName(), name);
}

void Form1KeyboardTest::focusStartsInTheCallSignBox()
{
    QTRY_COMPARE(focusName(), QStringLiteral("Text2"));
    QTest::keyClicks(focused(), "K1ABC");
    QCOMPARE(control<TextBox>(*m_form, "Text2")->text(), QStringLiteral("K1ABC"));
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), QStringLiteral("Customized for K1ABC"));
}

void Form1KeyboardTest::keysOnAButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("find by Enter") << "Command3" << int(Qt::Key_Return) << false << true;
    QTest::newRow("find by keypad Enter") << "Command3" << int(Qt::Key_Enter) << false << true;
    QTest::newRow("find by Space") << "Command3" << int(Qt::Key_Space) << false << true;
    QTest::newRow("Enter held down from before") << "Command3" << int(Qt::Key_Return) << true << false;
    QTest::newRow("a letter") << "Command3" << int(Qt::Key_A) << false << false;
    QTest::newRow("close by Enter") << "Command2" << int(Qt::Key_Return) << false << true;
}

void Form1KeyboardTest::keysOnAButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(bool, held);
    QFETCH(bool, pressed);
    tabTo(button);
    QSignalSpy clicks(control<CommandButton>(*m_form, button), &CommandButton::clicked);
    if (held)
        heldKey(focused(), Qt::Key(key));
    else
        QTest::keyClick(focused(), Qt::Key(key));
    QCOMPARE(clicks.size(), pressed ? 1 : 0);
    if (button == "Command3")
        QCOMPARE(control(*m_form, "Files")->isHidden(), !pressed);
    else
        QCOMPARE(m_form->isVisible(), !pressed);
}

// The focused control looks different from the same control without the focus.
void Form1KeyboardTest::focusMarkShows()
{
    tabTo("Command3");
    const QImage withFocus = control(*m_form, "Command3")->grab().toImage();
    QTest::keyClick(focused(), Qt::Key_Tab);
    QVERIFY(focusName() != "Command3");
    const QImage withoutFocus = control(*m_form, "Command3")->grab().toImage();
    QVERIFY(withFocus != withoutFocus);
}

// The call typed stays as it is: the next keystrokes go to the file list.
void Form1KeyboardTest::findButtonHandsOnToTheFileList()
{
    QTest::keyClicks(focused(), "K1ABC");
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);
    QVERIFY(control(*m_form, "Command3")->isHidden());
    QCOMPARE(focusName(), QStringLiteral("Files"));
    QTest::keyClicks(focused(), "Q");
    QCOMPARE(control<TextBox>(*m_form, "Text2")->text(), QStringLiteral("K1ABC"));
}

void Form1KeyboardTest::keysInTheFileList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("chosen");   // empty: nothing chosen, the list stays open
    QTest::addColumn<QString>("selected"); // the entry selected afterwards
    QTest::newRow("Enter") << int(Qt::Key_Return) << "notes" << "notes";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "notes" << "notes";
    QTest::newRow("Space") << int(Qt::Key_Space) << "notes" << "notes";
    QTest::newRow("arrow down") << int(Qt::Key_Down) << "" << "zz.txt";
    QTest::newRow("arrow up") << int(Qt::Key_Up) << "" << "ALL.TXT";
}

void Form1KeyboardTest::keysInTheFileList()
{
    QFETCH(int, key);
    QFETCH(QString, chosen);
    QFETCH(QString, selected);
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);
    auto *files = control<FileList>(*m_form, "Files");
    QCOMPARE(focused(), files);
    QCOMPARE(entries(files), QStringList({"ALL.TXT", "notes", "zz.txt"}));
    QTest::keyClick(files, Qt::Key_Home);
    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(files->selectedName(), QStringLiteral("notes"));

    QTest::keyClick(files, Qt::Key(key));
    QCOMPARE(files->selectedName(), selected);
    QCOMPARE(control<TextBox>(*m_form, "Text1")->text(), chosen.isEmpty() ? notChosen : chosen);
    QCOMPARE(files->isHidden(), !chosen.isEmpty());
    if (!chosen.isEmpty())
        QCOMPARE(focusName(), QStringLiteral("Command3"));  // not "ALL.TXT": find another
}

// From start to the condensed log without the mouse.
void Form1KeyboardTest::keyboardOnlyRun()
{
    QTRY_COMPARE(focusName(), QStringLiteral("Text2"));
    QTest::keyClicks(focused(), "K1ABC");
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);

    auto *files = control<FileList>(*m_form, "Files");
    QCOMPARE(focused(), files);
    QTest::keyClick(focused(), Qt::Key_End);
    while (files->selectedName() != "ALL.TXT" && files->currentRow() > 0)
        QTest::keyClick(focused(), Qt::Key_Up);
    QCOMPARE(files->selectedName(), QStringLiteral("ALL.TXT"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(control<TextBox>(*m_form, "Text1")->text(), QStringLiteral("ALL.TXT"));
    QCOMPARE(focusName(), QStringLiteral("Command1"));

    ModalBoxCloser closer({}, ModalBoxCloser::Press::Keyboard);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(readAll(path("jt65a_K1ABC_logfile.txt")).toStdString(), referenceCondense(logText.toStdString(), "K1ABC"));
    QCOMPARE(shown(*m_form), sorted({"Version", "Label6", "Label5", "CenterBanner", "Label4", "Command2"}));

    // Only Close and Exit is left, and it has the focus once the window is
    // active again (a desktop makes it so when the box closes; the headless
    // platform has no desktop to do it).
    if (!m_form->isActiveWindow())
        m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_COMPARE(focusName(), QStringLiteral("Command2"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QVERIFY(!m_form->isVisible());
}

QTEST_MAIN(Form1KeyboardTest)
#include "tst_form1keyboard.moc"
