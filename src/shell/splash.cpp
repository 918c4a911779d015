#include "shell/splash.h"

#include "assets/assets.h"
#include "shell/services/guard.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/windowhub.h"

#include <QAccessibleWidget>
#include <QPushButton>
#include <QTimer>

#include <utility>

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
    : OnBackdrop(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleSplash);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(u"splash"_s);
    // No title bar shows it; the task list and assistive technology do.
    setWindowTitle(u"Varnek"_s);
    fixClientSize(this, 5400, 4320);

    auto *run = makeControl<PictureButton>(this, u"Command1"_s, {4320, 2520, 975, 855});
    run->setText(u"Çalıştır"_s);
    run->setPicture(assets::Picture::RunButton);

    auto *quit = makeControl<PictureButton>(this, u"Command2"_s, {4320, 3480, 975, 375});
    quit->setText(u"Çıkış"_s);
    setTabOrder(run, quit);
    run->setFocus();

    Services &services = hub.services();
    connect(run, &QPushButton::clicked, this, guarded(services, [&hub] {
                hub.show(WindowName::MDIForm1);
                hub.hide(WindowName::splash);
            }));
    connect(quit, &QPushButton::clicked, this, guarded(services, [&services] { services.endProgram(); }));

    centreOnScreen(this);
}

} // namespace varnek
