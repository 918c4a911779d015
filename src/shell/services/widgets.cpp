#include "shell/services/widgets.h"

#include "assets/assets.h"
#include "shell/services/layout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QShortcutEvent>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QtMath>

#include <algorithm>
#include <limits>

namespace varnek {

namespace {

constexpr int captionFlags = int(Qt::AlignHCenter) | int(Qt::AlignTop) | int(Qt::TextWordWrap);
constexpr int flatCaptionFlags = int(Qt::AlignLeft) | int(Qt::AlignVCenter) | int(Qt::TextForceLeftToRight);
constexpr int plainCaptionFlags = int(Qt::AlignCenter) | int(Qt::TextShowMnemonic);
constexpr int pictureSpacing = 2;
// Letters may reach a pixel past their advance: that pixel is kept clear of a button's frame.
constexpr QMargins overhang(1, 0, 1, 0);

// Along one axis, the scale and offset a painter whose device puts logical 0 at `origin`, `scale`
// device pixels to one, needs so that a frame's lines at `from` and `to` fall on the device pixels
// Qt rounds those places to: the box's first, and the first past its contents. At a whole scale
// nothing moves.
std::pair<qreal, qreal> ontoDevicePixels(qreal origin, qreal scale, int from, int to)
{
    const auto rounded = [&](int at) { return qFloor(origin + at * scale + 0.5); };
    const qreal spacing = to > from ? qreal(rounded(to) - rounded(from)) / (to - from) : scale;
    return {spacing / scale, (rounded(from) - from * spacing - origin) / scale};
}

} // namespace

void NoCancelDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void nameAfterLabel(QWidget *box, QLabel *label)
{
    label->setBuddy(box);
    QString name = label->text().trimmed();
    // The closing colon is there for the eye; read aloud it is noise.
    if (name.endsWith(u':'))
        name.chop(1);
    box->setAccessibleName(name);
}

void setTextFromStart(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

void takeAnyLength(QLineEdit *box) { box->setMaxLength(std::numeric_limits<int>::max()); }

TextRoom OneLineBox::textRoom() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return {area.marginsRemoved(textMargins()), int(Qt::AlignLeft | Qt::AlignVCenter)};
}

QRect TitledFrame::partIn(const QFont &font, QStyle::SubControl part) const
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.fontMetrics = QFontMetrics(font);
    return style()->subControlRect(QStyle::CC_GroupBox, &option, part, this);
}

QRect TitledFrame::titleIn(const QFont &font) const { return partIn(font, QStyle::SC_GroupBoxLabel); }

QRect TitledFrame::sidesIn(const QFont &font) const { return partIn(font, QStyle::SC_GroupBoxFrame); }

TextRoom TitledFrame::titleRoom() const
{
    const QRect title = titleIn(font());
    int bottom = height() - 1;
    for (const QWidget *child : findChildren<const QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            bottom = std::min(bottom, child->y() - 1);
    }
    return {QRect(title.topLeft(), QPoint(sidesIn(font()).right() - 2, bottom)),
            int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic)};
}

bool MultiLineBox::event(QEvent *event)
{
    // The frame shows whether the box has the keyboard, which a frame of Qt's does not repaint for.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    // The box paints its frame alone; its text is the viewport's. It has no corner between two
    // scroll bars to paint either: its lines wrap.
    if (event->type() != QEvent::Paint)
        return QPlainTextEdit::event(event);
    QPainter painter(this);
    const QTransform device = painter.deviceTransform();
    const QRect frame = frameRect();
    const auto [xScale, dx] = ontoDevicePixels(device.dx(), device.m11(), frame.left(), frame.right());
    const auto [yScale, dy] = ontoDevicePixels(device.dy(), device.m22(), frame.top(), frame.bottom());
    painter.setWorldTransform(QTransform(xScale, 0, 0, yScale, dx, dy));
    if (hasFocus()) {
        // Framed as a one-line box is while it has the keyboard; a multi-line frame shows no focus.
        QStyleOptionFrame option;
        initStyleOption(&option);
        option.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, this);
    } else {
        drawFrame(&painter);
    }
    return true;
}

