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
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace varnek
