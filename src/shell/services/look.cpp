#include "shell/services/look.h"

#include "shell/services/contrast.h"
#include "shell/services/widgets.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
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
        const QPalette desktop = QApplication::palette();
        palette.setColor(QPalette::Window, frameSourceOn(desktop.color(QPalette::Window), background));
        const QColor highlight = focusFrameSourceOn(desktop.color(QPalette::Highlight), background);
        if (highlight != desktop.color(QPalette::Highlight)) {
            // Selected text stays readable on the highlight it now has.
            palette.setColor(QPalette::Highlight, highlight);
            makeStandOut(palette, QPalette::HighlightedText, relativeLuminance(highlight), textContrast);
        }
    } else {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

TextRoom TextRoom::of(const QLabel *label)
{
    const int margin = label->margin();
    QRect box = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    // A framed label without an indent of its own keeps half an x clear on its aligned side.
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(u'x') / 2 - margin;
    if (indent > 0) {
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

bool textFits(const QFont &font, const QString &text, const TextRoom &room)
{
    // Measured exactly: a text a fraction of a pixel too wide loses the edge of its last letter.
    const QSizeF needed = QFontMetricsF(font).boundingRect(QRectF(room.box), room.flags, text).size();
    return needed.width() <= room.box.width() && needed.height() <= room.box.height();
}

QFont fittedFont(QFont font, const QString &text, const TextRoom &room)
{
    if (textFits(font, text, room))
        return font;
    constexpr int fullStretch = 100, stretchStep = 4, narrowest = 52;
    constexpr qreal sizeStep = 0.5, smallest = 5.5;
    const qreal start = QFontInfo(font).pointSizeF();
    // At each size: nothing fits if the narrowest does not (a line too tall, a word too wide), so
    // only then are the wider stretches tried, widest first.
    for (qreal size = start; size >= smallest; size -= sizeStep) {
        if (size != start)
            font.setPointSizeF(size);
        font.setStretch(narrowest);
        if (!textFits(font, text, room))
            continue;
        for (int stretch = size == start ? fullStretch - stretchStep : fullStretch; stretch > narrowest;
             stretch -= stretchStep) {
            font.setStretch(stretch);
            if (textFits(font, text, room))
                return font;
        }
        font.setStretch(narrowest);
        return font;
    }
    // Even the floors are too big: the caption stays there, legible, rather than shrink to nothing.
    return font;
}

namespace {

void fitCaption(QWidget *control, const QString &text, const TextRoom &room)
{
    const QFont fitted = fittedFont(control->font(), text, room);
    if (fitted != control->font())
        control->setFont(fitted);
    if (textFits(fitted, text, room))
        return;
    if (control->toolTip().isEmpty())
        control->setToolTip(text);
    if (control->accessibleDescription().isEmpty())
        control->setAccessibleDescription(text);
}

} // namespace

void fitCaptions(QWidget *window)
{
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels)
        if (!label->text().isEmpty())
            fitCaption(label, label->text(), TextRoom::of(label));
    const QList<QPushButton *> buttons = window->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text().isEmpty())
            continue;
        const auto *picture = qobject_cast<const PictureButton *>(button);
        fitCaption(button, button->text(), picture ? picture->captionRoom() : TextRoom::of(button));
    }
}

} // namespace varnek
