#include "tools/picgen/CommandFaces.h"

#include <QPolygonF>

#include "tools/picgen/Canvas.h"

namespace kv::tools::picgen {
namespace {

void DrawCloseIcon(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap));
    const qreal r = box.height() * 0.28;
    const QPointF c = box.center();
    painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void DrawUpdateIcon(QPainter& painter, const QRectF& box) {
    const qreal r = box.height() * 0.3;
    const QRectF ring(box.center().x() - r, box.center().y() - r, 2 * r, 2 * r);
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, 60 * 16, 280 * 16);
    QPolygonF head;
    const QPointF tip(ring.center().x() + r * 0.5, ring.top() + r * 0.13);
    head << tip + QPointF(-4, -4) << tip + QPointF(4, 0) << tip + QPointF(-4, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(head);
}

QColor WideColour(WideButton button) {
    switch (button) {
        case WideButton::BeginStudy:
            return QColor(40, 160, 80);
        case WideButton::StopStudy:
        case WideButton::StopDelete:
            return QColor(200, 55, 45);
        case WideButton::Delete:
            return QColor(230, 130, 30);
        case WideButton::DeleteGrey:
            break;
    }
    return QColor(150, 150, 150);
}

QString WideCaption(WideButton button) {
    switch (button) {
        case WideButton::BeginStudy:
            return QStringLiteral("开始学习");
        case WideButton::StopStudy:
            return QStringLiteral("停止学习");
        case WideButton::StopDelete:
            return QStringLiteral("停止删除");
        case WideButton::Delete:
        case WideButton::DeleteGrey:
            break;
    }
    return QStringLiteral("删除按键");
}

// A play triangle to begin, a square to stop, a cross to delete.
void DrawWideIcon(QPainter& painter, WideButton button, const QRectF& box, const QColor& ink) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const QPointF c = box.center();
    if (button == WideButton::BeginStudy) {
        painter.drawPolygon(QPolygonF()
                            << c + QPointF(-6, -8) << c + QPointF(9, 0) << c + QPointF(-6, 8));
    } else if (button == WideButton::StopStudy || button == WideButton::StopDelete) {
        painter.drawRect(QRectF(c.x() - 7, c.y() - 7, 14, 14));
    } else {
        painter.setPen(QPen(ink, 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(c + QPointF(-6, -6), c + QPointF(6, 6));
        painter.drawLine(c + QPointF(-6, 6), c + QPointF(6, -6));
    }
}

}  // namespace

QImage DrawCommandFace(Command command, int width, int height) {
    QImage image = NewCanvas(width, height, QColor(22, 58, 92));
    QPainter painter(&image);
    PreparePainter(painter);
    DrawButtonBody(painter, QRect(2, 1, width - 4, height - 2), kWindowBlue.lighter(135), kDeepBlue,
                   QColor(10, 30, 50));
    const QRectF icon(0, 1, width, height - 15);
    QString caption;
    switch (command) {
        case Command::Close:
            DrawCloseIcon(painter, icon);
            caption = QStringLiteral("关闭");
            break;
        case Command::Update:
            DrawUpdateIcon(painter, icon);
            caption = QStringLiteral("升级");
            break;
        case Command::Help:
            DrawCentredText(painter, icon.toRect(), QStringLiteral("?"), PixelFont(22, true),
                            Qt::white);
            caption = QStringLiteral("帮助");
            break;
    }
    DrawCentredText(painter, QRect(0, height - 16, width, 14), caption, PixelFont(11), Qt::white);
    return image;
}

QImage DrawWideButton(WideButton button, int width, int height) {
    QImage image = NewCanvas(width, height, QColor(22, 58, 92));
    QPainter painter(&image);
    PreparePainter(painter);
    const QColor colour = WideColour(button);
    const bool grey = button == WideButton::DeleteGrey;
    if (grey) {
        painter.setPen(QPen(QColor(90, 90, 90), 1.5, Qt::DashLine));
        painter.setBrush(QColor(175, 175, 175));
        painter.drawRoundedRect(QRectF(1, 1, width - 2, height - 2), 9, 9);
    } else {
        DrawButtonBody(painter, QRect(0, 0, width, height), colour.lighter(130), colour.darker(130),
                       colour.darker(220));
    }
    const QColor ink = grey ? QColor(110, 110, 110) : QColor(Qt::white);
    DrawWideIcon(painter, button, QRectF(8, 0, 28, height), ink);
    DrawCentredText(painter, QRect(34, 0, width - 42, height), WideCaption(button),
                    PixelFont(17, true), ink);
    return image;
}

}  // namespace kv::tools::picgen
