#pragma once

namespace varnek {

// Installs Qt's Turkish catalogue, then the program's own, which wins where both have a text: all
// of the program's text is Turkish, whatever the system's language. Call it once the application
// object exists and before any window is made, as Qt names some texts only when it makes a widget.
// A second call does nothing.
void loadCatalogues();

} // namespace varnek
