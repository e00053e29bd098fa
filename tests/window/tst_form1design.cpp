// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"
#include "FormFixture.h"
#include "PictureBox.h"
#include "ProgramIdentity.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <cstdlib>
#include <QLabel>
#include <QLineEdit>
#include <QFontInfo>
#include <QTest>

#include <optional>

// The window as designed, before its load event: every control where the
// design puts it, as the design draws it.
class Form1DesignTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void window();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void tabOrder();
    void accessibleNames_data();
    void accessibleNames();
    void drivesTellWhatTheyAreFor();
    void labelTextBlackOnADarkDesktop();
    void handPictures();
    void stackingAsSeen();
    void bannerWordsShowWhole_data();
    void bannerWordsShowWhole();
    void listsShareTheirEdges_data();
    void listsShareTheirEdges();

private:
    template <typename T = QWidget>
    T *control(const char *name) const { return form().findChild<T *>(QString::fromLatin1(name)); }

    Form1 &form() const { return m_fixture->form(); }

    std::optional<FormFixture> m_fixture;
};

namespace {

const QColor green(0, 192, 0);
const QColor yellow(255, 255, 0);
const QColor lightYellow(255, 255, 192);
const QColor red(255, 0, 0);
const QColor black(0, 0, 0);

QString textOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    return QString();
}

} // namespace

void Form1DesignTest::init()
{
    m_fixture.emplace();
    m_fixture->create();
}

void Form1DesignTest::cleanup()
{
    m_fixture.reset();
}

void Form1DesignTest::window()
{
    QCOMPARE(form().windowTitle(), QStringLiteral("JT65a raw log clarifier"));
    QCOMPARE(form().size(), QSize(394, 555));
    QCOMPARE(form().palette().color(QPalette::Window), green);
    QVERIFY(form().autoFillBackground());
    QVERIFY(!form().windowIcon().isNull());
    QVERIFY(form().windowIcon().availableSizes().contains(QSize(32, 32)));
    // The window holds its client area; the client area's surface the 21 controls.
    QCOMPARE(form().findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    QCOMPARE(form().surface()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 21);

    // Resizing moves nothing; a larger window shows more of its colour.
    const QRect before = control("Command2")->geometry();
    form().resize(200, 300);
    QCOMPARE(control("Command2")->geometry(), before);
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    form().resize(600, 700);
    QTRY_COMPARE(form().size(), QSize(600, 700));
    QCOMPARE(form().surface()->size(), QSize(394, 555));
    QCOMPARE(control("Command2")->mapTo(&form(), QPoint()), before.topLeft());
    QCOMPARE(form().grab().toImage().pixelColor(590, 690), green);
}

void Form1DesignTest::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("back");  // invalid: the platform's own
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("visible");

    const QString sans = "MS Sans Serif";
    const QColor own;
    QTest::newRow("Command1") << "CommandButton" << QRect(32, 8, 329, 57) << "Begin clarifying the ALL.txt file now."
                              << sans << 12.0 << true << false << own << own << false << true;
    QTest::newRow("Command2") << "CommandButton" << QRect(32, 520, 329, 25) << "Close and Exit" << sans << 12.0
                              << true << false << own << own << false << true;
    QTest::newRow("Files") << "FileList" << QRect(232, 128, 129, 253) << "" << sans << 8.25 << false << false << own
                           << own << false << true;
    QTest::newRow("Drives") << "DriveList" << QRect(32, 128, 201, 21) << "" << sans << 8.25 << false << false << own
                            << own << false << true;
    QTest::newRow("Folder") << "FolderList" << QRect(32, 144, 201, 231) << "" << sans << 8.25 << false << false << own
                            << own << false << true;
    QTest::newRow("Text1") << "TextBox" << QRect(32, 392, 161, 25) << "No log file selected yet." << sans << 8.25
                           << true << false << lightYellow << red << false << true;
    QTest::newRow("Command3") << "CommandButton" << QRect(32, 488, 329, 25) << "Find JT65a log file: \"ALL.TXT\" "
                              << sans << 8.25 << false << false << own << own << false << true;
    QTest::newRow("CenterBanner") << "Label" << QRect(80, 240, 225, 73) << "Master" << "Nina" << 48.0 << true << true
                                  << green << yellow << true << true;
    QTest::newRow("Picture_up") << "PictureBox" << QRect(168, 65, 57, 81) << "" << sans << 8.25 << false << false
                                << green << own << false << false;
    QTest::newRow("Picture_down") << "PictureBox" << QRect(48, 424, 81, 57) << "" << sans << 8.25 << false << false
                                  << green << own << false << false;
    QTest::newRow("Label1") << "Label" << QRect(144, 440, 209, 33) << "Next, find the file to clarify." << sans << 13.5
                            << false << false << green << black << false << false;
    QTest::newRow("Label2") << "Label" << QRect(104, 88, 57, 33) << "Now," << sans << 13.5 << false << false << green
                            << black << false << false;
    QTest::newRow("Label3") << "Label" << QRect(232, 88, 49, 33) << "do it!" << sans << 13.5 << false << false << green
                            << black << false << false;
    QTest::newRow("Label4") << "Label" << QRect(80, 312, 225, 73) << "" << "Nina" << 20.25 << true << true << green
                            << yellow << true << true;
    QTest::newRow("Label5") << "Label" << QRect(88, 184, 225, 73) << "Clarifier" << "Nina" << 48.0 << true << true
                            << green << yellow << true << true;
    QTest::newRow("Label6") << "Label" << QRect(88, 128, 225, 73) << "JT65a" << "Nina" << 48.0 << true << true << green
                            << yellow << true << true;
    QTest::newRow("Text2") << "TextBox" << QRect(200, 392, 161, 25) << "" << sans << 8.25 << true << false
                           << lightYellow << red << false << true;
    QTest::newRow("Label7") << "Label" << QRect(192, 424, 169, 25) << "First, enter your call" << sans << 13.5 << false
                            << false << green << black << false << true;
    QTest::newRow("Picture_call") << "PictureBox" << QRect(288, 328, 81, 57) << "" << sans << 8.25 << false << false
                                  << green << own << false << true;
    QTest::newRow("Label8") << "Label" << QRect(168, 448, 209, 25) << "You MUST use CAPS." << sans << 13.5 << false
                            << false << green << black << false << true;
    QTest::newRow("Version") << "Label" << QRect(144, 24, 105, 33) << QStringLiteral("Ver %1").arg(ProgramIdentity::version) << sans << 13.5 << false << false
                             << green << black << true << true;
}

