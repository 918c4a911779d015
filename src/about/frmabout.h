#pragma once

#include "shell/services/widgets.h"

#include <QDialog>

namespace varnek {

// The About window: fixed texts over the splash picture, and "TAMAM" to close it.
class frmAbout final : public OnBackdrop<QDialog> {
    Q_OBJECT

public:
    frmAbout();
};

} // namespace varnek
