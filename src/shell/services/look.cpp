#include "shell/services/look.h"

#include "shell/services/contrast.h"
#include "shell/services/widgets.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// What the program asked of a widget, kept on it so that a change of desktop can apply it afresh.
constexpr char fixedFontKey[] = "varnekFixedFont";
constexpr char textKey[] = "varnekText";
constexpr char backgroundKey[] = "varnekBackground";
constexpr char leastKey[] = "varnekLeastContrast";
constexpr char colouredKey[] = "varnekColoured";
constexpr char toldWholeKey[] = "varnekToldWhole";
constexpr char followedKey[] = "varnekFollowed";
constexpr char fittedKey[] = "varnekFitted";

constexpr qreal floorSize = 6, sizeStep = 0.5;
constexpr int fullStretch = 100, stretchStep = 5, narrowestAbove = 90, narrowestAtFloor = 80;
// Two captions side by side keep their letters this far apart.
constexpr int captionGap = 2;
// A box on surroundings the desktop chooses stands out as much as the plain light desktop's do.
constexpr qreal desktopBoxContrast = 1.8;

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
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    return {};
}

// The window a control is fitted with: its own, or the multiple-document child it lies in.
const QWidget *fittingRoot(const QWidget *widget)
{
    while (widget && !widget->isWindow() && !qobject_cast<const QMdiSubWindow *>(widget))
        widget = widget->parentWidget();
    return widget;
}

std::optional<TextRoom> ownRoom(const QWidget *control)
{
    if (const auto *picture = qobject_cast<const PictureButton *>(control))
        return picture->captionRoom();
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return TextRoom::of(button);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return TextRoom::of(label);
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return TextRoom::of(frame);
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return TextRoom::of(box);
    return std::nullopt;
}

// What a neighbour covers, in the window's coordinates: a caption its room, the title of a frame
// its top line, anything else the place it is drawn in; nothing for what lies beneath (an outline
// drawn around others, a picture painted by the window).
QRect covered(const QWidget *neighbour, const QWidget *root)
{
    const QPoint origin = neighbour->mapTo(root, QPoint());
    if (const auto *frame = qobject_cast<const QGroupBox *>(neighbour)) {
        if (frame->title().isEmpty())
            return {};
        const TextRoom title = TextRoom::of(frame);
        return QRect(origin, QSize(frame->width(), title.box.top() + QFontMetrics(frame->font()).height()));
    }
    if (qobject_cast<const QLabel *>(neighbour) && !captionOf(neighbour).isEmpty())
        return ownRoom(neighbour)->box.translated(origin);
    const bool drawnThere = qobject_cast<const QLabel *>(neighbour) || qobject_cast<const QAbstractButton *>(neighbour)
        || isBox(neighbour) || dynamic_cast<const Line *>(neighbour);
    return drawnThere ? QRect(origin, neighbour->size()) : QRect();
}

// Where the text starts in its room: its aligned corner or edge.
QPoint textStart(const QRect &room, int flags)
{
    const Qt::Alignment align = Qt::Alignment(flags);
    return {align & Qt::AlignRight ? room.right() : align & Qt::AlignHCenter ? room.center().x() : room.left(),
            align & Qt::AlignBottom ? room.bottom() : align & Qt::AlignVCenter ? room.center().y() : room.top()};
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

QFont startingFont(const QWidget *control)
{
    const QVariant fixed = control->property(fixedFontKey);
    return fixed.isValid() ? fixed.value<QFont>() : QApplication::font(control);
}

void tellWholeWhenCut(QWidget *control, const QString &whole, bool fits)
{
    if (!fits) {
        const bool toldBefore = control->property(toldWholeKey).toBool();
        if (control->toolTip().isEmpty() || toldBefore)
            control->setToolTip(whole);
        if (control->accessibleDescription().isEmpty() || toldBefore)
            control->setAccessibleDescription(whole);
        control->setProperty(toldWholeKey, true);
    } else if (control->property(toldWholeKey).toBool()) {
        // Fits again since the desktop changed: what the program told is taken back.
        if (control->toolTip() == whole)
            control->setToolTip({});
        if (control->accessibleDescription() == whole)
            control->setAccessibleDescription({});
        control->setProperty(toldWholeKey, QVariant());
    }
}

// Where the style puts a frame's title, or the frame itself, in the given font.
QRect frameTitle(const QGroupBox *frame, const QFont &font, QStyle::SubControl part)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.fontMetrics = QFontMetrics(font);
    option.text = frame->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = frame->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (frame->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, part, frame);
}

