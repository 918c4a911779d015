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

} // namespace varnek
