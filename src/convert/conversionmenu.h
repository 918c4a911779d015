#pragma once

#include <QList>

class QMenu;
class QWidget;

namespace varnek {

class WindowHub;
class ConversionWindow;

// Builds the seven menus that a conversion window carries and the main window shows.
QList<QMenu *> createConversionMenus(ConversionWindow &window, WindowHub &hub);

} // namespace varnek
