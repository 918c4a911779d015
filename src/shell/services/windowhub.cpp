#include "shell/services/windowhub.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace varnek {

namespace {

QWidget *findBox(QWidget *window, const QString &box)
{
    auto *widget = window->findChild<QWidget *>(box);
    Q_ASSERT_X(qobject_cast<QLineEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget), "findBox",
               qPrintable(box));
    return widget;
}

} // namespace

QString boxText(QWidget *window, const QString &box)
{
    QWidget *widget = findBox(window, box);
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    return static_cast<QPlainTextEdit *>(widget)->toPlainText();
}

void setBoxText(QWidget *window, const QString &box, const QString &text)
{
    QWidget *widget = findBox(window, box);
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        line->setText(text);
    else
        static_cast<QPlainTextEdit *>(widget)->setPlainText(text);
}

QString WindowHub::boxText(WindowName window, const QString &box) { return varnek::boxText(this->window(window), box); }

void WindowHub::setBoxText(WindowName window, const QString &box, const QString &text)
{
    varnek::setBoxText(this->window(window), box, text);
}

} // namespace varnek
