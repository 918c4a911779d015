#pragma once

#include <QAccessible>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTest>

// Records what the program reports to assistive technology, as a platform bridge receives it: each
// event with its object's name and description at that moment. One at a time; while it lives, the
// events go to it and nowhere else.
class AccessibilityEvents {
public:
    struct Event {
        QAccessible::Event type;
        QPointer<QObject> object;
        QString name;
        QString description;
    };

    AccessibilityEvents()
    {
        recorded().clear();
        QAccessible::installUpdateHandler(&record);
        // Qt's bridge on X turns on once it has reached the accessibility bus, a moment after the start.
        if (required())
            (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
    }
    ~AccessibilityEvents()
    {
        QAccessible::installUpdateHandler(nullptr);
        recorded().clear();
    }
    AccessibilityEvents(const AccessibilityEvents &) = delete;
    AccessibilityEvents &operator=(const AccessibilityEvents &) = delete;

    // Whether events reach it: only where the platform has an accessibility bridge (on X, with
    // QT_LINUX_ACCESSIBILITY_ALWAYS_ON or a screen reader), not offscreen. Where
    // VARNEK_ACCESSIBILITY_EVENTS is set, tests must have them.
    static bool listening() { return QAccessible::isActive(); }
    static bool required() { return qEnvironmentVariableIsSet("VARNEK_ACCESSIBILITY_EVENTS"); }
    const QList<Event> &events() const { return recorded(); }
    void clear() { recorded().clear(); }

    // The events of one type, in order.
    QList<const Event *> ofType(QAccessible::Event type) const
    {
        QList<const Event *> found;
        for (const Event &event : recorded())
            if (event.type == type)
                found.append(&event);
        return found;
    }

private:
    static QList<Event> &recorded()
    {
        static QList<Event> events;
        return events;
    }

    static void record(QAccessibleEvent *event)
    {
        QAccessibleInterface *item = event->accessibleInterface();
        recorded().append({event->type(), event->object(), item ? item->text(QAccessible::Name) : QString(),
                           item ? item->text(QAccessible::Description) : QString()});
    }
};
