#pragma once

#include "shell/services/widgets.h"

class QPushButton;

namespace varnek {

class WindowHub;

// "Dikkat!": the only way, besides the splash window, to end the program.
class uyari final : public NoCancelDialog {
    Q_OBJECT

public:
    explicit uyari(WindowHub &hub);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void answerNo();

    WindowHub &m_hub;
    QPushButton *m_no;
};

} // namespace varnek
