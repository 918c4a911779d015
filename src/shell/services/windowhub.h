#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace varnek {

class Services;

// The program's eight windows, each a single instance reached by its designer name.
enum class WindowName { splash, MDIForm1, atldendovize, adovizdentlye, Form2, hesapmakinesi, frmAbout, uyari };

enum class Arrangement { Cascade, TileSideBySide };

// How windows reach each other without including each other; implemented once, where every
// window is known.
class WindowHub {
public:
    virtual ~WindowHub() = default;

    // Creates the window on first use (a conversion window needs the main window first).
    virtual QWidget *window(WindowName name) = 0;
    // The window if it exists now, without creating it.
    virtual QWidget *existing(WindowName name) const = 0;
    // Create if needed, make visible, bring to the front; contents untouched.
    virtual void show(WindowName name) = 0;
    virtual void hide(WindowName name) = 0;
    // Create if needed, without making it visible.
    virtual void load(WindowName name) = 0;
    virtual void unload(WindowName name) = 0;
    // For the main window's children only.
    virtual void setChildState(WindowName name, Qt::WindowStates state) = 0;
    virtual void arrange(Arrangement arrangement) = 0;
    virtual Services &services() = 0;

    // Reads and writes the whole text of a named box in another window, creating that window
    // if needed; writing runs no handler.
    QString boxText(WindowName window, const QString &box);
    void setBoxText(WindowName window, const QString &box, const QString &text);
};

// The same for a window at hand; a box is a single- or multi-line text box.
QString boxText(QWidget *window, const QString &box);
void setBoxText(QWidget *window, const QString &box, const QString &text);

} // namespace varnek
