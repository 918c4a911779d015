#include "shell/services/services.h"

#include "shell/types/errors.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace varnek {

void Services::reportError(const RuntimeError &error)
{
    QString text = errorKindText(error.kind());
    if (!error.detail().isEmpty())
        text += u'\n' + error.detail();
    message(text, programTitle.toString(), Icon::Warning);
}

void QtServices::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    // Qt's own button texts are English unless a translation is installed.
    box.button(QMessageBox::Ok)->setText(u"Tamam"_s);
    box.exec();
}

std::optional<QString> QtServices::prompt(const QString &text, const QString &title)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setOkButtonText(u"Tamam"_s);
    dialog.setCancelButtonText(u"İptal"_s);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtServices::endProgram()
{
    // Hiding sends no close event, and exit() (unlike quit()) closes no window on the way out.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

} // namespace varnek
