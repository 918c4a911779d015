#include "shell/services/colours.h"
#include "shell/services/fitting.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/rooms.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace varnek {

namespace {

void refitAll();

bool refitted = false;
bool anyShown = false;

// Watches one window: its first showing, and the changes of desktop that Qt tells every window.
class DesktopFollower final : public QObject {
public:
    explicit DesktopFollower(QWidget *window) : QObject(window), m_window(window) { window->installEventFilter(this); }

    QWidget *window() const { return m_window; }
    bool fitted() const { return m_fitted; }

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

QList<QPointer<DesktopFollower>> &followers()
{
    static QList<QPointer<DesktopFollower>> all;
    return all;
}

// The scale the desktop's font asks for, as far as every window still fits the screen; the windows
// laid out again where it changed.
bool followScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QFont desktop = QApplication::font();
    qreal chosen = scaleForFont(desktop, screen->logicalDotsPerInch());
    if (chosen > 1) {
        // Room for the frames, whose title bars and menu bar the desktop's font sets: a document
        // window's own and its main window's, in the screen's free area.
        const QSize frames(16, 24 + 3 * QFontMetrics(desktop).height());
        chosen = std::max(1.0, std::min(chosen, largestFittingScale(screen->availableSize() - frames)));
    }
    if (chosen == twipScale())
        return false;
    layOutAgain(chosen);
    return true;
}

void refitAll()
{
    followScale();
    followers().removeAll(nullptr);
    for (const QPointer<DesktopFollower> &follower : std::as_const(followers()))
        fitToDesktop(follower->window());
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

} // namespace

void fitToDesktop(QWidget *window)
{
    const QList<QWidget *> widgets = fittedTogether(window);
    colourTogether(widgets);
    for (QWidget *widget : widgets)
        fitControl(widget);
}

void followDesktopScale()
{
    if (!followScale())
        return;
    for (const QPointer<DesktopFollower> &follower : std::as_const(followers())) {
        if (follower && follower->fitted())
            fitToDesktop(follower->window());
    }
}

void followDesktop(QWidget *window)
{
    followers() << new DesktopFollower(window);
    // A new window may fit the screen only at a smaller scale.
    followDesktopScale();
}

} // namespace varnek
