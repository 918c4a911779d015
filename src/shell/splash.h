#pragma once

#include <QPixmap>
#include <QWidget>

namespace varnek {

class WindowHub;

// The first window: the picture and two buttons, borderless, centred on the screen.
class splash final : public QWidget {
    Q_OBJECT

public:
    explicit splash(WindowHub &hub);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_backdrop;
};

} // namespace varnek