void Form1DesignTest::controlsAsDesigned()
{
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QColor, back);
    QFETCH(QColor, fore);
    QFETCH(bool, centred);
    QFETCH(bool, visible);

    const QWidget *widget = control(QTest::currentDataTag());
    QVERIFY(widget != nullptr);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(textOf(widget), text);
    QCOMPARE(widget->font().family(), face);
    QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
    QCOMPARE(widget->font().italic(), italic);
    // The face actually drawn, designed or stand-in, has the designed weight and slant.
    const QFontInfo drawn(widget->font());
    QCOMPARE(drawn.bold(), bold);
    QCOMPARE(drawn.italic(), italic);
    QCOMPARE(!widget->isHidden(), visible);

    const bool textBox = kind == "TextBox";
    if (back.isValid())
        QCOMPARE(widget->palette().color(textBox ? QPalette::Base : QPalette::Window), back);
    const QColor shownFore = widget->palette().color(textBox ? QPalette::Text : QPalette::WindowText);
    QCOMPARE(shownFore, fore.isValid() ? fore : QApplication::palette().color(textBox ? QPalette::Text : QPalette::WindowText));

    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        QCOMPARE(label->alignment(), Qt::AlignTop | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
        QVERIFY(label->wordWrap());
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void Form1DesignTest::tabOrder()
{
    QStringList order;
    QWidget *widget = control("Command1");
    do {
        if (widget->parentWidget() == form().surface() && widget->focusPolicy() & Qt::TabFocus)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != control("Command1"));
    QCOMPARE(order, QStringList({"Command1", "Command2", "Files", "Drives", "Folder", "Text1", "Command3", "Text2"}));
}

void Form1DesignTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Command1") << "Begin clarifying the ALL.txt file now.";
    QTest::newRow("Command2") << "Close and Exit";
    QTest::newRow("Files") << "Files in the folder";
    QTest::newRow("Folder") << "Folder";
    QTest::newRow("Text1") << "Log file name";
    QTest::newRow("Command3") << "Find JT65a log file: \"ALL.TXT\" ";
    QTest::newRow("Text2") << "Call sign";
}

