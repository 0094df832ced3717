#include "tools/picgen/RemoteBody.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include "tools/picgen/Canvas.h"

namespace kv::tools::picgen {
namespace {

void DrawHandset(QPainter& painter, const QRectF& shell) {
    QLinearGradient side(shell.topLeft(), shell.topRight());
    side.setColorAt(0.0, QColor(58, 60, 66));
    side.setColorAt(0.5, QColor(36, 38, 42));
    side.setColorAt(1.0, QColor(20, 21, 24));
    painter.setPen(QPen(QColor(170, 175, 185), 2.0));
    painter.setBrush(side);
    painter.drawRoundedRect(shell, 38, 38);
    // The face plate, a shade lighter, framed by a thin silver rim.
    painter.setPen(QPen(QColor(90, 94, 102), 1.0));
    painter.setBrush(QColor(30, 32, 36));
    painter.drawRoundedRect(shell.adjusted(6, 20, -6, -44), 30, 30);
}

void DrawInfraRedWindow(QPainter& painter, const QRectF& shell) {
    const QRectF window(shell.center().x() - 24, shell.top() + 3, 48, 11);
    QRadialGradient glass(window.center(), 26);
    glass.setColorAt(0.0, QColor(150, 30, 40));
    glass.setColorAt(1.0, QColor(50, 5, 10));
    painter.setPen(QPen(QColor(15, 15, 15), 1.0));
    painter.setBrush(glass);
    painter.drawRoundedRect(window, 6, 6);
}

void DrawGroupCaption(QPainter& painter, const QRect& box, const QString& caption) {
    painter.setPen(QPen(QColor(120, 125, 135), 1.0));
    painter.drawLine(box.left(), box.center().y(), box.left() + 14, box.center().y());
    painter.drawLine(box.right() - 14, box.center().y(), box.right(), box.center().y());
    DrawCentredText(painter, box, caption, PixelFont(10, true), QColor(190, 195, 205));
}

}  // namespace

QImage DrawRemoteBody(int width, int height) {
    QImage image = NewCanvas(width, height, kWindowBlue);
    QPainter painter(&image);
    PreparePainter(painter);
    const QRectF shell(3, 3, width - 6, height - 6);
    DrawHandset(painter, shell);
    DrawInfraRedWindow(painter, shell);
    // The TV keys end above 212 and the IPTV keys start below it.
    DrawGroupCaption(painter, QRect(60, 19, 80, 12), QStringLiteral("TV"));
    DrawGroupCaption(painter, QRect(50, 201, 100, 12), QStringLiteral("IPTV"));
    painter.setPen(QPen(QColor(80, 84, 92), 1.0));
    painter.drawLine(QPointF(16, 211.5), QPointF(width - 16, 211.5));

    DrawCentredText(painter, QRect(0, height - 78, width, 22), QStringLiteral("KV R207A"),
                    PixelFont(16, true), QColor(215, 220, 228));
    DrawCentredText(painter, QRect(0, height - 56, width, 16), QStringLiteral("酒店多功能遥控器"),
                    PixelFont(11), QColor(150, 156, 168));
    return image;
}

}  // namespace kv::tools::picgen
