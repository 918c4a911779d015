#include "shell/services/wishes.h"

#include "shell/services/fitting.h"
#include "shell/services/layout.h"
#include "shell/services/look.h"

#include <QHash>
#include <QObject>
#include <QWidget>

#include <cmath>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

QHash<const QWidget *, Wishes> &table()
{
    static QHash<const QWidget *, Wishes> wishes;
    return wishes;
}

} // namespace

Wishes wishesOf(const QWidget *control) { return table().value(control); }

Wishes &wishesFor(QWidget *control)
{
    auto found = table().find(control);
    if (found == table().end()) {
        QObject::connect(control, &QObject::destroyed, [control] { table().remove(control); });
        found = table().insert(control, {});
    }
    return *found;
}

QFont fixedsysFont()
{
    QFont font(u"Fixedsys"_s, 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void setFixedFont(QWidget *control, const QFont &font)
{
    wishesFor(control).fixedFont = font;
    control->setFont(atTwipScale(font));
}

QFont atTwipScale(const QFont &font)
{
    if (twipScale() == 1 || font.pointSizeF() <= 0)
        return font;
    // On the fitting's grid of sizes, so that fitting tries it first and then every step below.
    QFont scaled = font;
    scaled.setPointSizeF(std::floor(font.pointSizeF() * twipScale() / fitLimits::sizeStep) * fitLimits::sizeStep);
    return scaled;
}

void standOutFromWhatIsBehind(QWidget *widget, qreal least) { wishesFor(widget).leastContrast = least; }

} // namespace varnek
