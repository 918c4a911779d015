#pragma once

#include "shell/types/currency.h"

#include <QString>
#include <Qt>

#include <cstddef>

namespace varnek {

class Services;

// The program's eight windows, each a single instance reached by its designer name.
// `last` moves with a new name: tables of every window take their size from it.
enum class WindowName {
    splash,
    MDIForm1,
    atldendovize,
    adovizdentlye,
    Form2,
    hesapmakinesi,
    frmAbout,
    uyari,
    last = uyari
};
inline constexpr std::size_t windowCount = std::size_t(WindowName::last) + 1;

enum class Arrangement { Cascade, TileSideBySide };

// How windows reach each other without including each other; implemented once, where every
// window is known. Each call creates the window it names if needed (a conversion window needs
// the main window first).
class WindowHub {
public:
    virtual ~WindowHub() = default;

    // Make visible, bring to the front; contents untouched.
    virtual void show(WindowName name) = 0;
    virtual void hide(WindowName name) = 0;
    // Create without making it visible (the main window's load step then shows it).
    virtual void load(WindowName name) = 0;
    virtual void arrange(Arrangement arrangement) = 0;
    // The next two are for the main window's children, atldendovize and adovizdentlye; naming any
    // other window is a programming error, thrown as std::invalid_argument in every build.
    virtual void setChildState(WindowName name, Qt::WindowStates state) = 0;
    // Replaces the text of the currency's rate box; runs no handler.
    virtual void setRate(WindowName name, Currency currency, const QString &text) = 0;
    virtual Services &services() = 0;
};

} // namespace varnek
