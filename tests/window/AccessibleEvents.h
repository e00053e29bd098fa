// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QObject;

// What the program tells a screen reader: switches Qt's accessibility on, as
// a screen reader does, and records every accessibility event from then on
// until it ends.
class AccessibleEvents
{
public:
    struct Event
    {
        QString object;  // the object name of the control
        QAccessible::Event type = QAccessible::InvalidEvent;
        int child = -1;  // -1: the control itself
        QString name;    // of a focus event: the name a screen reader reads for what has the focus
    };

    AccessibleEvents();
    ~AccessibleEvents();
    AccessibleEvents(const AccessibleEvents &) = delete;
    AccessibleEvents &operator=(const AccessibleEvents &) = delete;

    QList<Event> events;

    // The events of one type, for one control or for all.
    QList<Event> of(QAccessible::Event type, const QString &object = {}) const;

    // What a screen reader reads for `object`.
    static QString text(QObject *object, QAccessible::Text which);

private:
    static void record(QAccessibleEvent *event);
};
