#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace assetgen {

bool loadFonts(Fonts &fonts)
{
    const QStringList dirs = {u"/usr/share/fonts/truetype/dejavu"_s, u"/usr/share/fonts/dejavu"_s,
                              u"/usr/local/share/fonts/dejavu"_s};
    auto load = [&dirs](const QString &file) -> QString {
        for (const QString &dir : dirs) {
            const int id = QFontDatabase::addApplicationFont(dir + u'/' + file);
            if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty())
                return QFontDatabase::applicationFontFamilies(id).constFirst();
        }
        std::fprintf(stderr, "font %s not found (install fonts-dejavu-core)\n", qPrintable(file));
        return {};
    };
    fonts.sansBold = load(u"DejaVuSans-Bold.ttf"_s);
    fonts.serifBold = load(u"DejaVuSerif-Bold.ttf"_s);
    return !fonts.sansBold.isEmpty() && !fonts.serifBold.isEmpty();
}

QFont boldFont(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace assetgen