// A frame's title is laid out by the style, which is asked where it puts it in each font tried.
QFont fittedTitleFont(const QGroupBox *frame, const QFont &start, const TextRoom &room, bool &fits)
{
    const QRect clear = room.clear.isNull() ? room.box : room.clear;
    const QList<QFont> order = fittingOrder(start);
    for (const QFont &font : order) {
        if (clear.contains(frameTitle(frame, font, QStyle::SC_GroupBoxLabel))) {
            fits = true;
            return font;
        }
    }
    fits = false;
    return order.back();
}

void fitControl(QWidget *control)
{
    const auto *box = qobject_cast<const QLineEdit *>(control);
    const QString text = captionOf(control);
    if (!box && text.isEmpty())
        return;
    const TextRoom room = roomAmongNeighbours(control);
    const QFont start = startingFont(control);
    bool titleFits = false;
    const auto *frame = qobject_cast<const QGroupBox *>(control);
    const QFont fitted = box   ? fittedBoxFont(start, room)
        : frame                ? fittedTitleFont(frame, start, room, titleFits)
                               : fittedFont(start, text, room);
    if (control->font() != fitted)
        control->setFont(fitted);
    if (!box)
        tellWholeWhenCut(control, text, frame ? titleFits : textFits(fitted, text, room));
}

// What the parents paint beneath their children, each found once a pass: a window's own painting
// (a picture) is rendered; inside a window, the background of the nearest parent that fills one.
// Rendering a child of a multiple-document window as it is shown would move the frame window.
class Beneath {
public:
    qreal luminanceUnder(const QWidget *widget)
    {
        const QWidget *parent = widget->parentWidget();
        QRect area = widget->geometry();
        while (!parent->isWindow() && !parent->autoFillBackground()) {
            area.translate(parent->pos());
            parent = parent->parentWidget();
        }
        if (!parent->isWindow())
            return relativeLuminance(parent->palette().color(parent->backgroundRole()));
        auto found = m_pictures.find(parent);
        if (found == m_pictures.end()) {
            QImage picture(parent->size(), QImage::Format_RGB32);
            picture.fill(parent->palette().color(parent->backgroundRole()));
            const_cast<QWidget *>(parent)->render(&picture, {}, {}, QWidget::DrawWindowBackground);
            found = m_pictures.insert(parent, picture);
        }
        return meanLuminance(*found, area);
    }

private:
    QHash<const QWidget *, QImage> m_pictures;
};

// The colour the style draws a box's outermost edge in, with the given colours.
QColor drawnEdge(const QWidget *box, const QPalette &palette, bool withKeyboard)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.palette = palette;
    option.rect = box->rect();
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.state.setFlag(QStyle::State_HasFocus, withKeyboard);
    QImage image(box->size(), QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Base));
    QPainter painter(&image);
    if (qobject_cast<const QLineEdit *>(box)) {
        box->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, box);
    } else if (withKeyboard) {
        // A multi-line box with the keyboard frames itself as a one-line box does.
        box->style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, box);
    } else {
        const auto *frame = static_cast<const QFrame *>(box);
        option.frameShape = frame->frameShape();
        option.state.setFlag(QStyle::State_Sunken, frame->frameShadow() == QFrame::Sunken);
        box->style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, box);
    }
    painter.end();
    return image.pixelColor(0, box->height() / 2);
}

qreal edgeContrast(const QWidget *box, const QPalette &palette, bool withKeyboard, qreal behind)
{
    return contrastRatio(relativeLuminance(drawnEdge(box, palette, withKeyboard)), behind);
}

