#pragma once

#include "shell/types/tabletext.h"

#include <QSize>
#include <QString>
#include <QWidget>

namespace varnek {

// Positions in the layout tables are twips; 15 twips are one logical pixel.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr int twipsToPixels(int twips) { return (twips + 7) / 15; }

QSize clientSize(int widthTwips, int heightTwips);
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

// A fixed dialog frame: title bar with a close button only, no entry in the task bar.
Qt::WindowFlags dialogWindowFlags();

// Moves a window, at its present size, to the middle of its screen's free area.
void centreOnScreen(QWidget *window);

} // namespace varnek
