#pragma once

#include <QString>

class QWidget;

namespace varnek {

// Tells a screen reader `text` once (a result just written into `source`, or what a button of its
// window did), while the keyboard stays where it is and nothing changes on screen. Qt 6.4 has no
// announcement: the window's notice, a notification that draws nothing and takes no room, is shown
// with the text, which Orca reads out as it appears; nothing is left behind on a control. On Windows,
// whose bridge passes no notification on, a UI Automation notification carries the text, and from
// Qt 6.8 on Qt's own announcement does, on every platform.
void announce(QWidget *source, const QString &text);

// The object name of a window's notice, which the program's layout tables and caption fitting never
// hold.
inline constexpr char16_t noticeName[] = u"varnekNotice";

// Gives the program's text boxes (one-line boxes and MultiLineBox) an accessibility interface of the
// program's own, which reads a number whole: Qt 6.4's gives a one-line box's text attributes ranges
// of no length, from which Orca drops the last character, and a multi-line box's line and word as
// laid out on screen ("25,9740" of "25,974025974026"). A box whose caption stands on other rows as
// well is announced by its own name, which names the row, not by that caption. Once per program,
// after the QApplication is made; later calls do nothing.
void installBoxAccessibility();

} // namespace varnek
