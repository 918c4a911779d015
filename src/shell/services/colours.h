#pragma once

#include <QList>

class QWidget;

namespace varnek {

// Gives each widget, from the desktop's palette as it is now, the colours the program asked of it,
// a box an edge that stands out from what surrounds it, and a text drawn on a picture a colour that
// stands out from what lies behind it.
void colourTogether(const QList<QWidget *> &widgets);

} // namespace varnek
