#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace varnek {

// The keys and the screen-reader side of a multiple-document area's windows, as Windows gives them to
// document windows. While the keyboard is in the frame: Ctrl+F6 and Ctrl+Shift+F6 go to the next and
// the previous document window, Ctrl+F4 closes the active one as its title bar's close button does,
// Alt+- opens its window menu, and Ctrl+F5, or Enter on a minimised one, restores it. A document window
// that becomes active (or is restored) is reported to assistive technology, by its title, before the
// control inside it that gets the keyboard, which is the one that had it when the user left the window,
// or else its first in the tab order. A minimised one says so in its description: Qt exposes no
// minimised state.
class DocumentWindows final : public QObject {
public:
    // `frame` is the top-level window that holds `area`; the keys work only while it has the keyboard.
    DocumentWindows(QWidget *frame, QMdiArea *area);

    // Each document window, once it is in the area.
    void adopt(QMdiSubWindow *window);

    static QString minimisedDescription();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addKey(QWidget *frame, const QKeySequence &keys, void (DocumentWindows::*command)());
    void next();
    void previous();
    void closeActive();
    void showWindowMenu();
    void restoreActive();
    void restore(QMdiSubWindow *window);
    void aboutToActivate(QMdiSubWindow *window);
    void stateChanged(QMdiSubWindow *window);
    void describe(QMdiSubWindow *window);
    void focusMoved(QWidget *now);
    // The control inside that had the keyboard last, or the first that takes it.
    QWidget *lastFocus(QMdiSubWindow *window) const;
    // Reports the window, then gives the keyboard to its control.
    void enter(QMdiSubWindow *window);

    QMdiArea *m_area;
    QHash<QMdiSubWindow *, QPointer<QWidget>> m_lastFocus;
};

} // namespace varnek
