// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleEvents.h"

#include <QObject>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

AccessibleEvents *recording = nullptr;

void setActive(bool active)
{
    // The headless platform has no screen reader to switch it on; Qt's own
    // tests switch it on this way.
    if (QPlatformAccessibility *accessibility = QGuiApplicationPrivate::platformIntegration()->accessibility())
        accessibility->setActive(active);
}

} // namespace

AccessibleEvents::AccessibleEvents()
{
    recording = this;
    QAccessible::installUpdateHandler(&AccessibleEvents::record);
    setActive(true);
}

AccessibleEvents::~AccessibleEvents()
{
    setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    recording = nullptr;
}

QList<AccessibleEvents::Event> AccessibleEvents::of(QAccessible::Event type, const QString &object) const
{
    QList<Event> found;
    for (const Event &event : events) {
        if (event.type == type && (object.isEmpty() || event.object == object))
            found.append(event);
    }
    return found;
}

QString AccessibleEvents::text(QObject *object, QAccessible::Text which)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(object);
    return interface != nullptr ? interface->text(which) : QString();
}

void AccessibleEvents::record(QAccessibleEvent *event)
{
    if (recording == nullptr || event->object() == nullptr)
        return;
    Event recorded{event->object()->objectName(), event->type(), event->child(), {}};
    // Only a focus event is asked for the name: others may come from a
    // control being destroyed, which must not be asked anything.
    if (event->type() == QAccessible::Focus) {
        if (QAccessibleInterface *focused = event->accessibleInterface())
            recorded.name = focused->text(QAccessible::Name);
    }
    recording->events.append(recorded);
}
