// SPDX-License-Identifier: GPL-3.0-or-later
#include "FittedMessageBox.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace {

// A comfortable length for lines of prose, in average characters.
constexpr int readingLine = 60;

// How wide a line of text is laid out: its advance, and the overhang of its
// last character beyond it (a line breaks before a character that overhangs
// its end).
int widthOf(const QString &line, const QFontMetrics &metrics)
{
    const int advance = metrics.horizontalAdvance(line);
    return line.isEmpty() ? advance : advance + std::max(0, -metrics.rightBearing(line.back()));
}

// The widest a box's text must be so that each path in it stays on one
// line: the whole line that holds the path where it fits within `limit`,
// else the line up to the path's end (the rest wraps), else the path alone;
// a path wider than `limit` wraps at its separators.
int widthForPaths(const QString &text, const QFontMetrics &metrics, int limit)
{
    // A path begins at a root ("/", "C:\\") at the start of a word, and ends
    // at the comma that follows it or with its line.
    static const QRegularExpression root(QStringLiteral(R"((?:^|(?<=\s))(?:/|[A-Za-z]:\\))"));
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch found = root.match(line);
        if (!found.hasMatch())
            continue;
        const qsizetype start = found.capturedStart();
        const qsizetype comma = line.indexOf(QStringLiteral(", "), start);
        const qsizetype end = comma < 0 ? line.size() : comma + 1;
        int width = limit;
        for (const QString &part : {line, line.left(end), line.mid(start, end - start)}) {
            width = widthOf(part, metrics);
            if (width <= limit)
                break;
        }
        widest = std::max(widest, std::min(width, limit));
    }
    return widest;
}

// The widest line of the text, unwrapped.
int naturalWidth(const QString &text, const QFontMetrics &metrics)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, widthOf(line, metrics));
    return widest;
}

// How wide the box must be for the window frame to show its whole title.
// The frame draws it in the desktop's own font, which Qt cannot know: the
// wider of the title font the desktop gives and the text's font in bold.
// Beside the title the frame holds the window's icon and three buttons, each
// with the room around it about two lines of that font wide.
int widthForTitle(const QString &title)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics inBold(bold);
    const QFontMetrics inTitleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int text = std::max(inBold.horizontalAdvance(title), inTitleFont.horizontalAdvance(title));
    constexpr int iconAndButtons = 4;
    return text + iconAndButtons * 2 * std::max(inBold.height(), inTitleFont.height());
}

} // namespace

FittedMessageBox::FittedMessageBox(Icon icon, const QString &title, const QString &text, QWidget *parent)
    : QMessageBox(icon, title, text, QMessageBox::Ok, parent)
{
}

bool FittedMessageBox::event(QEvent *event)
{
    const bool handled = QMessageBox::event(event);
    if (event->type() == QEvent::LayoutRequest && isVisible()) {
        fitText();
        keepOnScreen();
    }
    return handled;
}

// A box that has grown where it stands (the desktop's font grew) is moved
// back within the screen.
void FittedMessageBox::keepOnScreen()
{
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (room.contains(frame))
        return;
    move(std::clamp(frame.x(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())),
         std::clamp(frame.y(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
}

void FittedMessageBox::showEvent(QShowEvent *event)
{
    // QMessageBox sizes the box as it is shown, and places it where it was
    // not placed by hand: refit it, and place it again for its new size.
    const bool placed = !event->spontaneous() && !testAttribute(Qt::WA_Moved);
    QMessageBox::showEvent(event);
    fitText();
    if (placed)
        adjustPosition(parentWidget());
}

void FittedMessageBox::fitText()
{
    auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr || screen() == nullptr || layout() == nullptr)
        return;
    // The screen's width less the window frame's sides, as the box has them
    // or, where the desktop tells them only once the box is on the screen,
    // as the window the box belongs to has them.
    const QWidget *owner = parentWidget() != nullptr ? parentWidget()->window() : this;
    const int frame = std::max({0, frameGeometry().width() - width(), owner->frameGeometry().width() - owner->width()});
    const int screenWidth = screen()->availableGeometry().width() - frame;

    // What the box holds besides its text (its icon and margins), as laid
    // out for the size QMessageBox chose.
    layout()->activate();
    const int besides = width() - label->width();
    const int limit = std::max(1, screenWidth - besides);

    const QFontMetrics metrics = label->fontMetrics();
    const QString text = label->text();
    const int reading = readingLine * metrics.averageCharWidth();
    const int wanted = std::max(widthForPaths(text, metrics, limit), std::min(naturalWidth(text, metrics), reading));
    // A pixel for the text's rounding.
    const int textWidth = std::min(wanted + 1, limit);

    // QMessageBox wraps only long texts, and breaks words anywhere where one
    // is wider than the screen: keep its wrapping where it chose one.
    if (!label->wordWrap())
        label->setWordWrap(true);
    const int boxWidth = std::min(std::max({layout()->totalMinimumSize().width(), textWidth + besides,
                                            widthForTitle(windowTitle())}),
                                  screenWidth);
    const int boxHeight = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(boxWidth)
                                                        : layout()->totalMinimumSize().height();
    setFixedSize(boxWidth, boxHeight);
    // Laid out now, as QMessageBox does it: a later change (the font) asks
    // for a layout again.
    layout()->activate();
    QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
}
