#pragma once

#include "fonts.h"

#include <QImage>

namespace assetgen {

// The backdrop: a hazy sunlit harbour city, thrown out of focus, with the lettering in focus.
// The same scene at any whole multiple of its 360 x 288 size: the random draws that place things
// do not depend on the scale, and blurs widen with it.
QImage backdrop(const Fonts &fonts, int scale);

} // namespace assetgen
