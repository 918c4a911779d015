#pragma once

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

namespace varnek {

// What the program asked of a control, kept so that a change of desktop can apply it afresh, and
// what the look layer did to it that it may have to take back.
struct Wishes {
    // The font fitting starts from instead of the desktop's.
    std::optional<QFont> fixedFont;
    // Colours given with setColours(), none while the background is invalid; an invalid text colour
    // keeps the desktop's where it stands out.
    QColor text;
    QColor background;
    // Drawn straight on a picture: the contrast its text or outline keeps with what lies behind.
    std::optional<qreal> leastContrast;
    // The look layer gave it a palette, which a later desktop may no longer need.
    bool coloured = false;
    // Its caption did not fit and its whole text was told as tooltip and description.
    bool toldWhole = false;
};

// The control's wishes; none asked: all empty.
Wishes wishesOf(const QWidget *control);

// The control's wishes to change; forgotten when the control is destroyed.
Wishes &wishesFor(QWidget *control);

} // namespace varnek
