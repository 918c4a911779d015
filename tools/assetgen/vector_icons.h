#pragma once

#include "fonts.h"

#include <QImage>
#include <QPainter>

#include <functional>

// Icons drawn as shapes in the standard colours, 32 x 32 unless said otherwise.
namespace assetgen {

// Without antialiasing every pixel keeps the one colour it was drawn in. At a scale of 2 the
// shapes are drawn twice as large, with outlines twice as wide.
QImage drawn(int width, int height, bool transparentGround, const std::function<void(QPainter &)> &draw,
             int scale);

void drawMain(QPainter &p);
void drawConversion(QPainter &p, const Fonts &fonts);
void drawRun(QPainter &p);
void drawRateEntry(QPainter &p);
void drawBulb(QPainter &p, bool lit);
// 24 x 22, on a raised button face.
void drawSpeechBubble(QPainter &p);
void drawEnvelope(QPainter &p);
// size x size.
void drawCloseDisc(QPainter &p, int size);
void drawAbout(QPainter &p);
void drawWarning(QPainter &p);

} // namespace assetgen