// Every control that takes the focus says what it is for.
void Form1DesignTest::accessibleNames()
{
    QFETCH(QString, name);
    QWidget *widget = control(QTest::currentDataTag());
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), name);

    // Reached from the window through what holds it, none of which says a name.
    for (QAccessibleInterface *inner = accessible; inner->object() != &form(); inner = inner->parent()) {
        QVERIFY(inner->parent() != nullptr && inner->parent()->indexOfChild(inner) >= 0);
        QVERIFY(inner == accessible || inner->text(QAccessible::Name).isEmpty());
    }
}

// A drop-down list is called by its entry on some desktops: what the drive
// list is for is its description there.
void Form1DesignTest::drivesTellWhatTheyAreFor()
{
    QAccessibleInterface *drives = QAccessible::queryAccessibleInterface(control("Drives"));
    QCOMPARE(drives->text(QAccessible::Description), QStringLiteral("Drive"));
#ifndef Q_OS_UNIX
    QCOMPARE(drives->text(QAccessible::Name), QStringLiteral("Drive"));
#endif
}

// The prompts' text is black on the designed green, also where the desktop's
// scheme has light text (a dark desktop).
void Form1DesignTest::labelTextBlackOnADarkDesktop()
{
    const QPalette standard = QApplication::palette();
    QPalette dark = standard;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Base, Qt::black);
    QApplication::setPalette(dark);
    Form1 onDark;
    QApplication::setPalette(standard);

    QCOMPARE(onDark.palette().color(QPalette::Window), green);
    for (const char *name : {"Version", "Label1", "Label2", "Label3", "Label7", "Label8"}) {
        const auto *label = onDark.findChild<QLabel *>(QString::fromLatin1(name));
        QCOMPARE(label->palette().color(QPalette::Window), green);
        QCOMPARE(label->palette().color(QPalette::WindowText), black);
    }
    onDark.show();
    QVERIFY(QTest::qWaitForWindowExposed(&onDark));
    const QImage version = onDark.findChild<QLabel *>("Version")->grab().toImage();
    bool blackDrawn = false;
    for (int y = 0; y < version.height() && !blackDrawn; ++y) {
        for (int x = 0; x < version.width() && !blackDrawn; ++x)
            blackDrawn = version.pixelColor(x, y) == black;
    }
    QVERIFY(blackDrawn);
}

void Form1DesignTest::handPictures()
{
    const QImage call = control<PictureBox>("Picture_call")->picture().convertToFormat(QImage::Format_RGB32);
    const QImage down = control<PictureBox>("Picture_down")->picture().convertToFormat(QImage::Format_RGB32);
    const QImage up = control<PictureBox>("Picture_up")->picture().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(call.size(), QSize(82, 58));
    QCOMPARE(down.size(), QSize(82, 58));
    QCOMPARE(up.size(), QSize(58, 82));
    QVERIFY(!control<PictureBox>("Picture_call")->picture().hasAlphaChannel());

    // Background exactly the window's green at the corners away from the
    // fingertip; the hand itself reaches the fingertip's corner.
    QCOMPARE(call.pixelColor(0, 0), green);
    QCOMPARE(call.pixelColor(81, 0), green);
    QCOMPARE(call.pixelColor(81, 57), green);
    QVERIFY(call.pixelColor(2, 55) != green);
    QVERIFY(call.pixelColor(62, 20) != green);  // the fist

    for (int y = 0; y < 58; ++y) {
        for (int x = 0; x < 82; ++x) {
            QCOMPARE(down.pixel(81 - x, y), call.pixel(x, y));  // mirrored left to right
            QCOMPARE(up.pixel(57 - y, x), call.pixel(x, y));    // a quarter turn clockwise
        }
    }
}