Line::Line(QWidget *parent, const QString &name, int x1, int y1, int x2, int y2, int width, const QColor &colour)
    : QWidget(parent)
{
    setObjectName(name);
    keepLaidOut(this, [=, this] {
        // Its width grows with the twips, on whole pixels.
        const int pen = std::max(1, qRound(width * twipScale()));
        const int left = twipsToPixels(std::min(x1, x2));
        const int top = twipsToPixels(std::min(y1, y2));
        const int length = twipsToPixels(std::max(x1, x2)) - left + pen;
        const int height = twipsToPixels(std::max(y1, y2)) - top + pen;
        // A pen of width w is centred on the line, so the strip starts half a pen before it.
        setGeometry(left - pen / 2, top - pen / 2, y1 == y2 ? length : pen, x1 == x2 ? height : pen);
    });
    QPalette palette;
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

PictureButton::PictureButton(QWidget *parent) : QPushButton(parent) {}

void PictureButton::setLook(Look look)
{
    m_look = look;
    setFlat(look == Look::Flat);
    if (look == Look::Flat) {
        setFocusPolicy(Qt::NoFocus);
        // Inside a dialog a push button would otherwise answer Enter.
        setAutoDefault(false);
        // Coloured as a label is, so setColours() serves both.
        setBackgroundRole(QPalette::Window);
        setForegroundRole(QPalette::WindowText);
    }
    update();
}

void PictureButton::setPicture(assets::Picture picture)
{
    keepLaidOut(this, [this, picture] {
        const QPixmap drawn = assets::pixmap(picture, twipScale());
        setIcon(QIcon(drawn));
        setIconSize(drawn.deviceIndependentSize().toSize());
    });
}

QRect PictureButton::contentRoom() const
{
    // Inside the frame. A themed style (Windows') would pad its contents a few pixels more and clip
    // the caption there, which on these short buttons leaves no readable line (9 of 17 pixels).
    QStyleOptionButton option;
    initStyleOption(&option);
    int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    if (autoDefault())
        frame += style()->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, this);
    return rect().adjusted(frame, frame, -frame, -frame)
        | style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

TextRoom PictureButton::captionRoom() const
{
    if (m_look == Look::Flat)
        return {contentsRect(), flatCaptionFlags};
    if (icon().isNull())
        return {contentRoom() - overhang, plainCaptionFlags, {}, true};
    return {contentRoom().adjusted(0, iconSize().height() + pictureSpacing, 0, 0) - overhang, captionFlags, {}, true};
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the button that has the keyboard, in every window, as on Windows. Qt's buttons
    // take it only inside a dialog, and there by becoming its default for a while; this one stays
    // what it is.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

bool PictureButton::event(QEvent *event)
{
    // A shortcut presses at once, where a push button would first show itself held down a while.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent *>(event)->isAmbiguous()) {
        click();
        return true;
    }
    return QPushButton::event(event);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    if (m_look == Look::Flat)
        paintFlat();
    else
        paintRaised();
}

void PictureButton::paintFlat()
{
    // As a label draws its text or picture; the background is the widget's own fill.
    QPainter painter(this);
    const QRect room = contentsRect();
    if (!icon().isNull())
        style()->drawItemPixmap(&painter, room, Qt::AlignLeft | Qt::AlignTop,
                                icon().pixmap(iconSize(), devicePixelRatio()));
    if (!text().isEmpty())
        style()->drawItemText(&painter, room, flatCaptionFlags, palette(), isEnabled(), text(), foregroundRole());
}

void PictureButton::paintRaised()
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const bool plain = icon().isNull();
    QRect room = plain ? captionRoom().box : contentRoom();
    if (isDown())
        room.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    if (plain) {
        painter.drawItemText(room, plainCaptionFlags, palette(), isEnabled(), text(), QPalette::ButtonText);
    } else {
        paintPictureAndCaption(painter, room);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void PictureButton::paintPictureAndCaption(QPainter &painter, const QRect &room)
{
    const QSize picture = iconSize();
    const int captionHeight = fontMetrics().boundingRect(room - overhang, captionFlags, text()).height();
    int top = room.top() + std::max(0, (room.height() - picture.height() - pictureSpacing - captionHeight) / 2);
    painter.drawPixmap(room.left() + (room.width() - picture.width()) / 2, top,
                       icon().pixmap(picture, devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled));
    top += picture.height() + pictureSpacing;
    style()->drawItemText(&painter, QRect(room.left(), top, room.width(), room.bottom() + 1 - top) - overhang, captionFlags,
                          palette(), isEnabled(), text(), QPalette::ButtonText);
}

QPixmap backdropPicture() { return assets::pixmap(assets::Picture::Backdrop, twipScale()); }

void showPicture(QLabel *label, assets::Picture picture)
{
    keepLaidOut(label, [label, picture] { label->setPixmap(assets::pixmap(picture, twipScale())); });
}

} // namespace varnek
