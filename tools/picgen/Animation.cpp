#include "tools/picgen/Animation.h"

#include "tools/picgen/Canvas.h"

namespace kv::tools::picgen {
namespace {

void DrawSmallRemote(QPainter& painter, const QRectF& box, const QColor& body, bool lit) {
    painter.setPen(QPen(QColor(200, 205, 215), 1.0));
    painter.setBrush(body);
    painter.drawRoundedRect(box, 8, 8);
    painter.setBrush(lit ? QColor(255, 60, 50) : QColor(110, 20, 25));
    painter.drawRoundedRect(QRectF(box.right() - 7, box.center().y() - 6, 5, 12), 2, 2);
    painter.setBrush(QColor(120, 120, 126));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            painter.drawRoundedRect(
                QRectF(box.left() + 6 + column * 11, box.top() + 7 + row * 12, 8, 8), 2, 2);
        }
    }
}

}  // namespace

QList<QImage> DrawLearningAnimation(int width, int height, int frameCount) {
    QList<QImage> frames;
    const QRectF sender(14, 20, 62, 34);
    const QRectF receiver(width - 84, 20, 62, 34);
    const qreal startX = sender.right() + 4;
    const qreal endX = receiver.left() - 8;
    for (int frame = 0; frame < frameCount; ++frame) {
        QImage image = NewCanvas(width, height, QColor(246, 250, 253));
        QPainter painter(&image);
        PreparePainter(painter);
        painter.setPen(QPen(kDeepBlue, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(1, 1, width - 2, height - 2), 10, 10);
        DrawSmallRemote(painter, sender, QColor(60, 62, 70), frame % 2 == 0);
        DrawSmallRemote(painter, receiver, QColor(30, 32, 36), frame == frameCount - 1);

        // Three wave fronts travel from left to right, one step per frame.
        for (int wave = 0; wave < 3; ++wave) {
            const qreal phase = (frame + wave * frameCount / 3.0) / frameCount;
            const qreal x = startX + (endX - startX) * (phase - static_cast<int>(phase));
            const qreal r = 14;
            painter.setPen(QPen(QColor(230, 120, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
            painter.drawArc(QRectF(x - r, sender.center().y() - r, 2 * r, 2 * r), -45 * 16,
                            90 * 16);
        }
        const QString dots = QString(".").repeated(frame % 4);
        DrawCentredText(painter, QRect(0, height - 30, width, 24),
                        QStringLiteral("请把原遥控器对准学习遥控器，按下对应按键") + dots,
                        PixelFont(15, true), kDeepBlue);
        frames.append(image);
    }
    return frames;
}

}  // namespace kv::tools::picgen
