#include "shell/registry.h"

#include "about/frmabout.h"
#include "calculator/hesapmakinesi.h"
#include "convert/conversionwindow.h"
#include "rates/form2.h"
#include "shell/mdiform1.h"
#include "shell/services/accessibility.h"
#include "shell/services/look.h"
#include "shell/splash.h"
#include "shell/uyari.h"

#include <QMdiSubWindow>

#include <stdexcept>

namespace varnek {

namespace {

std::size_t slot(WindowName name) { return static_cast<std::size_t>(name); }

} // namespace

Registry::Registry(Services &services) : m_services(services) { installBoxAccessibility(); }

Registry::~Registry()
{
    // Deleting sends no close event, so no closing step runs on the way out.
    for (auto &window : m_windows)
        delete window.data();
}

bool Registry::isChild(WindowName name)
{
    return name == WindowName::atldendovize || name == WindowName::adovizdentlye;
}

QWidget *Registry::existing(WindowName name) const { return m_windows[slot(name)].data(); }

QWidget *Registry::window(WindowName name)
{
    if (QWidget *w = existing(name))
        return w;
    return create(name);
}

MDIForm1 *Registry::mainWindow() { return static_cast<MDIForm1 *>(window(WindowName::MDIForm1)); }

QWidget *Registry::create(WindowName name)
{
    // The main window's normal size, for one, decides where its document windows are placed.
    followDesktopScale();
    QWidget *created = nullptr;
    switch (name) {
    case WindowName::splash: created = new splash(*this); break;
    case WindowName::MDIForm1: {
        auto *main = new MDIForm1(*this);
        m_windows[slot(name)] = main;
        followDesktop(main);
        main->load();
        return main;
    }
    case WindowName::atldendovize:
    case WindowName::adovizdentlye: {
        MDIForm1 *main = mainWindow();
        // Creating the main window runs its load step, which may have created this child already.
        if (QWidget *loaded = existing(name))
            return loaded;
        QMdiSubWindow *child = name == WindowName::atldendovize ? static_cast<QMdiSubWindow *>(new atldendovize(*this))
                                                                : new adovizdentlye(*this);
        m_windows[slot(name)] = child;
        followDesktop(child);
        main->addChild(child);
        return child;
    }
    case WindowName::uyari: created = new uyari(*this); break;
    case WindowName::hesapmakinesi: created = new hesapmakinesi(*this); break;
    case WindowName::frmAbout: created = new frmAbout; break;
    case WindowName::Form2: created = new Form2(*this); break;
    }
    m_windows[slot(name)] = created;
    followDesktop(created);
    return created;
}

void Registry::show(WindowName name)
{
    QWidget *w = window(name);
    if (!w)
        return;
    if (isChild(name)) {
        mainWindow()->showChild(static_cast<QMdiSubWindow *>(w));
        return;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void Registry::hide(WindowName name)
{
    if (QWidget *w = existing(name))
        w->hide();
}

void Registry::load(WindowName name) { window(name); }

void Registry::unload(WindowName name)
{
    if (QWidget *w = existing(name))
        w->close();
}

ConversionWindow *Registry::child(WindowName name)
{
    if (!isChild(name))
        throw std::invalid_argument("not a conversion window");
    return static_cast<ConversionWindow *>(window(name));
}

void Registry::setChildState(WindowName name, Qt::WindowStates state)
{
    ConversionWindow *w = child(name);
    // Qt counts being active as part of the state. Setting a normal window to normal anyway puts
    // it back where it stood before it was last minimised, undoing a tile or cascade since.
    constexpr Qt::WindowStates placement = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if ((w->windowState() & placement) != (state & placement))
        w->setWindowState(state);
    mainWindow()->showChild(w);
}

void Registry::setRate(WindowName name, Currency currency, const QString &text)
{
    child(name)->setRate(currency, text);
}

void Registry::arrange(Arrangement arrangement)
{
    if (auto *main = static_cast<MDIForm1 *>(existing(WindowName::MDIForm1)))
        main->arrange(arrangement);
}

} // namespace varnek
