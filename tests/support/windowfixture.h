#pragma once

#include "shell/registry.h"
#include "support/scriptedservices.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <source_location>
#include <type_traits>

// What every window test starts from: the scripted services and the registry of the program's
// windows, made together and torn down registry first, plus the ways the tests reach a control.
// The first one loads the program's catalogues, as main() does.
// A test holds one in a std::optional, made in init() and reset in cleanup().
class WindowFixture {
public:
    using Where = std::source_location;

    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture &) = delete;
    WindowFixture &operator=(const WindowFixture &) = delete;

    ScriptedServices services;
    varnek::Registry registry;

    // The control of that designer name and type in a window that is open now. Anything else (no
    // such window or control, or a control of another type) fails the running test at the caller's
    // line and hands back a stand-in that belongs to no window, so the test goes on without a crash.
    template <typename T>
    T *control(varnek::WindowName window, const QString &name, Where where = Where::current())
    {
        return orStandIn<T>(find(window, name, T::staticMetaObject, where));
    }
    template <typename T>
    T *control(QWidget *window, const QString &name, Where where = Where::current())
    {
        return orStandIn<T>(find(window, name, T::staticMetaObject, where));
    }

    // The whole text of a single- or multi-line box in an open window. Writing it is no typing:
    // what the window does on a keystroke does not run.
    QString boxText(varnek::WindowName window, const QString &box, Where where = Where::current());
    void setBoxText(varnek::WindowName window, const QString &box, const QString &text,
                    Where where = Where::current());

    // Types text into the widget as keystrokes, Turkish letters included, and stops once a key has
    // hidden it.
    static void type(QWidget *target, const QString &text, Where where = Where::current());
    // Lets closed windows go, as the event loop would.
    static void deleteClosed();
    // Fails unless the window's frame is centred, within a pixel, on its screen's free area.
    static void verifyCentred(const QWidget *window, Where where = Where::current());

private:
    QObject *find(varnek::WindowName window, const QString &name, const QMetaObject &type, Where where);
    QObject *find(QWidget *window, const QString &name, const QMetaObject &type, Where where);
    QWidget *box(varnek::WindowName window, const QString &name, Where where);

    template <typename T>
    T *orStandIn(QObject *found)
    {
        if (auto *typed = qobject_cast<T *>(found))
            return typed;
        // A button is pressed the same whatever kind it is.
        using Made = std::conditional_t<std::is_same_v<T, QAbstractButton>, QPushButton, T>;
        static_assert(!std::is_abstract_v<Made>, "ask for a concrete control type");
        if (!m_standIns) // only now: it would count among the application's windows
            m_standIns = std::make_unique<QWidget>();
        return new Made(m_standIns.get());
    }

    std::unique_ptr<QWidget> m_standIns;
};
