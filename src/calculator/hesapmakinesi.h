#pragma once

#include "shell/services/layout.h"
#include <QKeySequence>
#include <QLabel>

class QLineEdit;

namespace varnek {

class Services;
class WindowHub;

// A label or picture box that acts as a button: a click is a press and a release inside it.
// Assistive technology sees a push button that it can press. It takes no keyboard focus; a
// shortcut, active while its window is, can press it instead.
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

    void setShortcut(const QKeySequence &keys);
    QKeySequence shortcut() const { return m_shortcut; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QKeySequence m_shortcut;
};

// "Hesap Makinesi": two numbers, four operations, the result in a third box. The boxes are its
// only state.
class hesapmakinesi final : public NoCancelDialog {
    Q_OBJECT

public:
    explicit hesapmakinesi(WindowHub &hub);

private:
    void calculate(double (*operation)(double, double));

    QLineEdit *m_first;
    QLineEdit *m_second;
    QLineEdit *m_result;
};

} // namespace varnek
