#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace varnek {

// The program's green, for texts on black and for boxes, and the darker one its lines are drawn in.
inline constexpr QColor green(0, 255, 0);
inline constexpr QColor lineGreen(0, 192, 0);

// "Fixedsys" is a Windows bitmap font; elsewhere the nearest monospace face stands in.
QFont fixedsysFont();

// Gives the control a font of the program's own, which fitting starts from instead of the desktop's.
void setFixedFont(QWidget *control, const QFont &font);

// Text colour on background colour, for labels and boxes. An invalid text colour keeps the desktop's
// where it stands out from the background. Kept when the desktop's colours change.
void setColours(QWidget *widget, const QColor &text, const QColor &background);

// The widget's outline or text, drawn straight on what its parent paints (a picture), keeps the
// desktop's colour only where it stands out from the mean of those pixels by `least`.
void standOutFromWhatIsBehind(QWidget *widget, qreal least);

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
    // The frame's title: on its top line, between the frame's sides.
    static TextRoom of(const QGroupBox *frame);
    // A one-line box's text area: the style's contents less the text margins; one line high.
    static TextRoom of(const QLineEdit *box);
};

bool textFits(const QFont &font, const QString &text, const TextRoom &room);

// The sizes and widths a caption tries, in order: from its starting size down in half points to a
// floor of 6 pt (the half points on a fixed grid, so a larger start never ends lower), at each full
// width and then at most 10 % narrower; at the floor narrower still, to 80 %. Legibility first: a
// letter loses more by narrowing than by a smaller size.
QList<QFont> fittingOrder(const QFont &start);

// The first font in fittingOrder() the caption fits with; the last one when none does.
QFont fittedFont(const QFont &start, const QString &text, const TextRoom &room);

// A one-line box's font: the starting one while its line fits the text area, else half a point
// smaller at a time, down to the floor.
QFont fittedBoxFont(const QFont &start, const TextRoom &room);

// The room of a caption or box in its window, with what its neighbours leave clear of it (two
// captions side by side a gap of 2 pixels), in the control's own coordinates.
TextRoom roomAmongNeighbours(const QWidget *control);

// Fits every caption and one-line box of the window to its room, from the desktop's font or the
// program's fixed one, and gives every box an edge that stands out and every text the colours it
// was given. A caption that does not fit even at the floors carries its whole text as tooltip and
// accessible description, where the control has none of its own.
void fitToDesktop(QWidget *window);

// Fits the window when it is first shown and every window again when the desktop's font, colours,
// style or theme change while the program runs.
void followDesktop(QWidget *window);

} // namespace varnek
