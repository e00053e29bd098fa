// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QTextLayout>

// Whether the label shows `part` of its text on one line: its text laid out
// as the label lays it out, in its font, within its contents' width, broken
// at word boundaries where the label wraps.
inline bool onOneLine(const QLabel *label, const QString &part)
{
    QString text = label->text();
    const qsizetype from = text.indexOf(part);
    QTextLayout layout(text.replace('\n', QChar::LineSeparator), label->font());
    QTextOption wrapping;
    wrapping.setWrapMode(label->wordWrap() ? QTextOption::WordWrap : QTextOption::ManualWrap);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(label->contentsRect().width());
    layout.endLayout();
    return from >= 0 && layout.lineForTextPosition(int(from)).lineNumber()
                            == layout.lineForTextPosition(int(from + part.size() - 1)).lineNumber();
}
