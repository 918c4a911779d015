#include "shell/services/rooms.h"

#include "shell/services/widgets.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <optional>

namespace varnek {

namespace {

std::optional<TextRoom> ownRoom(const QWidget *control)
{
    if (const auto *picture = qobject_cast<const PictureButton *>(control))
        return picture->captionRoom();
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return TextRoom::of(button);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return TextRoom::of(label);
    if (const auto *frame = qobject_cast<const TitledFrame *>(control))
        return frame->titleRoom();
    if (const auto *box = qobject_cast<const OneLineBox *>(control))
        return box->textRoom();
    return std::nullopt;
}

// What a neighbour covers, in the window's coordinates: a caption its room, the title of a frame
// its top line, anything else the place it is drawn in; nothing for what lies beneath (an outline
// drawn around others, a picture painted by the window).
QRect covered(const QWidget *neighbour, const QWidget *root)
{
    const QPoint origin = neighbour->mapTo(root, QPoint());
    if (const auto *frame = qobject_cast<const TitledFrame *>(neighbour)) {
        if (frame->title().isEmpty())
            return {};
        return QRect(origin, QSize(frame->width(), frame->titleIn(frame->font()).top() + QFontMetrics(frame->font()).height()));
    }
    if (qobject_cast<const QLabel *>(neighbour) && !captionOf(neighbour).isEmpty())
        return ownRoom(neighbour)->box.translated(origin);
    const bool drawnThere = qobject_cast<const QLabel *>(neighbour) || qobject_cast<const QAbstractButton *>(neighbour)
        || isBox(neighbour) || dynamic_cast<const Line *>(neighbour);
    return drawnThere ? QRect(origin, neighbour->size()) : QRect();
}

// The part of the room on one side of what covers some of it, `gap` more clear beside it: the side
// where the text starts, the largest such part where there are two.
QRect besides(const QRect &room, int flags, const QRect &cover, int gap)
{
    const QRect wider = cover.adjusted(-gap, 0, gap, 0);
    if (!room.intersects(wider))
        return room;
    const QPoint start = textStart(room, flags);
    const QRect parts[] = {
        QRect(room.topLeft(), QPoint(wider.left() - 1, room.bottom())),
        QRect(QPoint(wider.right() + 1, room.top()), room.bottomRight()),
        QRect(room.topLeft(), QPoint(room.right(), cover.top() - 1)),
        QRect(QPoint(room.left(), cover.bottom() + 1), room.bottomRight()),
    };
    QRect best;
    bool bestHasStart = false;
    for (const QRect &part : parts) {
        if (!part.isValid())
            continue;
        const bool hasStart = part.contains(start);
        const bool larger = qint64(part.width()) * part.height() > qint64(best.width()) * best.height();
        if ((hasStart && !bestHasStart) || (hasStart == bestHasStart && larger)) {
            best = part;
            bestHasStart = hasStart;
        }
    }
    return best;
}

} // namespace

TextRoom TextRoom::of(const QLabel *label)
{
    const int margin = label->margin();
    QRect box = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    // Only an indent the program gave: a framed label's own default is Qt's to choose.
    if (const int indent = label->indent(); indent > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        if (align & Qt::AlignLeft)
            box.setLeft(box.left() + indent);
        if (align & Qt::AlignRight)
            box.setRight(box.right() - indent);
        if (align & Qt::AlignTop)
            box.setTop(box.top() + indent);
        if (align & Qt::AlignBottom)
            box.setBottom(box.bottom() - indent);
    }
    return {box, int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0)};
}

TextRoom TextRoom::of(const QPushButton *button)
{
    // What QPushButton tells its style when it paints; the default-button features widen the margin.
    QStyleOptionButton option;
    option.initFrom(button);
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button->isFlat())
        option.features |= QStyleOptionButton::Flat;
    option.text = button->text();
    const QRect box = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return {box, int(Qt::AlignCenter | Qt::TextShowMnemonic)};
}

bool isBox(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget);
}

QString captionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return button->text();
    if (const auto *frame = qobject_cast<const TitledFrame *>(control))
        return frame->title();
    return {};
}

const QWidget *fittingRoot(const QWidget *widget)
{
    while (widget && !widget->isWindow() && !qobject_cast<const QMdiSubWindow *>(widget))
        widget = widget->parentWidget();
    return widget;
}

QPoint textStart(const QRect &room, int flags)
{
    const Qt::Alignment align = Qt::Alignment(flags);
    return {align & Qt::AlignRight ? room.right() : align & Qt::AlignHCenter ? room.center().x() : room.left(),
            align & Qt::AlignBottom ? room.bottom() : align & Qt::AlignVCenter ? room.center().y() : room.top()};
}

TextRoom roomAmongNeighbours(const QWidget *control)
{
    TextRoom room = ownRoom(control).value_or(TextRoom{control->rect(), 0});
    const QWidget *root = fittingRoot(control);
    if (!root || root == control)
        return room;
    const QPoint origin = control->mapTo(root, QPoint());
    const QRect own = room.box.translated(origin);
    QRect clear = own;
    for (const QWidget *neighbour : root->findChildren<const QWidget *>()) {
        if (neighbour == control || neighbour->isHidden() || fittingRoot(neighbour) != root
            || neighbour->isAncestorOf(control) || control->isAncestorOf(neighbour))
            continue;
        QRect cover = covered(neighbour, root);
        if (cover.isEmpty())
            continue;
        // Two captions on one line each keep half the gap clear; above and below, their line's leading
        // keeps the letters apart. Where two labels' rooms overlap, the one whose text starts in the
        // overlap keeps it, and the other keeps the whole gap clear of it; else the one starting there
        // could fit nothing at all.
        const bool captions = !captionOf(neighbour).isEmpty() && !qobject_cast<const QLineEdit *>(control);
        int gap = captions ? (captionGap + 1) / 2 : 0;
        if (captions && qobject_cast<const QLabel *>(neighbour) && qobject_cast<const QLabel *>(control)) {
            const int theirFlags = ownRoom(neighbour)->flags;
            if (cover.contains(textStart(own, room.flags))) {
                cover = besides(cover, theirFlags, own, captionGap);
                gap = 0;
            } else if (own.contains(textStart(cover, theirFlags))) {
                gap = captionGap;
            }
        }
        clear = besides(clear, room.flags, cover, gap);
    }
    // Covered all over, nothing fits; an empty clear part is not a null one, which means all of it.
    room.clear = clear.isEmpty() ? QRect(room.box.topLeft(), QSize(0, 1)) : clear.translated(-origin);
    return room;
}

} // namespace varnek
