#include "shell/services/fitting.h"

#include "shell/services/layout.h"
#include "shell/services/look.h"
#include "shell/services/rooms.h"
#include "shell/services/widgets.h"
#include "shell/services/wishes.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <cmath>

namespace varnek {

using namespace fitLimits;

namespace {

bool textFits(const QFont &font, const QString &text, const TextRoom &room)
{
    // Measured exactly: a text a fraction of a pixel too wide loses the edge of its last letter.
    const QFontMetricsF metrics(font);
    const QRectF needed = metrics.boundingRect(QRectF(room.box), room.flags, text);
    if (needed.width() > room.box.width() || needed.height() > room.box.height())
        return false;
    if (room.framed) {
        // Glyphs stand on whole pixels: the first line's baseline and the last's, rounded.
        const QRect ink = metrics.tightBoundingRect(text).toAlignedRect();
        const int top = qRound(needed.top() + metrics.ascent()) + ink.top();
        const int bottom = qRound(needed.bottom() - metrics.descent()) + ink.top() + ink.height();
        if (top < room.box.top() || bottom > room.box.top() + room.box.height())
            return false;
    }
    // Where the control lays the text out, which a neighbour's cover does not move.
    return room.clear.isNull() || QRectF(room.clear).contains(needed);
}

// The first font in fittingOrder() the caption fits with; the last one when none does.
QFont fittedFont(const QFont &start, const QString &text, const TextRoom &room)
{
    const QList<QFont> order = fittingOrder(start);
    for (qsizetype i = 0; i < order.size(); ++i) {
        // Where the narrowest of a size does not fit, its wider ones do not either: a line too tall, a
        // word too wide.
        qsizetype narrowest = i;
        while (narrowest + 1 < order.size() && order[narrowest + 1].pointSizeF() == order[i].pointSizeF()
               && order[narrowest + 1].stretch() < order[narrowest].stretch())
            ++narrowest;
        if (narrowest != i && !textFits(order[narrowest], text, room)) {
            i = narrowest;
            continue;
        }
        if (textFits(order[i], text, room))
            return order[i];
    }
    // Even the floors are too big: the caption stays there, legible, rather than shrink to nothing.
    return order.back();
}

// A one-line box's font: the starting one while its line fits the text area, else a step smaller at
// a time, down to the floor.
QFont fittedBoxFont(const QFont &start, const TextRoom &room)
{
    QFont font = start;
    for (const QFont &tried : fittingOrder(start)) {
        if (tried.stretch() != fullStretch && tried.stretch() != start.stretch())
            continue;
        font = tried;
        if (QFontMetrics(font).height() <= room.box.height())
            break;
    }
    return font;
}

// A frame's title is laid out by the style, which is asked where it puts it in each font tried.
QFont fittedTitleFont(const TitledFrame *frame, const QFont &start, const TextRoom &room, bool &fits)
{
    const QRect clear = room.clear.isNull() ? room.box : room.clear;
    const QList<QFont> order = fittingOrder(start);
    for (const QFont &font : order) {
        if (clear.contains(frame->titleIn(font))) {
            fits = true;
            return font;
        }
    }
    fits = false;
    return order.back();
}

void tellWholeWhenCut(QWidget *control, const QString &whole, bool fits)
{
    const bool told = wishesOf(control).toldWhole;
    if (!fits) {
        if (control->toolTip().isEmpty() || told)
            control->setToolTip(whole);
        if (control->accessibleDescription().isEmpty() || told)
            control->setAccessibleDescription(whole);
        wishesFor(control).toldWhole = true;
    } else if (told) {
        // Fits again since the desktop changed: what the program told is taken back.
        if (control->toolTip() == whole)
            control->setToolTip({});
        if (control->accessibleDescription() == whole)
            control->setAccessibleDescription({});
        wishesFor(control).toldWhole = false;
    }
}

} // namespace

QList<QFont> fittingOrder(const QFont &start)
{
    QList<QFont> order{start};
    // As asked for: the size matched to whole pixels would move the half points off their grid.
    const qreal startSize = start.pointSizeF() > 0 ? start.pointSizeF() : QFontInfo(start).pointSizeF();
    // Without a usable font there is nothing to measure, nor a smaller size to give.
    if (startSize <= 0)
        return order;
    const auto add = [&](qreal size, int narrowest) {
        for (int stretch = fullStretch; stretch >= narrowest; stretch -= stretchStep) {
            if (size == startSize && stretch == fullStretch)
                continue;
            QFont font = start;
            font.setPointSizeF(size);
            font.setStretch(stretch);
            order << font;
        }
    };
    if (startSize > floorPoints)
        add(startSize, narrowestAbove);
    // The steps below the start, so that a larger start tries every size a smaller one does.
    for (qreal size = std::ceil(startSize / sizeStep - 1) * sizeStep; size > floorPoints; size -= sizeStep)
        add(size, narrowestAbove);
    add(std::min(startSize, floorPoints), narrowestAtFloor);
    return order;
}

void fitControl(QWidget *control)
{
    const auto *box = qobject_cast<const OneLineBox *>(control);
    const QString text = captionOf(control);
    if (!box && text.isEmpty())
        return;
    const TextRoom room = roomAmongNeighbours(control);
    const std::optional<QFont> fixed = wishesOf(control).fixedFont;
    const QFont start = fixed ? atTwipScale(*fixed) : QApplication::font(control);
    bool titleFits = false;
    const auto *frame = qobject_cast<const TitledFrame *>(control);
    const QFont fitted = box   ? fittedBoxFont(start, room)
        : frame                ? fittedTitleFont(frame, start, room, titleFits)
                               : fittedFont(start, text, room);
    if (control->font() != fitted)
        control->setFont(fitted);
    if (!box)
        tellWholeWhenCut(control, text, frame ? titleFits : textFits(fitted, text, room));
}

} // namespace varnek
