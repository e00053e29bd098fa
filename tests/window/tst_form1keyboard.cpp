// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleEvents.h"
#include "CommandButton.h"
#include "FileList.h"
#include "FocusMark.h"
#include "FolderList.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "Label.h"
#include "ModalBoxCloser.h"
#include "ReferenceCondenser.h"
#include "TextBox.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace FormControls;
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

// Keys of the keypad come with the keypad modifier.
constexpr int keypad = Qt::KeypadModifier;
constexpr int none = Qt::NoModifier;

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
    void focusMarkShows_data();
    void focusMarkShows();
    void findButtonHandsOnToTheFileList();
    void enteringTheFileListTellsItsFile();
    void keysInTheFileList_data();
    void keysInTheFileList();
    void keyboardOnlyRun_data();
    void keyboardOnlyRun();

private:
    QString path(const QString &name) const { return m_fixture->path(name); }
    void tabTo(const QString &name);
    bool seenWhole(const QWidget *widget) const;

    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void Form1KeyboardTest::init()
{
    m_fixture.emplace();
    writeFile(path("ALL.TXT"), logText);
    writeFile(path("notes"), "not a log\r\n");
    writeFile(path("zz.txt"), "not a log\r\n");
    QVERIFY(m_fixture->start(FormFixture::Wait::Active));
}

void Form1KeyboardTest::cleanup()
{
    m_fixture.reset();
}

// Tab from wherever the focus is, as the user does, until `name` has it.
void Form1KeyboardTest::tabTo(const QString &name)
{
    QTRY_VERIFY(!focusName().isEmpty());
    QStringList unseen;  // of the controls the focus passed
    for (int presses = 0; presses < 10 && focusName() != name; ++presses) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        if (!seenWhole(focused()))
            unseen.append(focusName());
    }
    QCOMPARE(focusName(), name);
    QCOMPARE(unseen, QStringList());
}

// None of the widget is cut off by what it lies in, and it is on the screen.
bool Form1KeyboardTest::seenWhole(const QWidget *widget) const
{
    QRect seen = widget->rect();
    for (const QWidget *inner = widget; !inner->isWindow(); inner = inner->parentWidget())
        seen = seen.translated(inner->pos()).intersected(inner->parentWidget()->rect());
    return seen.size() == widget->size()
           && form().screen()->availableGeometry().contains(QRect(form().mapToGlobal(seen.topLeft()), seen.size()));
}

void Form1KeyboardTest::focusStartsInTheCallSignBox()
{
    QTRY_COMPARE(focusName(), QStringLiteral("Text2"));
    QTest::keyClicks(focused(), "K1ABC");
    QCOMPARE(control<TextBox>(form(), "Text2")->text(), QStringLiteral("K1ABC"));
    QCOMPARE(control<Label>(form(), "Label4")->text(), QStringLiteral("Customized for K1ABC"));
}

void Form1KeyboardTest::keysOnAButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("find by Enter") << "Command3" << int(Qt::Key_Return) << none << false << true;
    QTest::newRow("find by keypad Enter") << "Command3" << int(Qt::Key_Enter) << none << false << true;
    QTest::newRow("find by keypad Enter, as the keypad sends it") << "Command3" << int(Qt::Key_Enter) << keypad << false
                                                                  << true;
    QTest::newRow("find by Space") << "Command3" << int(Qt::Key_Space) << none << false << true;
    QTest::newRow("Enter held down from before") << "Command3" << int(Qt::Key_Return) << none << true << false;
    QTest::newRow("a letter") << "Command3" << int(Qt::Key_A) << none << false << false;
    QTest::newRow("close by Enter") << "Command2" << int(Qt::Key_Return) << none << false << true;
    QTest::newRow("close by keypad Enter") << "Command2" << int(Qt::Key_Enter) << keypad << false << true;
}

void Form1KeyboardTest::keysOnAButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, held);
    QFETCH(bool, pressed);
    tabTo(button);
    QSignalSpy clicks(control<CommandButton>(form(), button), &CommandButton::clicked);
    if (held)
        heldKey(focused(), Qt::Key(key));
    else
        QTest::keyClick(focused(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks.size(), pressed ? 1 : 0);
    if (button == "Command3")
        QCOMPARE(control(form(), "Files")->isHidden(), !pressed);
    else
        QCOMPARE(form().isVisible(), !pressed);
}

