#pragma once

#include <QDialog>
#include <QPixmap>

namespace varnek {

// The About window: fixed texts over the splash picture, and "TAMAM" to close it.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    frmAbout();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_backdrop;
};

} // namespace varnek
