#pragma once

#include <QString>

class QWidget;

namespace varnek {

// Tells a screen reader `text` (a result just written into `source`) while the keyboard stays where
// it is. Qt has no announcement event: the control that has the keyboard in `source`'s window takes
// `text` as its accessible description, reported as a change, until the user goes on in it (the next
// key there, or the keyboard leaving it), when it gets its own back. On Windows, whose bridge passes
// no description change on, a UI Automation notification carries the text. With the keyboard in no
// control of that window, nothing is told.
void announce(QWidget *source, const QString &text);

// Gives the program's text boxes (one-line boxes and MultiLineBox) an accessibility interface of the
// program's own, which reads a number whole: Qt 6.4's gives a one-line box's text attributes ranges
// of no length, from which Orca drops the last character, and a multi-line box's line and word as
// laid out on screen ("25,9740" of "25,974025974026"). A box whose caption stands on other rows as
// well is announced by its own name, which names the row, not by that caption. Once per program,
// after the QApplication is made; later calls do nothing.
void installBoxAccessibility();

} // namespace varnek