void Form1KeyboardTest::focusMarkShows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("inBrowser");
    QTest::newRow("find button") << "Command3" << false;
    QTest::newRow("empty call sign box") << "Text2" << false;
    QTest::newRow("log file name box") << "Text1" << false;
    QTest::newRow("file list") << "Files" << true;
    QTest::newRow("folder list") << "Folder" << true;
    QTest::newRow("drive list") << "Drives" << true;
}

// The focused control looks different from the same control without the
// focus, by a mark that stands out from what it covers by at least 3 to 1
// and is more than a text cursor.
void Form1KeyboardTest::focusMarkShows()
{
    QFETCH(QString, name);
    QFETCH(bool, inBrowser);
    if (inBrowser) {
        tabTo("Command3");
        QTest::keyClick(focused(), Qt::Key_Return);
    }
    tabTo(name);
    const QImage withFocus = control(form(), name)->grab().toImage();
    QTest::keyClick(focused(), Qt::Key_Tab);
    QVERIFY(focusName() != name);
    const QImage withoutFocus = control(form(), name)->grab().toImage();
    QVERIFY(withFocus != withoutFocus);

    int marked = 0;
    for (int y = 0; y < withFocus.height(); ++y) {
        for (int x = 0; x < withFocus.width(); ++x)
            marked += FocusMark::contrast(withFocus.pixelColor(x, y), withoutFocus.pixelColor(x, y)) >= 3.0;
    }
    QVERIFY2(marked >= 100, qPrintable(QString::number(marked)));
}

// The call typed stays as it is: the next keystrokes go to the file list.
void Form1KeyboardTest::findButtonHandsOnToTheFileList()
{
    QTest::keyClicks(focused(), "K1ABC");
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);
    QVERIFY(control(form(), "Command3")->isHidden());
    QCOMPARE(focusName(), QStringLiteral("Files"));
    QTest::keyClicks(focused(), "Q");
    QCOMPARE(control<TextBox>(form(), "Text2")->text(), QStringLiteral("K1ABC"));
}

// Entering the file list tells a screen reader which file is current, and
// that file is the selected one: the next arrow down goes to the file after it.
void Form1KeyboardTest::enteringTheFileListTellsItsFile()
{
    AccessibleEvents screenReader;
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);
    auto *files = control<FileList>(form(), "Files");
    QCOMPARE(focused(), files);
    const auto lastFocus = [&] {
        const QList<AccessibleEvents::Event> focus = screenReader.of(QAccessible::Focus);
        return focus.isEmpty() ? AccessibleEvents::Event{} : focus.last();
    };
    QTRY_VERIFY(lastFocus().object == "Files" && lastFocus().child == 0);
    QCOMPARE(files->selectedItems(), QList<QListWidgetItem *>({files->currentItem()}));
    QCOMPARE(files->selectedName(), QStringLiteral("ALL.TXT"));

    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(files->selectedName(), QStringLiteral("notes"));
    QCOMPARE(lastFocus().child, 1);
}

void Form1KeyboardTest::keysInTheFileList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("chosen");   // empty: nothing chosen, the list stays open
    QTest::addColumn<QString>("selected"); // the entry selected afterwards
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "notes" << "notes";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << none << "notes" << "notes";
    QTest::newRow("keypad Enter, as the keypad sends it") << int(Qt::Key_Enter) << keypad << "notes" << "notes";
    QTest::newRow("Space") << int(Qt::Key_Space) << none << "notes" << "notes";
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "" << "notes";
    QTest::newRow("arrow down") << int(Qt::Key_Down) << none << "" << "zz.txt";
    QTest::newRow("arrow up") << int(Qt::Key_Up) << none << "" << "ALL.TXT";
}

