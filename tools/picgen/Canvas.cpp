#include "tools/picgen/Canvas.h"

#include <QFontMetrics>
#include <QLinearGradient>

namespace kv::tools::picgen {

QFont PixelFont(int pixelSize, bool bold) {
    QFont font(kFontFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont FitFont(const QString& text, int width, int maxPixels, int minPixels, bool bold) {
    int size = maxPixels;
    for (; size > minPixels; --size) {
        if (QFontMetrics(PixelFont(size, bold)).horizontalAdvance(text) <= width) {
            break;
        }
    }
    return PixelFont(size, bold);
}

QImage NewCanvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void PreparePainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

void DrawCentredText(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                     const QColor& colour) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void DrawButtonBody(QPainter& painter, const QRect& box, const QColor& top, const QColor& bottom,
                    const QColor& outline) {
    QLinearGradient shade(box.topLeft(), box.bottomLeft());
    shade.setColorAt(0.0, top);
    shade.setColorAt(1.0, bottom);
    const qreal radius = qMin(box.width(), box.height()) / 4.0;
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

}  // namespace kv::tools::picgen
