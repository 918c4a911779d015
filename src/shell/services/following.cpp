#include "shell/services/colours.h"
#include "shell/services/fitting.h"
#include "shell/services/look.h"
#include "shell/services/rooms.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <utility>
#include <QWidget>

namespace varnek {

namespace {

// The windows that follow the desktop, and whether they were fitted afresh for the change of desktop
// Qt is telling them of now.
QList<QPointer<QWidget>> &followed()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}
bool refitted = false;
bool anyShown = false;

void refitAll()
{
    followed().removeAll(nullptr);
    for (const QPointer<QWidget> &window : std::as_const(followed()))
        fitToDesktop(window);
}

QList<QWidget *> fittedTogether(QWidget *window)
{
    QList<QWidget *> widgets{window};
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (fittingRoot(child) == window)
            widgets << child;
    }
    return widgets;
}

// Watches one window: its first showing, and the changes of desktop that Qt tells every window.
class DesktopFollower final : public QObject {
public:
    explicit DesktopFollower(QWidget *window) : QObject(window), m_window(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (!std::exchange(m_fitted, true))
                firstShown();
            break;
        case QEvent::Paint:
            if (std::exchange(m_waitingForPaint, false))
                QTimer::singleShot(0, m_window, [window = m_window] { fitToDesktop(window); });
            break;
        case QEvent::ApplicationFontChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            // Every window has these, one after the other, once the application's font and colours are
            // already the new ones: all are fitted at the first (the children of a multiple-document
            // window have none of their own), once for all that come in the same pass.
            if (!std::exchange(refitted, true)) {
                refitAll();
                QMetaObject::invokeMethod(qApp, [] { refitted = false; }, Qt::QueuedConnection);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void firstShown()
    {
        // The first window of all is fitted once it is on the screen: fitting measures fonts, which
        // loads the font database, and before the window shows that would delay it by some 7 ms.
        // The captions repaint only if one had to give way.
        if (!std::exchange(anyShown, true))
            m_waitingForPaint = true;
        else
            fitToDesktop(m_window);
    }

    QWidget *m_window;
    bool m_fitted = false;
    bool m_waitingForPaint = false;
};

} // namespace

void fitToDesktop(QWidget *window)
{
    const QList<QWidget *> widgets = fittedTogether(window);
    colourTogether(widgets);
    for (QWidget *widget : widgets)
        fitControl(widget);
}

void followDesktop(QWidget *window)
{
    new DesktopFollower(window);
    followed() << window;
}

} // namespace varnek
