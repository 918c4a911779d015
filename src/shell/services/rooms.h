#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace varnek {

// Two captions side by side keep their letters this far apart, in pixels.
inline constexpr int captionGap = 2;

// Where a caption has to fit: the box its control lays the text out in, and how it draws the text
// there (alignment, wrapping).
struct TextRoom {
    QRect box;
    int flags;
    // The part of the box that no neighbour covers, in which the text must lie as the control lays it
    // out in the whole box; null: all of it.
    QRect clear = {};
    // Inside a frame: the letters' ink too, which in some faces reaches past the font's ascent or
    // descent (a cedilla in Cantarell), must stay inside the box.
    bool framed = false;

    // As the label lays out its text: inside its frame, margin and the indent the program gives it.
    static TextRoom of(const QLabel *label);
    // As the style lays out a plain push button's caption: centred in the button's contents.
    static TextRoom of(const QPushButton *button);
};

// A box the user types in, one line or several.
bool isBox(const QWidget *widget);

// The text a label, button or frame shows; empty for any other control.
QString captionOf(const QWidget *control);

// The window a control is fitted with: its own, or the multiple-document child it lies in.
const QWidget *fittingRoot(const QWidget *widget);

// Where the text starts in its room: its aligned corner or edge.
QPoint textStart(const QRect &room, int flags);

// The room of a caption or box in its window, with what its neighbours leave clear of it (two
// captions side by side captionGap apart), in the control's own coordinates.
TextRoom roomAmongNeighbours(const QWidget *control);

} // namespace varnek
