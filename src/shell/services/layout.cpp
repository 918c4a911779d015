#include "shell/services/layout.h"

#include <QFont>
#include <QFontInfo>
#include <QHash>
#include <QMdiSubWindow>
#include <QScreen>

#include <algorithm>
#include <functional>
#include <limits>

namespace varnek {

namespace {

// The desktop's usual text sizes end here; up to it every pixel is the tables' own.
constexpr qreal largestUsualPoints = 11;
// The size the windows' captions were drawn for: a larger font scales the twips by its ratio to it.
constexpr qreal captionPoints = 8.5;
constexpr qreal baseDpi = 96;

qreal scale = 1;

struct LaidOut {
    QList<std::function<void()>> layOuts;
    // A window's client area in twips; empty for a control.
    QSize twips;
};

QHash<QWidget *, LaidOut> &laidOut()
{
    static QHash<QWidget *, LaidOut> widgets;
    return widgets;
}

void remember(QWidget *widget, std::function<void()> layOut, QSize twips = {})
{
    auto found = laidOut().find(widget);
    if (found == laidOut().end()) {
        QObject::connect(widget, &QObject::destroyed, [widget] { laidOut().remove(widget); });
        found = laidOut().insert(widget, {});
    }
    layOut();
    found->layOuts << std::move(layOut);
    if (!twips.isEmpty())
        found->twips = twips;
}

} // namespace

qreal twipScale() { return scale; }

qreal scaleForFont(const QFont &desktop, qreal logicalDpi)
{
    const qreal pixels = desktop.pixelSize() > 0 ? desktop.pixelSize()
        : (desktop.pointSizeF() > 0 ? desktop.pointSizeF() : QFontInfo(desktop).pointSizeF()) * logicalDpi / 72;
    // A hundredth of a pixel spares a size given in pixels its rounding.
    if (pixels <= largestUsualPoints * baseDpi / 72 + 0.01)
        return 1;
    return pixels / (captionPoints * baseDpi / 72);
}

qreal largestFittingScale(QSize room)
{
    qreal largest = std::numeric_limits<qreal>::max();
    for (const LaidOut &window : std::as_const(laidOut())) {
        if (window.twips.isEmpty())
            continue;
        largest = std::min({largest, room.width() * 15.0 / window.twips.width(), room.height() * 15.0 / window.twips.height()});
    }
    return largest;
}

void layOutAgain(qreal newScale)
{
    scale = newScale;
    QList<QWidget *> windows;
    for (auto it = laidOut().cbegin(); it != laidOut().cend(); ++it) {
        for (const auto &layOut : it->layOuts)
            layOut();
        if (!it->twips.isEmpty())
            windows << it.key();
    }
    // A document window's frame does not follow its client area by itself.
    for (QWidget *window : std::as_const(windows)) {
        auto *child = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        if (child && !(child->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            child->resize(child->sizeHint());
    }
}

int twipsToPixels(int twips) { return scale == 1 ? (twips + 7) / 15 : qRound(twips * scale / 15); }

QSize clientSize(int widthTwips, int heightTwips)
{
    return {twipsToPixels(widthTwips), twipsToPixels(heightTwips)};
}

void fixClientSize(QWidget *window, int widthTwips, int heightTwips)
{
    remember(window, [=] { window->setFixedSize(clientSize(widthTwips, heightTwips)); }, QSize(widthTwips, heightTwips));
}

void place(QWidget *widget, const Twips &geometry)
{
    remember(widget, [=] {
        const int left = twipsToPixels(geometry.left), top = twipsToPixels(geometry.top);
        // Scaled, the edges are rounded rather than the sizes, so that controls that meet in the
        // tables still meet, neither overlapping nor apart by a pixel.
        if (scale == 1)
            widget->setGeometry(left, top, twipsToPixels(geometry.width), twipsToPixels(geometry.height));
        else
            widget->setGeometry(left, top, twipsToPixels(geometry.left + geometry.width) - left,
                                twipsToPixels(geometry.top + geometry.height) - top);
    });
}

void keepLaidOut(QWidget *widget, std::function<void()> layOut) { remember(widget, std::move(layOut)); }

Qt::WindowFlags dialogWindowFlags()
{
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void centreOnScreen(QWidget *window)
{
    // Until it is first shown the window is centred again at each new scale: fitting it, or a window
    // built after it, to the screen may lower the scale. A maximised one keeps its normal place.
    keepLaidOut(window, [window] {
        if (window->testAttribute(Qt::WA_WState_ExplicitShowHide)
            || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        // The client area is placed, not the frame: move() would put the frame's corner where the
        // client's belongs, as the frame's size is not known before the window is first shown.
        if (const QScreen *screen = window->screen())
            window->setGeometry(QRect(screen->availableGeometry().center() - window->rect().center(), window->size()));
    });
}

} // namespace varnek
