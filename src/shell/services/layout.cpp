#include "shell/services/layout.h"

#include <QScreen>

namespace varnek {

QSize clientSize(int widthTwips, int heightTwips)
{
    return {twipsToPixels(widthTwips), twipsToPixels(heightTwips)};
}

void place(QWidget *widget, const Twips &geometry)
{
    widget->setGeometry(twipsToPixels(geometry.left), twipsToPixels(geometry.top), twipsToPixels(geometry.width),
                        twipsToPixels(geometry.height));
}

Qt::WindowFlags dialogWindowFlags()
{
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void centreOnScreen(QWidget *window)
{
    // The client area is placed, not the frame: move() would put the frame's corner where the
    // client's belongs, as the frame's size is not known before the window is first shown.
    if (const QScreen *screen = window->screen())
        window->setGeometry(QRect(screen->availableGeometry().center() - window->rect().center(), window->size()));
}

} // namespace varnek
