#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace kv::tools::picgen {

// The window's own blue (the design colour 0xA87C35 read as BGR).
inline const QColor kWindowBlue(53, 124, 168);
inline const QColor kDeepBlue(22, 58, 92);
inline const QColor kPaleBlue(214, 232, 245);
inline const QColor kInk(34, 34, 34);

// Every Chinese text in the pictures is set in this face; the bootstrap
// installs it, and it carries the Latin glyphs too.
inline constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

QFont PixelFont(int pixelSize, bool bold = false);

// The largest font not above maxPixels (and not below minPixels) with which
// text fits into width.
QFont FitFont(const QString& text, int width, int maxPixels, int minPixels = 6, bool bold = false);

// A transparent-free ARGB canvas, antialiased painter ready on it.
QImage NewCanvas(int width, int height, const QColor& fill);
void PreparePainter(QPainter& painter);

void DrawCentredText(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                     const QColor& colour);

// A rounded, softly shaded button body with a one-pixel outline.
void DrawButtonBody(QPainter& painter, const QRect& box, const QColor& top, const QColor& bottom,
                    const QColor& outline);

}  // namespace kv::tools::picgen
