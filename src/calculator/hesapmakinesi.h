#pragma once

#include <QDialog>
#include <QLabel>

class QLineEdit;

namespace varnek {

class Services;
class WindowHub;

// A label or picture box that acts as a button: a click is a press and a release inside it.
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// "Hesap Makinesi": two numbers, four operations, the result in a third box. The boxes are its
// only state.
class hesapmakinesi final : public QDialog {
    Q_OBJECT

public:
    explicit hesapmakinesi(WindowHub &hub);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void calculate(double (*operation)(double, double));

    QLineEdit *m_first;
    QLineEdit *m_second;
    QLineEdit *m_result;
};

} // namespace varnek
