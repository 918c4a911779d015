#include "shell/mdiform1.h"

#include "assets/assets.h"
#include "convert/conversionwindow.h"
#include "shell/services/documentwindows.h"
#include "shell/services/layout.h"
#include "shell/services/services.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <ranges>

using namespace Qt::StringLiterals;

namespace varnek {

MDIForm1::MDIForm1(WindowHub &hub)
    : m_hub(hub), m_area(new QMdiArea), m_documents(new DocumentWindows(this, m_area))
{
    setObjectName(u"MDIForm1"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(programTitle.toString());
    setWindowIcon(assets::icon(assets::Picture::MainIcon));
    m_area->setObjectName(u"workspace"_s);
    m_area->setBackground(Qt::black);
    setCentralWidget(m_area);
    menuBar()->setObjectName(u"menuBar"_s);
    menuBar()->hide();
    connect(m_area, &QMdiArea::subWindowActivated, this, &MDIForm1::showMenusOf);

    // Only the normal size follows the scale: a maximised window stays as it is, and takes it when
    // restored.
    keepLaidOut(this, [this] {
        m_normalSizeDue = isMaximized() || isFullScreen();
        if (!m_normalSizeDue)
            resize(clientSize(5970, 6015));
    });
    centreOnScreen(this);
    setWindowState(Qt::WindowMaximized);
}

MDIForm1::~MDIForm1()
{
    // The area and the children outlive this object's own part; they must not call back into it.
    m_area->disconnect(this);
    // subWindowList() leaves out hidden children, so ask the object tree.
    for (QMdiSubWindow *child : m_area->findChildren<QMdiSubWindow *>())
        child->disconnect(this);
}

void MDIForm1::load()
{
    m_hub.show(WindowName::adovizdentlye);
    m_hub.show(WindowName::atldendovize);
}

void MDIForm1::addChild(QMdiSubWindow *child)
{
    m_area->addSubWindow(child);
    child->setWindowState(Qt::WindowMinimized);
    m_documents->adopt(child);
    connect(child, &QObject::destroyed, this, &MDIForm1::childGone);
}

void MDIForm1::showMenusOf(QMdiSubWindow *active)
{
    // Deactivating the frame reports no active child; the menus of the last one stay.
    if (!active || active == m_menuOwner)
        return;
    auto *window = qobject_cast<ConversionWindow *>(active);
    if (!window)
        return;
    m_menuOwner = active;
    QMenuBar *bar = menuBar();
    bar->clear();
    for (QMenu *menu : window->menus())
        bar->addMenu(menu);
    bar->show();
}

void MDIForm1::childGone(QObject *child)
{
    if (child != m_menuOwner)
        return;
    m_menuOwner = nullptr;
    menuBar()->clear();
    // The area may not have forgotten the dying child yet, so pick a survivor by hand.
    for (QMdiSubWindow *other : m_area->subWindowList(QMdiArea::ActivationHistoryOrder) | std::views::reverse) {
        if (other != child) {
            showMenusOf(other);
            return;
        }
    }
    menuBar()->hide();
}

void MDIForm1::showChild(QMdiSubWindow *child)
{
    if (!isVisible())
        show();
    child->show();
    m_area->setActiveSubWindow(child);
}

void MDIForm1::arrange(Arrangement arrangement)
{
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *child : m_area->subWindowList(QMdiArea::StackingOrder))
        if (child->isVisible() && !child->isMinimized())
            open.append(child);
    const QRect area = m_area->viewport()->rect();
    for (qsizetype i = 0; i < open.size(); ++i) {
        QMdiSubWindow *child = open[i];
        // The frame around the client: title bar and borders.
        const QSize frame = child->size() - child->widget()->size();
        if (arrangement == Arrangement::Cascade) {
            const int step = frame.height() - frame.width() / 2;
            child->move(int(i) * step, int(i) * step);
        } else {
            const int left = int(area.width() * i / open.size());
            const int right = int(area.width() * (i + 1) / open.size());
            // The user cannot resize a conversion window; arranging may.
            child->widget()->setFixedSize(QSize(right - left, area.height()) - frame);
            child->setGeometry(left, 0, right - left, area.height());
        }
        child->raise();
    }
}

void MDIForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Qt or the window manager puts the old normal size back first.
    if (event->type() == QEvent::WindowStateChange && m_normalSizeDue && !isMaximized() && !isFullScreen()) {
        m_normalSizeDue = false;
        QTimer::singleShot(0, this, [this] { resize(clientSize(5970, 6015)); });
    }
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    m_area->closeAllSubWindows();
    m_hub.show(WindowName::uyari);
    event->accept();
}

} // namespace varnek
