// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleEvents.h"
#include "CommandButton.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "Label.h"
#include "Module1.h"
#include "TextBox.h"

#include <QTest>

#include <optional>

using namespace FormControls;

namespace {

const QStringList atStart = sorted({"Version", "Label6", "Label5", "CenterBanner", "Label4", "Text1", "Text2",
                                    "Picture_call", "Label7", "Label8", "Command3", "Command2"});

QStringList with(QStringList names, const QStringList &added, const QStringList &removed = {})
{
    for (const QString &name : removed)
        names.removeAll(name);
    names.append(added);
    return sorted(names);
}

const QStringList callTyped = with(atStart, {"Label1", "Picture_down"}, {"Label7", "Label8", "Picture_call"});
const QStringList runStep = {"Label2", "Label3", "Picture_up", "Command1"};

} // namespace

// The step guidance: which controls each event shows and hides.
class Form1GuidanceTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUp();
    void callSignEntry_data();
    void callSignEntry();
    void logFileNameTypedByHand_data();
    void logFileNameTypedByHand();
    void refreshEvents_data();
    void refreshEvents();
    void unhandledClicksDoNothing_data();
    void unhandledClicksDoNothing();
    void label4SaysKillMe();
    void guidanceHeard_data();
    void guidanceHeard();
    void closeAndExit_data();
    void closeAndExit();

private:
    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

void Form1GuidanceTest::init()
{
    m_fixture.emplace();
    QVERIFY(m_fixture->start());
}

void Form1GuidanceTest::cleanup()
{
    m_fixture.reset();
}

void Form1GuidanceTest::startUp()
{
    QCOMPARE(shown(form()), atStart);
    QCOMPARE(control<CommandButton>(form(), "Command1")->text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(control<Label>(form(), "Label4")->text(), QString());
    QCOMPARE(Module1::OperatorCall, QString());
    QCOMPARE(Module1::OperatorCallLength, 0);
}

void Form1GuidanceTest::callSignEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("erased");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("expectShown");

    QTest::newRow("call sign") << "K1ABC" << 0 << "K1ABC" << callTyped;
    QTest::newRow("lower case kept") << "k1abc" << 0 << "k1abc" << callTyped;
    QTest::newRow("blanks kept") << " W1AW/P " << 0 << " W1AW/P " << callTyped;
    QTest::newRow("one letter, then erased") << "K" << 1 << "" << atStart;
    QTest::newRow("typed, partly erased") << "K1ABCD" << 1 << "K1ABC" << callTyped;
}

void Form1GuidanceTest::callSignEntry()
{
    QFETCH(QString, typed);
    QFETCH(int, erased);
    QFETCH(QString, call);
    QFETCH(QStringList, expectShown);

    auto *text2 = control<TextBox>(form(), "Text2");
    QTest::keyClicks(text2, typed);
    for (int i = 0; i < erased; ++i)
        QTest::keyClick(text2, Qt::Key_Backspace);

    QCOMPARE(Module1::OperatorCall, call);
    QCOMPARE(Module1::OperatorCallLength, qint32(call.size()));
    QCOMPARE(control<Label>(form(), "Label4")->text(), "Customized for " + call);
    QCOMPARE(shown(form()), expectShown);
}

void Form1GuidanceTest::logFileNameTypedByHand_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("runStepShown");
    QTest::newRow("ALL.TXT") << "ALL.TXT" << true;
    QTest::newRow("lower case") << "all.txt" << false;
    QTest::newRow("one character more") << "ALL.TXT1" << false;
    QTest::newRow("another name") << "notes.txt" << false;
}

void Form1GuidanceTest::logFileNameTypedByHand()
{
    QFETCH(QString, typed);
    QFETCH(bool, runStepShown);
    auto *text1 = control<TextBox>(form(), "Text1");
    text1->selectAll();
    QTest::keyClick(text1, Qt::Key_Delete);
    QTest::keyClicks(text1, typed);
    QCOMPARE(shown(form()), runStepShown ? with(atStart, runStep) : atStart);
}

void Form1GuidanceTest::refreshEvents_data()
{
    QTest::addColumn<QString>("clicked");
    for (const char *name : {"Label1", "Label2", "Label3", "Picture_up", "Picture_down"})
        QTest::newRow(name) << name;
}

// A change of the call sign hides the run button; each refresh event shows
// the run step again while Text1 holds "ALL.TXT".
void Form1GuidanceTest::refreshEvents()
{
    QFETCH(QString, clicked);
    control<TextBox>(form(), "Text1")->setText("ALL.TXT");
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    QCOMPARE(shown(form()), callTyped);

    click(form(), clicked);
    QCOMPARE(shown(form()), with(callTyped, runStep));
}