// Where neither a box's fill nor the edge the style draws stands out from what surrounds the box,
// the style draws the edge from a colour that does (the frame's window colour; with the keyboard
// in the box, its highlight, which keeps its hue and the selected text readable on it).
void showEdge(const QWidget *box, QPalette &wanted, qreal behind, qreal least)
{
    // As the box would be drawn: the program's colours over what it takes from its parent.
    const QPalette inherited = wanted.resolve(box->parentWidget()->palette());
    if (contrastRatio(relativeLuminance(inherited.color(QPalette::Base)), behind) >= least)
        return;
    const QPalette desktop = QApplication::palette(box);
    QPalette trial = inherited;
    // The frame's colour the parent gives, else the desktop's, else black or white, whichever does more.
    qreal best = edgeContrast(box, trial, false, behind);
    for (const QColor &candidate : {desktop.color(QPalette::Window), QColor(Qt::black), QColor(Qt::white)}) {
        if (best >= least)
            break;
        QPalette other = inherited;
        other.setColor(QPalette::Window, candidate);
        if (const qreal ratio = edgeContrast(box, other, false, behind); ratio > best) {
            best = ratio;
            trial.setColor(QPalette::Window, candidate);
        }
    }
    if (trial.color(QPalette::Window) != inherited.color(QPalette::Window))
        wanted.setColor(QPalette::Window, trial.color(QPalette::Window));
    QColor highlight = desktop.color(QPalette::Highlight);
    const bool lightBehind = behind > 0.5;
    for (int step = 0; step < 16 && edgeContrast(box, trial, true, behind) < least; ++step) {
        highlight = lightBehind ? highlight.darker(115) : highlight.lighter(115);
        trial.setColor(QPalette::Highlight, highlight);
    }
    if (highlight != desktop.color(QPalette::Highlight)) {
        wanted.setColor(QPalette::Highlight, highlight);
        const QColor selected = standingOut(desktop.color(QPalette::HighlightedText), relativeLuminance(highlight),
                                            textContrast);
        if (selected != desktop.color(QPalette::HighlightedText))
            wanted.setColor(QPalette::HighlightedText, selected);
    }
}

// The colours asked of the widget, from the desktop's palette as it is now: only the roles whose
// colour must differ from the desktop's are set, so that the others go on following it.
void applyColours(QWidget *widget, Beneath *beneath)
{
    const QPalette desktop = QApplication::palette(widget);
    QPalette wanted;
    const QVariant background = widget->property(backgroundKey);
    const bool box = isBox(widget);
    if (background.isValid()) {
        const QColor fill = background.value<QColor>();
        QColor text = widget->property(textKey).value<QColor>();
        const QPalette::ColorRole textRole = box ? QPalette::Text : QPalette::WindowText;
        if (!text.isValid())
            text = standingOut(desktop.color(textRole), relativeLuminance(fill), textContrast);
        if (text != desktop.color(textRole))
            wanted.setColor(textRole, text);
        wanted.setColor(box ? QPalette::Base : QPalette::Window, fill);
        if (!box)
            widget->setAutoFillBackground(true);
    }
    // What lies beneath is known once the window is laid out: at its first showing.
    if (const QVariant least = widget->property(leastKey); least.isValid() && beneath) {
        const QColor shown = standingOut(desktop.color(QPalette::WindowText), beneath->luminanceUnder(widget),
                                         least.toReal());
        if (shown != desktop.color(QPalette::WindowText))
            wanted.setColor(QPalette::WindowText, shown);
    }
    if (box && beneath)
        showEdge(widget, wanted, beneath->luminanceUnder(widget), background.isValid() ? lineContrast : desktopBoxContrast);
    // A palette the widget has of its own, not from here, stays.
    const bool mended = wanted.resolveMask() != 0;
    if (mended || widget->property(colouredKey).toBool()) {
        widget->setPalette(wanted);
        widget->setProperty(colouredKey, mended ? QVariant(true) : QVariant());
    }
}

