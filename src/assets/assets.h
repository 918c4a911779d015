#pragma once

#include <QIcon>
#include <QPixmap>

namespace varnek::assets {

// The program's fixed pictures, embedded as resources. Nothing is decoded until asked for.
// The icons and the two small button pictures use only the 16 standard colours.
enum class Picture {
    Backdrop,        // 360 x 288 splash / About background
    MainIcon,        // main window icon (32 and 16)
    ConversionIcon,  // both conversion windows (32 and 16)
    RunButton,       // splash "Çalıştır" button picture (32 and 16)
    RateEntryIcon,   // rate-entry window: yellow dotted note sheet (32 and 16)
    BulbOff,         // unlit light bulb, 32 x 32
    BulbOn,          // lit light bulb, 32 x 32
    CalculatorIcon,  // white-gloved hand pressing a grey key (32 and 16)
    SpeechBubble,    // 24 x 22 on a raised grey button face
    Envelope,        // 24 x 22 opened envelope with a red cross on a raised grey button face
    CloseDisc,       // white disc with black outline, transparent ground (32 and 16)
    AboutIcon,       // white letter i on a dark blue disc (32)
    WarningIcon,     // exit confirmation window icon (32)
};

// The largest image of the picture (the backdrop at 360 x 288). On a screen of twice the density
// or more, its double-size copy with a device pixel ratio of 2, so it draws at the same logical
// size. Needs a QGuiApplication.
QPixmap pixmap(Picture picture);
// Every size the picture comes in, so the platform can pick the one it draws best (on a dense
// screen the double-size copies too).
QIcon icon(Picture picture);

} // namespace varnek::assets
