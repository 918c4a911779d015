#pragma once

#include <QColor>
#include <QRectF>

class QImage;

namespace varnek {

// WCAG's contrast arithmetic only: what lies behind a text is for the caller to find.

// WCAG's least contrast for text, and for lines and frames.
inline constexpr qreal textContrast = 4.5;
inline constexpr qreal lineContrast = 3.0;

// WCAG's relative luminance: 0 for black, 1 for white.
qreal relativeLuminance(const QColor &colour);

// WCAG's contrast ratio of two relative luminances, from 1 to 21.
qreal contrastRatio(qreal luminance, qreal otherLuminance);

// The mean relative luminance of a picture under a rectangle given in device-independent pixels, as
// the picture is drawn from the top left at its own device pixel ratio. Nothing for an empty overlap.
qreal meanLuminance(const QImage &picture, const QRectF &area);

// The desktop's colour where it contrasts enough with what lies behind, else black or white,
// whichever contrasts more.
QColor standingOut(const QColor &wanted, qreal backgroundLuminance, qreal minimum);

} // namespace varnek
