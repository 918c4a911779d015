#include "shell/splash.h"

#include "assets/assets.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/windowhub.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// A plain top-level widget would be announced as a mere pane; this one is a window.
QAccessibleInterface *accessibleSplash(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(splash::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

splash::splash(WindowHub &hub)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_backdrop(assets::pixmap(assets::Picture::Backdrop))
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleSplash);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(u"splash"_s);
    // No title bar shows it; the task list and assistive technology do.
    setWindowTitle(u"Varnek"_s);
    setFixedSize(clientSize(5400, 4320));

    auto *run = makeControl<QToolButton>(this, u"Command1"_s, {4320, 2520, 975, 855});
    run->setText(u"Çalıştır"_s);
    run->setIcon(assets::icon(assets::Picture::RunButton));
    run->setIconSize({32, 32});
    run->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    run->setFocusPolicy(Qt::StrongFocus);

    auto *quit = makeControl<QPushButton>(this, u"Command2"_s, {4320, 3480, 975, 375});
    quit->setText(u"Çıkış"_s);
    setTabOrder(run, quit);
    run->setFocus();

    Services &services = hub.services();
    connect(run, &QToolButton::clicked, this, guarded(services, [&hub] {
                hub.show(WindowName::MDIForm1);
                hub.hide(WindowName::splash);
            }));
    connect(quit, &QPushButton::clicked, this, guarded(services, [&services] { services.endProgram(); }));

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void splash::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_backdrop);
}

} // namespace varnek
