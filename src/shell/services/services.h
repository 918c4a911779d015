#pragma once

#include <QString>
#include <QStringView>

#include <optional>

class QWidget;

namespace varnek {

class RuntimeError;

// The main window's title; error messages carry it too. A test holds its version to the project's.
inline constexpr QStringView programTitle = u"Varnek Otomasyon v1.6";

// Everything modal, and ending the program, goes through here so tests can script it.
class Services {
public:
    enum class Icon { None, Warning };

    virtual ~Services() = default;

    virtual void message(const QString &text, const QString &title, Icon icon) = 0;
    // The typed text on OK; nothing on Cancel.
    virtual std::optional<QString> prompt(const QString &text, const QString &title) = 0;
    // Ends the program at once: no window gets a close event.
    virtual void endProgram() = 0;

    void reportError(const RuntimeError &error);
};

// The real thing: QMessageBox, QInputDialog and the event loop's exit.
class QtServices final : public Services {
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> prompt(const QString &text, const QString &title) override;
    void endProgram() override;
};

} // namespace varnek
