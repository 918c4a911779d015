#pragma once

#include <QStringList>

class QWidget;

// Every caption of the window (labels, buttons, frame titles) measured in its own font against the
// room its control draws it in, independently of how the program fits them. Each fault names the
// control and what it needs; `checked` counts the captions looked at.
QStringList captionFaults(const QWidget *window, int &checked);
