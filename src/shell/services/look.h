#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace varnek {

// The program's green, for texts on black and for boxes, and the darker one its lines are drawn in.
inline constexpr QColor green(0, 255, 0);
inline constexpr QColor lineGreen(0, 192, 0);

// "Fixedsys" is a Windows bitmap font; elsewhere the nearest monospace face stands in.
QFont fixedsysFont();

// Text colour on background colour, for labels and boxes.
void setColours(QWidget *widget, const QColor &text, const QColor &background);

// Where a text has to fit: a box, and how the text is drawn in it (alignment, wrapping).
struct TextRoom {
    QRect box;
    int flags;

    // One line of the given width, however tall the line.
    static TextRoom line(int width);
    // The whole of the label, as it lays out its text.
    static TextRoom of(const QLabel *label);
};

enum class Shrink {
    Narrower, // condense the face, keeping its height
    Smaller,  // lower the point size
};

// The layout tables were drawn for a narrower, smaller dialog font than desktops here tend to have:
// rather than cut a text off, its font gives way step by step until the text fits, or until it can
// give no more. The font comes back unchanged when the text fits already.
QFont fittedFont(QFont font, const QString &text, const TextRoom &room, Shrink how);

// Narrows a label's font when its text is wider than the label.
void fitTextToWidth(QLabel *label);

// Makes a label's font smaller until its text, wrapped if the label wraps, fits inside it.
void shrinkToFit(QLabel *label);

} // namespace varnek