void Form1GuidanceTest::unhandledClicksDoNothing_data()
{
    QTest::addColumn<QString>("clicked");
    for (const char *name : {"Label5", "Label6", "Label7", "Label8", "Picture_call", "CenterBanner", "Version"})
        QTest::newRow(name) << name;
}

void Form1GuidanceTest::unhandledClicksDoNothing()
{
    QFETCH(QString, clicked);
    control<TextBox>(form(), "Text1")->setText("ALL.TXT");
    QTest::keyClicks(control(form(), "Text2"), "K1ABC");
    const QStringList before = shown(form());
    click(form(), clicked);
    QCOMPARE(shown(form()), before);
    QCOMPARE(control<Label>(form(), "Label4")->text(), QStringLiteral("Customized for K1ABC"));
}

void Form1GuidanceTest::label4SaysKillMe()
{
    QTest::keyClicks(control(form(), "Text2"), "K1AB");
    click(form(), "Label4");
    QCOMPARE(control<Label>(form(), "Label4")->text(), QStringLiteral("kill me"));
    QCOMPARE(shown(form()), callTyped);
    QTest::keyClicks(control(form(), "Text2"), "C");
    QCOMPARE(control<Label>(form(), "Label4")->text(), QStringLiteral("Customized for K1ABC"));
}

void Form1GuidanceTest::guidanceHeard_data()
{
    QTest::addColumn<QString>("call");     // typed into Text2
    QTest::addColumn<int>("erased");       // then erased by Backspace
    QTest::addColumn<QString>("logFile");  // then typed into Text1
    QTest::addColumn<QString>("callSign"); // Text2's description then
    QTest::addColumn<QString>("find");     // Command3's
    QTest::addColumn<QString>("run");      // Command1's

    const QString callStep = QStringLiteral("First, enter your call. You MUST use CAPS.");
    const QString findStep = QStringLiteral("Next, find the file to clarify.");
    const QString runStep = QStringLiteral("Now, do it!");
    QTest::newRow("at start") << "" << 0 << "" << callStep << "" << "";
    QTest::newRow("call typed") << "K1ABC" << 0 << "" << "" << findStep << "";
    QTest::newRow("call erased again") << "K" << 1 << "" << callStep << "" << "";
    QTest::newRow("log file chosen") << "K1ABC" << 0 << "ALL.TXT" << "" << findStep << runStep;
    QTest::newRow("another file") << "K1ABC" << 0 << "notes" << "" << findStep << "";
}

// The prompt of each step shown on the window is the description of the
// control it prompts for, and a screen reader is told of every change.
void Form1GuidanceTest::guidanceHeard()
{
    QFETCH(QString, call);
    QFETCH(int, erased);
    QFETCH(QString, logFile);
    QFETCH(QString, callSign);
    QFETCH(QString, find);
    QFETCH(QString, run);
    AccessibleEvents screenReader;
    auto *text2 = control(form(), "Text2");
    QTest::keyClicks(text2, call);
    for (int i = 0; i < erased; ++i)
        QTest::keyClick(text2, Qt::Key_Backspace);
    if (!logFile.isEmpty()) {
        auto *text1 = control<TextBox>(form(), "Text1");
        text1->clear();
        QTest::keyClicks(text1, logFile);
    }

    const QList<std::pair<QString, QString>> described = {{"Text2", callSign}, {"Command3", find}, {"Command1", run}};
    for (const auto &[name, description] : described) {
        QCOMPARE(AccessibleEvents::text(control(form(), name), QAccessible::Description), description);
        // Told when it changed from the start, and not when it did not.
        const bool changed = description != (name == "Text2" ? QStringLiteral("First, enter your call. You MUST use CAPS.")
                                                                : QString());
        if (changed)
            QVERIFY2(!screenReader.of(QAccessible::DescriptionChanged, name).isEmpty(), qPrintable(name));
        else if (erased == 0)
            QVERIFY2(screenReader.of(QAccessible::DescriptionChanged, name).isEmpty(), qPrintable(name));
    }
}

void Form1GuidanceTest::closeAndExit_data()
{
    QTest::addColumn<bool>("browserOpen");
    QTest::newRow("at start") << false;
    QTest::newRow("browser open") << true;
}

void Form1GuidanceTest::closeAndExit()
{
    QFETCH(bool, browserOpen);
    if (browserOpen)
        click(form(), "Command3");
    QCOMPARE(shown(form()).contains("Files"), browserOpen);
    click(form(), "Command2");
    QVERIFY(!form().isVisible());
    // No window is left, so the event loop, and the program, ends.
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(), [](const QWidget *window) { return window->isVisible(); }));
}

QTEST_MAIN(Form1GuidanceTest)
#include "tst_form1guidance.moc"
