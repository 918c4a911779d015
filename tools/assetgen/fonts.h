#pragma once

#include <QFont>
#include <QString>

namespace assetgen {

// The DejaVu faces that the program already depends on, so the lettering comes out the same on
// every system that has them.
struct Fonts {
    QString sansBold;
    QString serifBold;
};

bool loadFonts(Fonts &fonts);
QFont boldFont(const QString &family, int pixelSize);

} // namespace assetgen
