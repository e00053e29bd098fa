// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QTimer>

#include <functional>

// Answers the modal message boxes that the code under test opens: records
// what each showed, lets the test look at the moment it was up, and presses OK
// with the mouse or, as a keyboard user does, with Enter.
class ModalBoxCloser : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttonCount = 0;
        Qt::TextFormat textFormat = Qt::AutoText;
        QString description;  // what a screen reader tells of the box besides its text
    };

    enum class Press { Mouse, Keyboard };

    explicit ModalBoxCloser(std::function<void()> whileShown = {}, Press press = Press::Mouse);

    QList<Box> boxes;

    // The boxes but those that tell of a folder or drive that does not
    // answer: on a loaded machine (Wine's first look at a drive root) a
    // folder may take longer than the folder reader's deadline to come.
    QList<Box> answered() const;

private:
    void poll();

    QTimer m_timer;
    std::function<void()> m_whileShown;
    Press m_press;
};
