#pragma once

#include <QFont>
#include <QList>

class QWidget;

namespace varnek {

// How far a caption or box may give way to fit its room. Legibility first: a letter loses more by
// narrowing than by a smaller size.
namespace fitLimits {
// The smallest size, in points, and the steps down to it.
inline constexpr qreal floorPoints = 6;
inline constexpr qreal sizeStep = 0.5;
// Widths in percent of the face's own: at most this much narrower above the floor, and at it.
inline constexpr int fullStretch = 100;
inline constexpr int stretchStep = 5;
inline constexpr int narrowestAbove = 90;
inline constexpr int narrowestAtFloor = 80;
} // namespace fitLimits

// The sizes and widths a caption tries, in order: from its starting size down by sizeStep to the
// floor (the steps on a fixed grid, so a larger start never ends lower), at each full width and then
// narrower to narrowestAbove; at the floor narrower still, to narrowestAtFloor.
QList<QFont> fittingOrder(const QFont &start);

// Fits the caption or one-line box to its room among its neighbours, from the desktop's font or
// the program's fixed one. A caption that does not fit even at the floors carries its whole text
// as tooltip and accessible description, where the control has none of its own.
void fitControl(QWidget *control);

} // namespace varnek
