#include "shell/services/colours.h"

#include "shell/services/contrast.h"
#include "shell/services/look.h"
#include "shell/services/rooms.h"
#include "shell/services/wishes.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

namespace varnek {

namespace {

// A box on surroundings the desktop chooses stands out as much as the plain light desktop's do.
constexpr qreal desktopBoxContrast = 1.8;

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
    const Wishes wishes = wishesOf(widget);
    const bool box = isBox(widget);
    if (wishes.background.isValid()) {
        const QColor fill = wishes.background;
        QColor text = wishes.text;
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
    if (wishes.leastContrast && beneath) {
        const QColor shown = standingOut(desktop.color(QPalette::WindowText), beneath->luminanceUnder(widget),
                                         *wishes.leastContrast);
        if (shown != desktop.color(QPalette::WindowText))
            wanted.setColor(QPalette::WindowText, shown);
    }
    if (box && beneath)
        showEdge(widget, wanted, beneath->luminanceUnder(widget), wishes.background.isValid() ? lineContrast : desktopBoxContrast);
    // A palette the widget has of its own, not from here, stays.
    const bool mended = wanted.resolveMask() != 0;
    if (mended || wishes.coloured) {
        widget->setPalette(wanted);
        wishesFor(widget).coloured = mended;
    }
}

} // namespace

void setColours(QWidget *widget, const QColor &text, const QColor &background)
{
    Wishes &wishes = wishesFor(widget);
    wishes.text = text;
    wishes.background = background;
    applyColours(widget, nullptr);
}

void colourTogether(const QList<QWidget *> &widgets)
{
    Beneath beneath;
    for (QWidget *widget : widgets)
        applyColours(widget, &beneath);
}

} // namespace varnek
