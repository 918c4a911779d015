#include "shell/services/look.h"

#include "shell/services/contrast.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace varnek {

QFont fixedsysFont()
{
    QFont font(u"Fixedsys"_s, 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void setColours(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    const bool isBox = qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractScrollArea *>(widget);
    if (isBox) {
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::Base, background);
        // The style draws a box's frame from its Window colour: the black window's would draw none, and
        // a dark desktop's hardly any.
        palette.setColor(QPalette::Window, frameSourceOn(QApplication::palette().color(QPalette::Window), background));
    } else {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

TextRoom TextRoom::line(int width)
{
    return {QRect(0, 0, width, QWIDGETSIZE_MAX), int(Qt::AlignLeft | Qt::AlignTop)};
}

TextRoom TextRoom::of(const QLabel *label)
{
    return {label->contentsRect(), int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0)};
}

QFont fittedFont(QFont font, const QString &text, const TextRoom &room, Shrink how)
{
    // Measured exactly: a text a fraction of a pixel too wide loses the edge of its last letter.
    const auto fits = [&] {
        const QSizeF needed = QFontMetricsF(font).boundingRect(QRectF(room.box), room.flags, text).size();
        return needed.width() <= room.box.width() && needed.height() <= room.box.height();
    };
    struct Steps {
        qreal first, step, floor; // every value tried stays above the floor
    };
    const Steps steps = how == Shrink::Narrower ? Steps{100, 4, 50} : Steps{QFontInfo(font).pointSizeF(), 0.5, 5};
    for (qreal value = steps.first; !fits() && value - steps.step > steps.floor;) {
        value -= steps.step;
        if (how == Shrink::Narrower)
            font.setStretch(int(value));
        else
            font.setPointSizeF(value);
    }
    return font;
}

void fitTextToWidth(QLabel *label)
{
    label->setFont(fittedFont(label->font(), label->text(), TextRoom::line(label->width()), Shrink::Narrower));
}

void shrinkToFit(QLabel *label)
{
    label->setFont(fittedFont(label->font(), label->text(), TextRoom::of(label), Shrink::Smaller));
}

} // namespace varnek
