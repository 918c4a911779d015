#pragma once

#include "shell/services/windowhub.h"

#include <QPointer>
#include <QWidget>

#include <array>

namespace varnek {

class ConversionWindow;
class MDIForm1;

// Knows every window: creates each on first use, forgets it when it is destroyed.
class Registry final : public WindowHub {
public:
    explicit Registry(Services &services);
    ~Registry() override;
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    void show(WindowName name) override;
    void hide(WindowName name) override;
    void load(WindowName name) override;
    void setChildState(WindowName name, Qt::WindowStates state) override;
    void setRate(WindowName name, Currency currency, const QString &text) override;
    void arrange(Arrangement arrangement) override;
    Services &services() override { return m_services; }

    // Beyond what windows ask of each other: the program's start, and tests.
    // Creates the window on first use.
    QWidget *window(WindowName name);
    // The window if it exists now, without creating it.
    QWidget *existing(WindowName name) const;
    void unload(WindowName name);

private:
    static bool isChild(WindowName name);
    ConversionWindow *child(WindowName name);
    QWidget *create(WindowName name);
    MDIForm1 *mainWindow();

    Services &m_services;
    std::array<QPointer<QWidget>, windowCount> m_windows;
};

} // namespace varnek
