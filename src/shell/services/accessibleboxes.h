#pragma once

#include <QAccessibleInterface>
#include <QString>

namespace varnek {

// The program's own accessibility interface for a one-line box or a MultiLineBox, or null for any
// other object: an accessibility factory (see installBoxAccessibility).
QAccessibleInterface *boxInterface(const QString &className, QObject *object);

} // namespace varnek
