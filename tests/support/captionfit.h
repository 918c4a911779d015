#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

// Every caption of the window (labels, buttons, frame titles) and one-line box, judged as Qt lays
// them out and as they are drawn, independently of how the program fits them: whole in the room
// its control draws it in, clear of its neighbours (another caption's letters by 2 pixels, lines,
// boxes, buttons), legible (6 pt at least, narrowed by 10 % at most, 20 % at 6 pt), no larger than
// the desktop's font and no smaller than it must be (one step larger or wider would not fit); a
// box's line within its text area. Each fault names the control and what is wrong; `checked`
// counts the controls looked at.
QStringList captionFaults(const QWidget *window, const QFont &desktop, int &checked);
