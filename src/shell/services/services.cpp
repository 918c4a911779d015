#include "shell/services/services.h"

#include "shell/services/widgets.h"
#include "shell/types/errors.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

using namespace Qt::StringLiterals;

namespace varnek {

namespace {

// Runs a modal box built over `owner`, the window active when it was asked for. Once the box is
// gone a window manager may hand the keyboard to another window (openbox passes over tool windows
// such as Form2 for the main window), so the owner takes it back, on the control that had it.
int execOver(QDialog &box, QWidget *owner)
{
    const QPointer<QWidget> window = owner;
    const QPointer<QWidget> control = owner ? owner->focusWidget() : nullptr;
    const int result = box.exec();
    if (window && window->isVisible()) {
        window->activateWindow();
        if (control && control->isVisible())
            control->setFocus(Qt::ActiveWindowFocusReason);
    }
    return result;
}

} // namespace

void Services::reportError(const RuntimeError &error)
{
    QString text = errorKindText(error.kind());
    if (!error.detail().isEmpty())
        text += u'\n' + error.detail();
    message(text, programTitle.toString(), Icon::Warning);
}

void QtServices::message(const QString &text, const QString &title, Icon icon)
{
    QWidget *owner = QApplication::activeWindow();
    // The buttons' texts come from Qt's Turkish catalogue (loadCatalogues).
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, owner);
    execOver(box, owner);
}

std::optional<QString> QtServices::prompt(const QString &text, const QString &title)
{
    QWidget *owner = QApplication::activeWindow();
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    // Makes its field now, a one-line box, so that Qt's default limit can be lifted before any typing.
    dialog.setInputMode(QInputDialog::TextInput);
    if (auto *field = dialog.findChild<QLineEdit *>())
        takeAnyLength(field);
    if (execOver(dialog, owner) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtServices::endProgram()
{
    // Qt 6.4's Wayland plugin handles events on threads of its own, which its teardown races: a
    // window destroyed in mid frame callback, then the connection's close waiting forever for that
    // thread. Every save is done by now, so there the program ends at once, and the compositor
    // takes every window down with it.
    if (QApplication::platformName().startsWith(u"wayland"_s)) {
#ifdef __SANITIZE_ADDRESS__
        __lsan_do_leak_check(); // the check that exit makes
#endif
        std::fflush(nullptr);
        std::_Exit(0);
    }
    // Hiding sends no close event, and exit() (unlike quit()) closes no window on the way out.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

} // namespace varnek
