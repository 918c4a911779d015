#include "support/captionfit.h"

#include "shell/services/widgets.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

using namespace Qt::StringLiterals;

namespace {

QString overflow(const QFont &font, const QRect &room, int flags, const QString &text)
{
    const QSizeF needed = QFontMetricsF(font).boundingRect(QRectF(room), flags, text).size();
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return {};
    return u"needs %1x%2 in %3x%4"_s.arg(needed.width(), 0, 'f', 1).arg(needed.height(), 0, 'f', 1)
        .arg(room.width()).arg(room.height());
}

QString labelFault(const QLabel *label)
{
    QRect room = label->contentsRect();
    // A framed label keeps half an x clear on its left, as QLabel lays it out.
    if (label->frameWidth() > 0 && label->indent() < 0)
        room.setLeft(room.left() + label->fontMetrics().horizontalAdvance(u'x') / 2);
    const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
    return overflow(label->font(), room, flags, label->text());
}

QString buttonFault(const QAbstractButton *button)
{
    // A button with a picture above its caption wraps the caption below the picture; a flat one
    // is drawn as a label, its caption on one line across the whole of it.
    const auto *push = qobject_cast<const QPushButton *>(button);
    const bool flat = push && push->isFlat();
    const bool pictureAbove = push && !flat && !button->icon().isNull();
    QStyleOptionButton option;
    option.initFrom(button);
    const bool autoDefault = push && push->autoDefault();
    if (autoDefault)
        option.features |= QStyleOptionButton::AutoDefaultButton;
    QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    // Qt's own push button clips its caption there; the program's draws it inside the frame.
    if (!pictureAbove && !flat && qobject_cast<const varnek::PictureButton *>(button)) {
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button)
            + (autoDefault ? button->style()->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, button) : 0);
        room |= button->rect().adjusted(frame, frame, -frame, -frame);
    }
    if (pictureAbove)
        room.setTop(room.top() + button->iconSize().height());
    else if (flat)
        room = button->contentsRect();
    const int flags = flat ? int(Qt::AlignLeft | Qt::AlignVCenter)
                           : int(Qt::AlignHCenter | Qt::AlignTop | (pictureAbove ? Qt::TextWordWrap : 0));
    return overflow(button->font(), room, flags, button->text().remove(u'&'));
}

template <typename Captioned>
void check(const QWidget *window, QString (*fault)(const Captioned *), QStringList &faults, int &checked)
{
    for (const Captioned *widget : window->findChildren<Captioned *>()) {
        if (widget->text().isEmpty())
            continue;
        ++checked;
        if (const QString found = fault(widget); !found.isEmpty())
            faults << widget->objectName() + u": "_s + found;
    }
}

} // namespace

QStringList captionFaults(const QWidget *window, int &checked)
{
    QStringList faults;
    check(window, labelFault, faults, checked);
    check(window, buttonFault, faults, checked);
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        ++checked;
        if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width())
            faults << frame->objectName() + u": title wider than the frame"_s;
    }
    return faults;
}