void Form1DesignTest::stackingAsSeen()
{
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    const QRect version = control("Version")->geometry();

    // Version lies inside the run button's rectangle: covered while it is shown.
    QImage seen = form().grab().toImage();
    const QImage button = control("Command1")->grab().toImage();
    const QPoint inButton = version.center() - control("Command1")->pos();
    QCOMPARE(seen.pixelColor(version.center()), button.pixelColor(inButton));

    control("Command1")->hide();
    seen = form().grab().toImage();
    const QImage versionAlone = control("Version")->grab().toImage();
    QCOMPARE(seen.copy(version), versionAlone.convertToFormat(seen.format()));

    // Picture_call lies in front of the corner of the file list; its green is the window's.
    const QRect call = control("Picture_call")->geometry();
    QCOMPARE(seen.pixelColor(call.topLeft()), green);
    QCOMPARE(seen.pixelColor(call.topLeft()), seen.pixelColor(5, 100));
    QCOMPARE(seen.pixelColor(call.topLeft() + QPoint(2, 55)), control<PictureBox>("Picture_call")->picture().pixelColor(2, 55));

    // The lists are in front of every banner label.
    QCOMPARE(seen.pixelColor(control("Label6")->geometry().center()),
             control("Folder")->grab().toImage().pixelColor(control("Label6")->geometry().center() - control("Folder")->pos()));
}

void Form1DesignTest::bannerWordsShowWhole_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("Label6") << "JT65a";
    QTest::newRow("Label5") << "Clarifier";
    QTest::newRow("CenterBanner") << "Master";
}

// Every pixel of the word, as the label draws it alone, is seen on the window:
// none is covered by the label stacked in front of it.
void Form1DesignTest::bannerWordsShowWhole()
{
    QFETCH(QString, word);
    form().start();  // the lists closed, as at first sight
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QLabel *label = control<QLabel>(QTest::currentDataTag());
    QCOMPARE(label->text(), word);

    const QImage seen = form().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage alone = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double scale = alone.devicePixelRatio();
    const QPoint offset = (QPointF(label->pos()) * scale).toPoint();
    int ink = 0;
    int covered = 0;
    for (int y = 0; y < alone.height(); ++y) {
        for (int x = 0; x < alone.width(); ++x) {
            if (alone.pixelColor(x, y) == green)
                continue;
            ++ink;
            // Scaled drawing may round a blended edge differently by a step or two.
            const QColor drawn = alone.pixelColor(x, y);
            const QColor shown = seen.pixelColor(offset + QPoint(x, y));
            if (std::abs(drawn.red() - shown.red()) + std::abs(drawn.green() - shown.green())
                    + std::abs(drawn.blue() - shown.blue()) > 12)
                ++covered;
        }
    }
    QVERIFY2(ink > 200 * scale * scale, qPrintable(QString::number(ink)));
    QCOMPARE(covered, 0);

    // The word stays inside its rectangle: no ink on the bottom row.
    for (int x = 0; x < alone.width(); ++x)
        QCOMPARE(alone.pixelColor(x, alone.height() - 1), green);
}

void Form1DesignTest::listsShareTheirEdges_data()
{
    QTest::addColumn<QString>("front");
    QTest::addColumn<QString>("behind");
    QTest::newRow("folder list and file list") << "Folder" << "Files";
    QTest::newRow("drive list and file list") << "Drives" << "Files";
    QTest::newRow("drive list and folder list") << "Folder" << "Drives";
}

// Lists that overlap or touch as designed do so at any scale: where they
// meet, no pixel shows the banner behind them.
void Form1DesignTest::listsShareTheirEdges()
{
    QFETCH(QString, front);
    QFETCH(QString, behind);
    form().start();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QTest::keyClicks(control("Text2"), "K1ABC");
    QTest::mouseClick(control("Command3"), Qt::LeftButton);
    QVERIFY(control(qPrintable(behind))->isVisible());

    const QImage seen = form().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double scale = seen.devicePixelRatio();
    // Where the two meet, in the window's pixels: the strip they share,
    // and the column or row beside it.
    const QRect meeting = control(qPrintable(front))->geometry().adjusted(0, 0, 1, 1)
                              .intersected(control(qPrintable(behind))->geometry().adjusted(0, 0, 1, 1));
    QVERIFY(!meeting.isEmpty());
    const QRect pixels = QRectF(QPointF(meeting.topLeft()) * scale, QSizeF(meeting.size()) * scale).toAlignedRect();
    int banner = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor colour = seen.pixelColor(x, y);
            if (colour == green || colour == yellow)
                ++banner;
        }
    }
    QCOMPARE(banner, 0);
}

QTEST_MAIN(Form1DesignTest)
#include "tst_form1design.moc"
