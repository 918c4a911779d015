#include "support/captionfit.h"

#include "shell/services/fitting.h"
#include "shell/services/look.h"
#include "shell/services/rooms.h"
#include "shell/services/widgets.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtMath>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <optional>

using namespace Qt::StringLiterals;
using namespace varnek::fitLimits;

namespace {

// A caption as Qt lays it out: the room its control draws it in and how.
struct Caption {
    const QWidget *control;
    QString text;
    QRect room;
    int flags;
};

std::optional<Caption> captionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->text().isEmpty())
            return std::nullopt;
        QRect room = label->contentsRect().marginsRemoved(QMargins(label->margin(), label->margin(), label->margin(),
                                                                   label->margin()));
        // The indent on the sides the text is aligned to; a framed label without one keeps half an x.
        int indent = label->indent();
        if (label->frameWidth() > 0 && indent < 0)
            indent = label->fontMetrics().horizontalAdvance(u'x') / 2;
        if (indent > 0) {
            const Qt::Alignment align = label->alignment();
            room.adjust(align & Qt::AlignLeft ? indent : 0, align & Qt::AlignTop ? indent : 0,
                        align & Qt::AlignRight ? -indent : 0, align & Qt::AlignBottom ? -indent : 0);
        }
        return Caption{label, label->text(), room,
                       int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0)};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        if (button->text().isEmpty())
            return std::nullopt;
        // A flat one is drawn as a label, its caption on one line across the whole of it.
        if (button->isFlat())
            return Caption{button, button->text(), button->contentsRect(), int(Qt::AlignLeft | Qt::AlignVCenter)};
        QStyleOptionButton option;
        option.initFrom(button);
        if (button->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        // Qt's own push button clips its caption there; the program's draws it inside the frame, and
        // below its picture (which the ink check judges).
        if (qobject_cast<const varnek::PictureButton *>(button)) {
            const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button)
                + (button->autoDefault() ? button->style()->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, button)
                                         : 0);
            room |= button->rect().adjusted(frame, frame, -frame, -frame);
            // Letters may reach a pixel past their advance; the frame must stay clear of them.
            room.adjust(1, 0, -1, 0);
        }
        // Below the picture the program keeps 2 pixels clear.
        const bool pictureAbove = !button->icon().isNull();
        if (pictureAbove)
            room.setTop(room.top() + button->iconSize().height() + 2);
        return Caption{button, button->text().remove(u'&'), room,
                       int(Qt::AlignHCenter | Qt::AlignTop | (pictureAbove ? Qt::TextWordWrap : 0))};
    }
    if (const auto *frame = qobject_cast<const varnek::TitledFrame *>(control)) {
        if (frame->title().isEmpty())
            return std::nullopt;
        const QRect sides = frame->sidesIn(frame->font());
        return Caption{frame, frame->title(), QRect(sides.left(), 0, sides.width(), frame->height()),
                       int(Qt::AlignLeft | Qt::AlignTop)};
    }
    return std::nullopt;
}

// Where the caption's text lies in the window, in the given font.
QRect drawn(const Caption &caption, const QFont &font, const QWidget *window)
{
    QRect rect;
    if (const auto *frame = qobject_cast<const varnek::TitledFrame *>(caption.control))
        rect = frame->titleIn(font);
    else
        rect = QFontMetricsF(font).boundingRect(QRectF(caption.room), caption.flags, caption.text).toAlignedRect();
    return rect.translated(caption.control->mapTo(window, QPoint()));
}

// Where a caption's text starts, in the window.
QPoint startOf(const Caption &caption, const QWidget *window)
{
    return varnek::textStart(caption.room.translated(caption.control->mapTo(window, QPoint())), caption.flags);
}

bool related(const QWidget *a, const QWidget *b) { return a == b || a->isAncestorOf(b) || b->isAncestorOf(a); }

