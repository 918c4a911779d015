#pragma once

#include <QDir>

namespace assetgen {

// The application icon for the desktop into the hicolor theme under themes: the PNG sizes that
// desktops look for, and the scalable SVG.
bool saveApplicationIcons(const QDir &themes);

} // namespace assetgen
