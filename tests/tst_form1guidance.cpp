// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandButton.h"
#include "FormFixture.h"
#include "Label.h"
#include "Module1.h"
#include "TextBox.h"

#include <QTemporaryDir>
#include <QTest>

using namespace FormFixture;

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
    void closeAndExit_data();
    void closeAndExit();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};

void Form1GuidanceTest::init()
{
    Module1::OperatorCall.clear();
    Module1::OperatorCallLength = 0;
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_form = std::make_unique<Form1>();
    m_form->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void Form1GuidanceTest::cleanup()
{
    m_form.reset();
}

void Form1GuidanceTest::startUp()
{
    QCOMPARE(shown(*m_form), atStart);
    QCOMPARE(control<CommandButton>(*m_form, "Command1")->text(), QStringLiteral("Clarify the raw JT65a logfile now."));
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), QString());
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

    auto *text2 = control<TextBox>(*m_form, "Text2");
    QTest::keyClicks(text2, typed);
    for (int i = 0; i < erased; ++i)
        QTest::keyClick(text2, Qt::Key_Backspace);

    QCOMPARE(Module1::OperatorCall, call);
    QCOMPARE(Module1::OperatorCallLength, qint32(call.size()));
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), "Customized for " + call);
    QCOMPARE(shown(*m_form), expectShown);
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
    auto *text1 = control<TextBox>(*m_form, "Text1");
    text1->selectAll();
    QTest::keyClick(text1, Qt::Key_Delete);
    QTest::keyClicks(text1, typed);
    QCOMPARE(shown(*m_form), runStepShown ? with(atStart, runStep) : atStart);
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
    control<TextBox>(*m_form, "Text1")->setText("ALL.TXT");
    QTest::keyClicks(control(*m_form, "Text2"), "K1ABC");
    QCOMPARE(shown(*m_form), callTyped);

    click(*m_form, clicked);
    QCOMPARE(shown(*m_form), with(callTyped, runStep));
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
    control<TextBox>(*m_form, "Text1")->setText("ALL.TXT");
    QTest::keyClicks(control(*m_form, "Text2"), "K1ABC");
    const QStringList before = shown(*m_form);
    click(*m_form, clicked);
    QCOMPARE(shown(*m_form), before);
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), QStringLiteral("Customized for K1ABC"));
}

void Form1GuidanceTest::label4SaysKillMe()
{
    QTest::keyClicks(control(*m_form, "Text2"), "K1AB");
    click(*m_form, "Label4");
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), QStringLiteral("kill me"));
    QCOMPARE(shown(*m_form), callTyped);
    QTest::keyClicks(control(*m_form, "Text2"), "C");
    QCOMPARE(control<Label>(*m_form, "Label4")->text(), QStringLiteral("Customized for K1ABC"));
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
        click(*m_form, "Command3");
    QCOMPARE(shown(*m_form).contains("Files"), browserOpen);
    click(*m_form, "Command2");
    QVERIFY(!m_form->isVisible());
    // No window is left, so the event loop, and the program, ends.
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(), [](const QWidget *window) { return window->isVisible(); }));
}

QTEST_MAIN(Form1GuidanceTest)
#include "tst_form1guidance.moc"
