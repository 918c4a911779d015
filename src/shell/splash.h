#pragma once

#include "shell/services/widgets.h"

#include <QWidget>

namespace varnek {

class WindowHub;

// The first window: the picture and two buttons, borderless, centred on the screen.
class splash final : public OnBackdrop<QWidget> {
    Q_OBJECT

public:
    explicit splash(WindowHub &hub);
};

} // namespace varnek
