// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

#include "FontSubstitutes.h"

#include <algorithm>

Label::Label(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::setPromptFor(QWidget *control)
{
    m_promptFor = control;
    describe(control);
}

void Label::setVisible(bool visible)
{
    const bool change = visible == isHidden();
    QLabel::setVisible(visible);
    if (change && m_promptFor != nullptr)
        describe(m_promptFor);
}

void Label::describe(QWidget *control)
{
    QList<const Label *> prompts;
    for (const Label *label : control->parentWidget()->findChildren<Label *>(Qt::FindDirectChildrenOnly)) {
        if (label->m_promptFor == control && !label->isHidden())
            prompts.append(label);
    }
    std::ranges::sort(prompts, [](const Label *a, const Label *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    // Each prompt read as a sentence or a part of one.
    QStringList parts;
    for (const Label *prompt : prompts) {
        QString text = prompt->text().trimmed();
        if (!text.isEmpty() && !QStringLiteral(".,;:!?").contains(text.back()))
            text += QLatin1Char('.');
        parts.append(text);
    }
    const QString description = parts.join(QLatin1Char(' '));
    // Every call tells a screen reader of a change, also of none.
    if (description != control->accessibleDescription())
        control->setAccessibleDescription(description);
}

void Label::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        setContentsMargins(0, FontSubstitutes::textDrop(font()), 0, 0);
    QLabel::changeEvent(event);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
