#include "shell/services/documentwindows.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

void report(QWidget *widget, QAccessible::Event type)
{
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}

bool isEnter(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

DocumentWindows::DocumentWindows(QWidget *frame, QMdiArea *area) : QObject(frame), m_area(area)
{
    // The frame's own shortcuts: with the keyboard in another top-level window (a dialog, the
    // calculator) they do nothing, and none of them acts on the frame itself.
    addKey(frame, QKeySequence(Qt::CTRL | Qt::Key_F6), &DocumentWindows::next);
    addKey(frame, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), &DocumentWindows::previous);
    addKey(frame, QKeySequence(Qt::CTRL | Qt::Key_F4), &DocumentWindows::closeActive);
    addKey(frame, QKeySequence(Qt::ALT | Qt::Key_Minus), &DocumentWindows::showWindowMenu);
    addKey(frame, QKeySequence(Qt::CTRL | Qt::Key_F5), &DocumentWindows::restoreActive);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusMoved(now); });
}

QString DocumentWindows::minimisedDescription() { return u"Simge durumunda"_s; }

void DocumentWindows::addKey(QWidget *frame, const QKeySequence &keys, void (DocumentWindows::*command)())
{
    auto *shortcut = new QShortcut(keys, frame);
    connect(shortcut, &QShortcut::activated, this, command);
}

void DocumentWindows::adopt(QMdiSubWindow *window)
{
    // Qt gives each window's Close item the platform's keys for closing, Ctrl+F4 among them on some:
    // beside the frame's own Ctrl+F4 that would be ambiguous, and do nothing. The item still shows it.
    if (QMenu *menu = window->systemMenu()) {
        const QKeySequence closing(Qt::CTRL | Qt::Key_F4);
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->shortcuts().contains(closing)) {
                action->setShortcuts({});
                action->setText(action->text() + u'\t' + closing.toString(QKeySequence::NativeText));
            }
        }
    }

    m_lastFocus.insert(window, nullptr);
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this, window] { m_lastFocus.remove(window); });
    connect(window, &QMdiSubWindow::aboutToActivate, this, [this, window] { aboutToActivate(window); });
    connect(window, &QMdiSubWindow::windowStateChanged, this,
            [this, window](Qt::WindowStates before, Qt::WindowStates now) {
                if ((before ^ now) & Qt::WindowMinimized)
                    stateChanged(window);
            });
    stateChanged(window);
}

void DocumentWindows::next() { m_area->activateNextSubWindow(); }

void DocumentWindows::previous() { m_area->activatePreviousSubWindow(); }

void DocumentWindows::closeActive()
{
    // What the title bar's close button does.
    if (QMdiSubWindow *window = m_area->currentSubWindow())
        window->close();
}

void DocumentWindows::showWindowMenu()
{
    QMdiSubWindow *window = m_area->currentSubWindow();
    if (!window)
        return;
    window->showSystemMenu();
    // Opened from the keyboard, a menu starts on its first item, which a screen reader then reads.
    if (QMenu *menu = window->systemMenu()) {
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
                menu->setActiveAction(action);
                break;
            }
        }
    }
}

void DocumentWindows::restoreActive()
{
    if (QMdiSubWindow *window = m_area->currentSubWindow())
        restore(window);
}

void DocumentWindows::restore(QMdiSubWindow *window)
{
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        window->showNormal();
}

bool DocumentWindows::eventFilter(QObject *watched, QEvent *event)
{
    // Minimised, a document window has the keyboard on its title bar alone; Enter opens it, as a
    // desktop icon would.
    if (event->type() == QEvent::KeyPress) {
        auto *window = static_cast<QMdiSubWindow *>(watched);
        if (window->isMinimized() && isEnter(static_cast<QKeyEvent *>(event))) {
            restore(window);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DocumentWindows::aboutToActivate(QMdiSubWindow *window)
{
    // Before Qt gives the keyboard to a control of the window's own choosing; not while another
    // top-level window has the keyboard (a rate pasted in from Elle Ayarla).
    if (window->window()->isActiveWindow())
        enter(window);
}

void DocumentWindows::describe(QMdiSubWindow *window)
{
    // Qt reports every change itself, even to the same text.
    const QString description = window->isMinimized() ? minimisedDescription() : QString();
    if (window->accessibleDescription() != description)
        window->setAccessibleDescription(description);
}

void DocumentWindows::stateChanged(QMdiSubWindow *window)
{
    describe(window);
    // Restored while its title bar had the keyboard: it goes to the control inside.
    if (!window->isMinimized() && window->hasFocus())
        enter(window);
}

void DocumentWindows::focusMoved(QWidget *now)
{
    for (QWidget *parent = now ? now->parentWidget() : nullptr; parent; parent = parent->parentWidget()) {
        if (auto *window = qobject_cast<QMdiSubWindow *>(parent)) {
            if (m_lastFocus.contains(window))
                m_lastFocus[window] = now;
            return;
        }
    }
}

QWidget *DocumentWindows::lastFocus(QMdiSubWindow *window) const
{
    QWidget *client = window->widget();
    if (!client)
        return nullptr;
    if (QWidget *remembered = m_lastFocus.value(window); remembered && remembered->isEnabled())
        return remembered;
    if (QWidget *own = client->focusWidget())
        return own;
    for (QWidget *next = client->nextInFocusChain(); next && next != client; next = next->nextInFocusChain()) {
        if (client->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled()
            && next->isVisibleTo(client))
            return next;
    }
    return nullptr;
}

void DocumentWindows::enter(QMdiSubWindow *window)
{
    // Restored on the way (a direction command), it is reported as it is now.
    describe(window);
    report(window, QAccessible::Focus);
    if (window->isMinimized())
        return;
    // Clicked into, the window keeps the control that took the click.
    QWidget *focus = QApplication::focusWidget();
    QWidget *control = focus && window->isAncestorOf(focus) && focus != window ? focus : lastFocus(window);
    if (!control)
        return;
    if (control->hasFocus())
        report(control, QAccessible::Focus);
    else
        control->setFocus(Qt::OtherFocusReason);
}

} // namespace varnek
