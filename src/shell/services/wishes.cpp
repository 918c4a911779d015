#include "shell/services/wishes.h"

#include "shell/services/look.h"

#include <QHash>
#include <QObject>
#include <QWidget>

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
    control->setFont(font);
}

void standOutFromWhatIsBehind(QWidget *widget, qreal least) { wishesFor(widget).leastContrast = least; }

} // namespace varnek
