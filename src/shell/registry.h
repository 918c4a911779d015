#pragma once

#include "shell/services/windowhub.h"

#include <QPointer>
#include <QWidget>

#include <array>

namespace varnek {

class MDIForm1;

// Knows every window: creates each on first use, forgets it when it is destroyed.
class Registry final : public WindowHub {
public:
    explicit Registry(Services &services);
    ~Registry() override;
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    QWidget *window(WindowName name) override;
    QWidget *existing(WindowName name) const override;
    void show(WindowName name) override;
    void hide(WindowName name) override;
    void load(WindowName name) override;
    void unload(WindowName name) override;
    void setChildState(WindowName name, Qt::WindowStates state) override;
    void arrange(Arrangement arrangement) override;
    Services &services() override { return m_services; }

private:
    static bool isChild(WindowName name);
    QWidget *create(WindowName name);
    MDIForm1 *mainWindow();

    Services &m_services;
    std::array<QPointer<QWidget>, 8> m_windows;
};

} // namespace varnek