// What keeps the caption from being read whole in this font: cut by its room, run into another
// caption (closer than 2 pixels beside it), or lying under a line, a box or a button.
// Judging a font the caption does not have (`asRoom`), another caption covers its whole room, a pixel
// more beside it, since its text may lie anywhere there; but of two labels whose rooms overlap, the
// one starting in the overlap has it: the other is judged by its text, and keeps 2 px from that room.
QStringList problems(const Caption &caption, const QFont &font, const QWidget *window, bool asRoom = false)
{
    QStringList found;
    const QSizeF needed = QFontMetricsF(font).boundingRect(QRectF(caption.room), caption.flags, caption.text).size();
    if (needed.width() > caption.room.width() || needed.height() > caption.room.height())
        found << u"needs %1x%2 in %3x%4"_s.arg(needed.width(), 0, 'f', 1).arg(needed.height(), 0, 'f', 1)
                     .arg(caption.room.width()).arg(caption.room.height());
    if (const auto *frame = qobject_cast<const varnek::TitledFrame *>(caption.control)) {
        if (frame->titleIn(font).right() >= frame->sidesIn(font).right() - 1)
            found << u"title through the frame's side"_s;
    }
    const QRect text = drawn(caption, font, window);
    for (const QWidget *other : window->findChildren<const QWidget *>()) {
        // A frame's title lies above what the frame holds, and clear of it.
        const bool inFrame = qobject_cast<const varnek::TitledFrame *>(caption.control) && other != caption.control
            && caption.control->isAncestorOf(other);
        if (other->isHidden() || (related(other, caption.control) && !inFrame) || other->window() != caption.control->window())
            continue;
        if (const std::optional<Caption> neighbour = captionOf(other)) {
            const QRect room = neighbour->room.translated(other->mapTo(window, QPoint()));
            const bool labels = qobject_cast<const QLabel *>(other) && qobject_cast<const QLabel *>(caption.control);
            const bool given = asRoom && labels && room.contains(startOf(caption, window));
            const bool theirsToo = labels
                && caption.room.translated(caption.control->mapTo(window, QPoint())).contains(startOf(*neighbour, window));
            const QRect theirs = asRoom && !given ? room : drawn(*neighbour, other->font(), window);
            const int gap = asRoom && !given && !theirsToo ? varnek::captionGap / 2 : varnek::captionGap;
            const bool sameLines = text.top() <= theirs.bottom() && theirs.top() <= text.bottom();
            if (text.intersects(theirs) || (sameLines && text.adjusted(-gap, 0, gap, 0).intersects(theirs)))
                found << u"runs into "_s + other->objectName();
        }
        const bool lineBoxOrButton = dynamic_cast<const varnek::Line *>(other) || varnek::isBox(other)
            || qobject_cast<const QAbstractButton *>(other);
        if (lineBoxOrButton && text.intersects(QRect(other->mapTo(window, QPoint()), other->size())))
            found << u"lies under "_s + other->objectName();
    }
    return found;
}

QFont withSize(QFont font, qreal points, int stretch)
{
    font.setPointSizeF(points);
    font.setStretch(stretch);
    return font;
}

// Legible: the floor at least, narrowed as far as allowed above it and at it; never larger than
// where it started.
QString illegible(const QFont &font, qreal start)
{
    const qreal size = QFontInfo(font).pointSizeF();
    const int stretch = font.stretch() == 0 ? fullStretch : font.stretch();
    if (size < floorPoints - 0.01 || stretch < (size < floorPoints + 0.01 ? narrowestAtFloor : narrowestAbove))
        return u"drawn at %1 pt and %2 %"_s.arg(size).arg(stretch);
    if (size > start + 0.01)
        return u"drawn at %1 pt, larger than the desktop's %2 pt"_s.arg(size).arg(start);
    return {};
}

// The next step up from a fitted font: wider at its size, or the next half point up at its
// narrowest, which must no longer fit.
std::optional<QFont> stepUp(const QFont &font, qreal start)
{
    const qreal size = QFontInfo(font).pointSizeF();
    const int stretch = font.stretch() == 0 ? fullStretch : font.stretch();
    if (stretch < fullStretch)
        return withSize(font, size, stretch + stretchStep);
    if (size >= start - 0.01)
        return std::nullopt;
    return withSize(font, std::min(start, size + sizeStep), narrowestAbove);
}

