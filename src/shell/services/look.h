#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace varnek {

// The program's green, for texts on black and for boxes, and the darker one its lines are drawn in.
inline constexpr QColor green(0, 255, 0);
inline constexpr QColor lineGreen(0, 192, 0);

// "Fixedsys" is a Windows bitmap font; elsewhere the nearest monospace face stands in.
QFont fixedsysFont();

// A font of the program's own as it is drawn at the twips' scale, as a higher dpi would draw it.
QFont atTwipScale(const QFont &font);

// Gives the control a font of the program's own, which fitting starts from instead of the desktop's.
void setFixedFont(QWidget *control, const QFont &font);

// Text colour on background colour, for labels and boxes. An invalid text colour keeps the desktop's
// where it stands out from the background. Kept when the desktop's colours change.
void setColours(QWidget *widget, const QColor &text, const QColor &background);

// The widget's outline or text, drawn straight on what its parent paints (a picture), keeps the
// desktop's colour only where it stands out from the mean of those pixels by `least`.
void standOutFromWhatIsBehind(QWidget *widget, qreal least);

// Fits every caption and one-line box of the window to its room, from the desktop's font or the
// program's fixed one, and gives every box an edge that stands out and every text the colours it
// was given. A caption that does not fit even at the floors carries its whole text as tooltip and
// accessible description, where the control has none of its own.
void fitToDesktop(QWidget *window);

// Takes the twips' scale the desktop's font asks for, as far as the windows built so far fit the
// screen; those already fitted are laid out and fitted again where it changed. Before a window is
// built, so that it is built at that scale.
void followDesktopScale();

// Fits the window when it is first shown and every window again when the desktop's font, colours,
// style or theme change while the program runs.
void followDesktop(QWidget *window);

} // namespace varnek