void Form1KeyboardTest::keysInTheFileList()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, chosen);
    QFETCH(QString, selected);
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);
    auto *files = control<FileList>(form(), "Files");
    QCOMPARE(focused(), files);
    QCOMPARE(entries(files), QStringList({"ALL.TXT", "notes", "zz.txt"}));
    QTest::keyClick(files, Qt::Key_Home);
    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(files->selectedName(), QStringLiteral("notes"));

    QTest::keyClick(files, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(files->selectedName(), selected);
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), chosen.isEmpty() ? notChosen : chosen);
    QCOMPARE(files->isHidden(), !chosen.isEmpty());
    if (!chosen.isEmpty())
        QCOMPARE(focusName(), QStringLiteral("Command3"));  // not "ALL.TXT": find another
}

void Form1KeyboardTest::keyboardOnlyRun_data()
{
    QTest::addColumn<QString>("screen");  // not found: the primary screen
    QTest::addColumn<int>("scrollBars");   // shown at the start
    if (QGuiApplication::screens().size() == 1) {
        QTest::newRow("the headless platform's own screen") << QString() << 0;
        return;
    }
    // As tst_form1keyboard_screens configures the headless platform.
    QTest::newRow("800x480 at 96 dpi") << "Pi display" << 1;
    QTest::newRow("1024x768 at 144 dpi") << "large text" << 1;
    QTest::newRow("1280x1024 at 96 dpi") << "desktop" << 0;
}

// From start to the condensed log without the mouse, with the window's frame
// on the screen and each control seen whole as it takes the focus, also
// where the screen has less room than the designed window.
void Form1KeyboardTest::keyboardOnlyRun()
{
    QFETCH(QString, screen);
    QFETCH(int, scrollBars);
    QScreen *on = QGuiApplication::primaryScreen();
    for (QScreen *each : QGuiApplication::screens())
        on = each->name() == screen ? each : on;
    m_fixture->close();
    QVERIFY(m_fixture->start(FormFixture::Wait::Active, on));
    QCOMPARE(form().screen(), on);
    QVERIFY(on->availableGeometry().contains(form().frameGeometry()));
    QCOMPARE(std::ranges::count_if(form().findChildren<QScrollBar *>(), &QWidget::isVisible), scrollBars);
    if (scrollBars == 0)
        QCOMPARE(form().size(), QSize(394, 555));
    QTRY_COMPARE(focusName(), QStringLiteral("Text2"));
    QTest::keyClicks(focused(), "K1ABC");
    tabTo("Command3");
    QTest::keyClick(focused(), Qt::Key_Return);

    auto *files = control<FileList>(form(), "Files");
    QCOMPARE(focused(), files);
    QVERIFY(seenWhole(files));
    QTest::keyClick(focused(), Qt::Key_End);
    while (files->selectedName() != "ALL.TXT" && files->currentRow() > 0)
        QTest::keyClick(focused(), Qt::Key_Up);
    QCOMPARE(files->selectedName(), QStringLiteral("ALL.TXT"));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(control<TextBox>(form(), "Text1")->text(), QStringLiteral("ALL.TXT"));
    QCOMPARE(focusName(), QStringLiteral("Command1"));
    QVERIFY(seenWhole(focused()));

    ModalBoxCloser closer({}, ModalBoxCloser::Press::Keyboard);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(closer.boxes.size(), 1);
    QCOMPARE(closer.boxes.first().icon, QMessageBox::Information);
    QCOMPARE(readAll(path("jt65a_K1ABC_logfile.txt")).toStdString(), referenceCondense(logText.toStdString(), "K1ABC"));
    QCOMPARE(shown(form()), sorted({"Version", "Label6", "Label5", "CenterBanner", "Label4", "Command2"}));

    // Only Close and Exit is left, and it has the focus once the window is
    // active again (a desktop makes it so when the box closes; the headless
    // platform has no desktop to do it).
    if (!form().isActiveWindow())
        form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    QTRY_COMPARE(focusName(), QStringLiteral("Command2"));
    QVERIFY(seenWhole(focused()));
    QTest::keyClick(focused(), Qt::Key_Return);
    QVERIFY(!form().isVisible());
}

QTEST_MAIN(Form1KeyboardTest)
#include "tst_form1keyboard.moc"