// Ink of the program's buttons, as they are drawn: the caption apart from the picture and inside the
// frame. The caption made invisible and the picture a clear one of its size leave the layout as it is.
QString inkFault(const varnek::PictureButton *button)
{
    auto *b = const_cast<varnek::PictureButton *>(button);
    const auto render = [b] { return b->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage full = render();
    const QPalette palette = b->palette();
    const bool ownPalette = b->testAttribute(Qt::WA_SetPalette);
    QPalette unwritten = palette;
    unwritten.setColor(QPalette::ButtonText, Qt::transparent);
    b->setPalette(unwritten);
    const QImage noCaption = render();
    const QIcon icon = b->icon();
    QPixmap clearPicture(b->iconSize());
    clearPicture.fill(Qt::transparent);
    b->setIcon(QIcon(clearPicture));
    const QImage nothing = render();
    b->setIcon(icon);
    b->setPalette(ownPalette ? palette : QPalette());
    const auto differing = [](const QImage &a, const QImage &c) {
        QRect box;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != c.pixel(x, y))
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect ink = differing(full, noCaption);
    const QRect picture = icon.isNull() ? QRect() : differing(noCaption, nothing);
    if (ink.isEmpty())
        return u"caption not drawn"_s;
    QStyleOptionButton option;
    option.initFrom(button);
    const int frame = qCeil(button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button)
                            * full.devicePixelRatio());
    if (!full.rect().adjusted(frame, frame, -frame, -frame).contains(ink))
        return u"caption's ink touches the frame"_s;
    if (!picture.isEmpty() && ink.top() <= picture.bottom() + 1)
        return u"caption's ink touches the picture"_s;
    return {};
}

// The ink check with the button in another font, its own put back afterwards.
QString inkFaultIn(const varnek::PictureButton *button, const QFont &font)
{
    auto *b = const_cast<varnek::PictureButton *>(button);
    const QFont own = b->font();
    const bool ownFont = b->testAttribute(Qt::WA_SetFont);
    b->setFont(font);
    const QString fault = inkFault(button);
    b->setFont(ownFont ? own : QFont());
    return fault;
}

} // namespace

QStringList captionFaults(const QWidget *window, const QFont &desktop, int &checked)
{
    QStringList faults;
    const qreal desktopSize = QFontInfo(desktop).pointSizeF();
    for (const QWidget *control : window->findChildren<const QWidget *>()) {
        // The program's own fonts start from Fixedsys, at the twips' scale.
        const qreal start = control->font().fixedPitch()
            ? QFontInfo(varnek::atTwipScale(varnek::fixedsysFont())).pointSizeF()
            : desktopSize;
        const QString name = control->objectName() + u": "_s;
        if (const auto *box = qobject_cast<const varnek::OneLineBox *>(control)) {
            ++checked;
            const int area = box->textRoom().box.height();
            const QFont font = box->font();
            if (QFontMetrics(font).height() > area)
                faults << name + u"line of %1 px in a text area of %2"_s.arg(QFontMetrics(font).height()).arg(area);
            if (const QString fault = illegible(font, start); !fault.isEmpty())
                faults << name + fault;
            const qreal size = QFontInfo(font).pointSizeF();
            if (size < start - 0.01 && QFontMetrics(withSize(font, std::min(start, size + sizeStep), fullStretch)).height() <= area)
                faults << name + u"smaller than it needs to be"_s;
            continue;
        }
        const std::optional<Caption> caption = captionOf(control);
        if (!caption || control->window() != window->window())
            continue;
        ++checked;
        const QFont font = control->font();
        if (const QStringList found = problems(*caption, font, window); !found.isEmpty())
            faults << name + found.join(u", "_s);
        if (const QString fault = illegible(font, start); !fault.isEmpty())
            faults << name + fault;
        // A button's caption must also keep its ink off the frame, as drawn.
        const auto *picture = qobject_cast<const varnek::PictureButton *>(control);
        const bool framed = picture && !picture->isFlat();
        if (const std::optional<QFont> larger = stepUp(font, start);
            larger && problems(*caption, *larger, window, true).isEmpty()
            && (!framed || inkFaultIn(picture, *larger).isEmpty()))
            faults << name + u"%1 pt at %2 %: one step larger or wider would fit too"_s.arg(font.pointSizeF())
                                 .arg(font.stretch());
        if (framed)
            if (const QString fault = inkFault(picture); !fault.isEmpty())
                faults << name + fault;
    }
    return faults;
}
