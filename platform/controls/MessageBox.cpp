// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "ProgramIdentity.h"

#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>

namespace MessageBox {

namespace {

// The widest a box's text must be so that each path in it stays on one
// line: the whole line that holds the path where it fits within `limit`,
// else the line up to the path's end (the rest wraps), else the path alone;
// a path wider than `limit` is broken where it must be.
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
            width = metrics.horizontalAdvance(part);
            if (width <= limit)
                break;
        }
        widest = std::max(widest, std::min(width, limit));
    }
    return widest;
}

// The box as wide as its paths need, within the widest the message box
// allows itself on the screen (its icon and margins aside).
void keepPathsWhole(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr || box.screen() == nullptr)
        return;
    const int screenWidth = box.screen()->availableGeometry().width();
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    constexpr int iconAndMargins = 120;
    const int width = widthForPaths(label->text(), label->fontMetrics(), boxLimit - iconAndMargins);
    // A pixel for the text's rounding.
    if (width > 0)
        label->setMinimumWidth(width + 1);
}

// The icon says which kind of box it is to the eye; the description says it
// to a screen reader, which otherwise hears every box as an alert.
void show(QWidget *parent, QMessageBox::Icon icon, const QString &kind, const QString &text)
{
    QMessageBox box(icon, QString::fromUtf8(ProgramIdentity::title),
                    text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);  // names may hold "<", ">" and "&"
    box.setAccessibleDescription(kind);
    keepPathsWhole(box);
    box.exec();
}

} // namespace

void information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, QStringLiteral("Information"), text);
}

void warning(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, QStringLiteral("Warning"), text);
}

} // namespace MessageBox
