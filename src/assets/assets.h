#pragma once

#include "assets/pictures.h"

#include <QIcon>
#include <QPixmap>

namespace varnek::assets {

// The pictures of pictures.h, embedded as resources. Nothing is decoded until asked for.
// The largest image of the picture (the backdrop at 360 x 288). On a screen of twice the density
// or more, its double-size copy with a device pixel ratio of 2, so it draws at the same logical
// size. Needs a QGuiApplication.
QPixmap pixmap(Picture picture);
// The picture drawn `scale` times larger, from the double-size copy where there is one, so that it
// stays sharp; the last one asked for of each picture is kept.
QPixmap pixmap(Picture picture, qreal scale);
// Every size the picture comes in, so the platform can pick the one it draws best (on a dense
// screen the double-size copies too).
QIcon icon(Picture picture);

} // namespace varnek::assets
