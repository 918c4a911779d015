#include "services.h"

#include "errors.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace varnek {

void Services::reportError(const RuntimeError &error)
{
    QString text = errorKindText(error.kind());
    if (!error.detail().isEmpty())
        text += u'\n' + error.detail();
    message(text, u"Varnek Otomasyon v1.6"_s, Icon::Warning);
}

void QtServices::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

std::optional<QString> QtServices::prompt(const QString &text, const QString &title)
{
    bool ok = false;
    QString answer = QInputDialog::getText(QApplication::activeWindow(), title, text, QLineEdit::Normal,
                                           QString(), &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

void QtServices::endProgram()
{
    // Hiding sends no close event, and exit() (unlike quit()) closes no window on the way out.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

} // namespace varnek
