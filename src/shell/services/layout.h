#pragma once

#include "shell/types/tabletext.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>

class QFont;

namespace varnek {

// Positions in the layout tables are twips, 1/1440 inch. At the desktops' usual text sizes 15
// twips are one logical pixel; a larger desktop font makes the twip larger by one scale, as a
// higher logical dpi would.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

// The scale twips are laid out at now; 1 unless the desktop's font is larger than 11 pt.
qreal twipScale();

// The scale a desktop font asks for, from its one input: the font's pixel size at the screen's
// logical dpi. 1 up to 11 pt at 96 dpi; above, the font's pixels over those of the size the
// windows' captions were drawn for, so that captions keep close to the desktop's size.
qreal scaleForFont(const QFont &desktop, qreal logicalDpi);

// The largest scale at which every window's client area the program has laid out fits the room.
qreal largestFittingScale(QSize room);

// Lays every placed control, line, picture and window out again at the given scale. Windows keep
// their top-left corner.
void layOutAgain(qreal scale);

int twipsToPixels(int twips);

QSize clientSize(int widthTwips, int heightTwips);

// Fixes the window's client area to the size in twips, kept at the scale's size.
void fixClientSize(QWidget *window, int widthTwips, int heightTwips);

// Places the control at the twips, kept at the scale's place.
void place(QWidget *widget, const Twips &geometry);

// Creates a control of type T under its designer name and places it.
template <typename T>
T *makeControl(QWidget *parent, const QString &name, const Twips &geometry)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    place(control, geometry);
    return control;
}

// How the widget is laid out at the present scale, run now and again at every new scale.
void keepLaidOut(QWidget *widget, std::function<void()> layOut);

// A fixed dialog frame: title bar with a close button only, no entry in the task bar.
Qt::WindowFlags dialogWindowFlags();

// Moves a window to the middle of its screen's free area, and again at each new scale until it is
// first shown.
void centreOnScreen(QWidget *window);

} // namespace varnek
