#include "shell/services/layout.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace varnek {

QSize clientSize(int widthTwips, int heightTwips)
{
    return {twipsToPixels(widthTwips), twipsToPixels(heightTwips)};
}

void place(QWidget *widget, const Twips &geometry)
{
    widget->setGeometry(twipsToPixels(geometry.left), twipsToPixels(geometry.top), twipsToPixels(geometry.width),
                        twipsToPixels(geometry.height));
}

Qt::WindowFlags dialogWindowFlags()
{
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

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
        // A box on a black window would otherwise draw its frame in black too.
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    } else {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

void fitTextToWidth(QLabel *label)
{
    // The layout tables were drawn for a narrower dialog font; condense rather than clip. The
    // exact width counts: a text a fraction of a pixel too wide loses the edge of its last letter.
    QFont font = label->font();
    int stretch = 100;
    while (stretch > 50 && QFontMetricsF(font).horizontalAdvance(label->text()) > label->width()) {
        stretch -= 4;
        font.setStretch(stretch);
    }
    label->setFont(font);
}

void shrinkToFit(QLabel *label)
{
    // The layout was drawn for a smaller default face than desktops here tend to have: shrink the
    // font until the fixed text fits, rather than cut off its end.
    const QRect room = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    QFont font = label->font();
    for (qreal size = QFontInfo(font).pointSizeF(); size > 5; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed = QFontMetrics(font).boundingRect(room, flags, label->text());
        if (needed.width() <= room.width() && needed.height() <= room.height())
            break;
    }
    label->setFont(font);
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

void NoCancelDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

Line::Line(QWidget *parent, const QString &name, int x1, int y1, int x2, int y2, int width, const QColor &colour)
    : QWidget(parent)
{
    setObjectName(name);
    const int left = twipsToPixels(std::min(x1, x2));
    const int top = twipsToPixels(std::min(y1, y2));
    const int length = twipsToPixels(std::max(x1, x2)) - left + width;
    const int height = twipsToPixels(std::max(y1, y2)) - top + width;
    // A pen of width w is centred on the line, so the strip starts half a pen before it.
    setGeometry(left - width / 2, top - width / 2, y1 == y2 ? length : width, x1 == x2 ? height : width);
    QPalette palette;
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

} // namespace varnek