QList<QWidget *> fittedTogether(QWidget *window)
{
    QList<QWidget *> widgets{window};
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (fittingRoot(child) == window)
            widgets << child;
    }
    return widgets;
}

class DesktopFollower final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (auto *window = qobject_cast<QWidget *>(watched);
                window && window->property(followedKey).toBool() && !window->property(fittedKey).toBool())
                firstShown(window);
            break;
        case QEvent::Paint:
            if (m_waitingForPaint && watched == m_waitingForPaint) {
                QTimer::singleShot(0, m_waitingForPaint.data(), [window = m_waitingForPaint.data()] {
                    fitToDesktop(window);
                });
                m_waitingForPaint = nullptr;
            }
            break;
        case QEvent::ApplicationFontChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            // Qt sends these to every widget: the windows are fitted once, when all have them.
            if (!m_refitDue) {
                m_refitDue = true;
                QTimer::singleShot(0, this, [this] { refitAll(); });
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void firstShown(QWidget *window)
    {
        window->setProperty(fittedKey, true);
        // The first window of all is fitted once it is on the screen: fitting measures fonts, which
        // loads the font database, and before the window shows that would delay it by some 7 ms.
        // The captions repaint only if one had to give way.
        if (!std::exchange(m_anyShown, true)) {
            m_waitingForPaint = window;
            return;
        }
        fitToDesktop(window);
    }

    void refitAll()
    {
        m_refitDue = false;
        for (QWidget *widget : QApplication::allWidgets()) {
            if (widget->property(followedKey).toBool())
                fitToDesktop(widget);
        }
    }

    bool m_anyShown = false;
    bool m_refitDue = false;
    QPointer<QWidget> m_waitingForPaint;
};

} // namespace

QFont fixedsysFont()
{
    QFont font(u"Fixedsys"_s, 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void setFixedFont(QWidget *control, const QFont &font)
{
    control->setProperty(fixedFontKey, font);
    control->setFont(font);
}

void setColours(QWidget *widget, const QColor &text, const QColor &background)
{
    widget->setProperty(textKey, text);
    widget->setProperty(backgroundKey, background);
    applyColours(widget, nullptr);
}

void standOutFromWhatIsBehind(QWidget *widget, qreal least)
{
    widget->setProperty(leastKey, least);
}

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

TextRoom TextRoom::of(const QGroupBox *frame)
{
    const QRect sides = frameTitle(frame, frame->font(), QStyle::SC_GroupBoxFrame);
    const QRect title = frameTitle(frame, frame->font(), QStyle::SC_GroupBoxLabel);
    // Clear of the frame's right side by a pixel; down to the first of what lies in the frame.
    int bottom = frame->height() - 1;
    for (const QWidget *child : frame->findChildren<const QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            bottom = std::min(bottom, child->y() - 1);
    }
    return {QRect(QPoint(title.left(), title.top()), QPoint(sides.right() - 2, bottom)),
            int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic)};
}

TextRoom TextRoom::of(const QLineEdit *box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect area = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    return {area.marginsRemoved(box->textMargins()), int(Qt::AlignLeft | Qt::AlignVCenter)};
}

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
    if (startSize > floorSize)
        add(startSize, narrowestAbove);
    // The half points below the start, so that a larger start tries every size a smaller one does.
    for (qreal size = std::ceil(startSize / sizeStep - 1) * sizeStep; size > floorSize; size -= sizeStep)
        add(size, narrowestAbove);
    add(std::min(startSize, floorSize), narrowestAtFloor);
    return order;
}

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

void fitToDesktop(QWidget *window)
{
    const QList<QWidget *> widgets = fittedTogether(window);
    Beneath beneath;
    for (QWidget *widget : widgets)
        applyColours(widget, &beneath);
    for (QWidget *widget : widgets)
        fitControl(widget);
}

void followDesktop(QWidget *window)
{
    static QPointer<DesktopFollower> follower;
    if (!follower) {
        follower = new DesktopFollower(qApp);
        qApp->installEventFilter(follower);
    }
    window->setProperty(followedKey, true);
}

} // namespace varnek
