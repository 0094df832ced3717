#include "tools/picgen/KeyFaces.h"

#include <QPainterPath>
#include <QPolygonF>

#include "tools/picgen/Canvas.h"

namespace kv::tools::picgen {
namespace {

struct LookStyle {
    QColor top;
    QColor bottom;
    QColor ink;
    QPen outline;
};

LookStyle StyleOf(KeyLook look) {
    switch (look) {
        case KeyLook::Learned:
            return {QColor(120, 220, 140), QColor(30, 140, 70), Qt::white,
                    QPen(QColor(10, 60, 25), 2.5)};
        case KeyLook::Selected:
            return {QColor(255, 214, 102), QColor(235, 140, 20), kInk,
                    QPen(kInk, 2.0, Qt::DashLine)};
        case KeyLook::Preset:
            return {QColor(200, 225, 255), QColor(110, 160, 220), kInk,
                    QPen(QColor(20, 50, 110), 1.5, Qt::DotLine)};
        case KeyLook::Normal:
            break;
    }
    return {QColor(110, 110, 116), QColor(48, 48, 52), Qt::white, QPen(QColor(15, 15, 15), 1.0)};
}

void DrawArrow(QPainter& painter, const QRectF& box, const QString& direction, const QColor& ink) {
    const QPointF c = box.center();
    const qreal r = qMin(box.width(), box.height()) * 0.28;
    QPolygonF arrow;
    if (direction == "UP") {
        arrow << QPointF(c.x(), c.y() - r) << QPointF(c.x() - r, c.y() + r * 0.6)
              << QPointF(c.x() + r, c.y() + r * 0.6);
    } else if (direction == "DOWN") {
        arrow << QPointF(c.x(), c.y() + r) << QPointF(c.x() - r, c.y() - r * 0.6)
              << QPointF(c.x() + r, c.y() - r * 0.6);
    } else if (direction == "LEFT") {
        arrow << QPointF(c.x() - r, c.y()) << QPointF(c.x() + r * 0.6, c.y() - r)
              << QPointF(c.x() + r * 0.6, c.y() + r);
    } else {
        arrow << QPointF(c.x() + r, c.y()) << QPointF(c.x() - r * 0.6, c.y() - r)
              << QPointF(c.x() - r * 0.6, c.y() + r);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(arrow);
}

// The power symbol: an open ring with a bar through its gap.
void DrawPowerSymbol(QPainter& painter, const QRectF& box, const QColor& ink) {
    const qreal r = qMin(box.width(), box.height()) * 0.26;
    const QRectF ring(box.center().x() - r, box.center().y() - r, 2 * r, 2 * r);
    painter.setPen(QPen(ink, qMax<qreal>(2.0, r / 3.5), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, 120 * 16, 300 * 16);
    painter.drawLine(QPointF(ring.center().x(), ring.top() - r * 0.25), ring.center());
}

void DrawLookMark(QPainter& painter, const QRectF& body, KeyLook look) {
    const qreal mark = qBound<qreal>(7.0, qMin(body.width(), body.height()) * 0.36, 12.0);
    if (look == KeyLook::Learned) {
        QPolygonF corner;
        corner << body.topRight() << QPointF(body.right() - mark, body.top())
               << QPointF(body.right(), body.top() + mark);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(corner);
        painter.setPen(QPen(QColor(10, 90, 35), 1.4, Qt::SolidLine, Qt::RoundCap));
        const QPointF o(body.right() - mark * 0.42, body.top() + mark * 0.36);
        painter.drawLine(o + QPointF(-mark * 0.22, 0), o + QPointF(-mark * 0.05, mark * 0.18));
        painter.drawLine(o + QPointF(-mark * 0.05, mark * 0.18),
                         o + QPointF(mark * 0.25, -mark * 0.2));
    } else if (look == KeyLook::Selected) {
        painter.save();
        painter.setClipRect(body.adjusted(2, 2, -2, -2));
        painter.setPen(QPen(QColor(0, 0, 0, 60), 2.0));
        for (qreal x = body.left() - body.height(); x < body.right(); x += 7.0) {
            painter.drawLine(QPointF(x, body.bottom()), QPointF(x + body.height(), body.top()));
        }
        painter.restore();
    } else if (look == KeyLook::Preset) {
        painter.setPen(QPen(Qt::white, 1.0));
        painter.setBrush(QColor(20, 50, 110));
        const qreal d = mark * 0.55;
        painter.drawEllipse(QRectF(body.left() + 2.5, body.bottom() - d - 2.5, d, d));
    }
}

}  // namespace

QString KeyFaceLabel(const QString& displayName) {
    const qsizetype slash = displayName.indexOf('/');
    QString label = slash < 0 ? displayName : displayName.mid(slash + 1);
    return label.remove(' ');
}

QImage DrawKeyFace(int width, int height, const QString& displayName, KeyLook look) {
    QImage image = NewCanvas(width, height, QColor(28, 30, 34));
    QPainter painter(&image);
    PreparePainter(painter);
    const LookStyle style = StyleOf(look);
    const QRectF body = QRectF(1, 1, width - 2, height - 2);
    DrawButtonBody(painter, body.toRect(), style.top, style.bottom, style.top.darker(200));
    painter.setPen(style.outline);
    painter.setBrush(Qt::NoBrush);
    const qreal radius = qMin(width, height) / 4.0;
    painter.drawRoundedRect(body.adjusted(1, 1, -1, -1), radius, radius);
    DrawLookMark(painter, body, look);

    const QString label = KeyFaceLabel(displayName);
    if (label == "UP" || label == "DOWN" || label == "LEFT" || label == "RIGHT") {
        DrawArrow(painter, body, label, style.ink);
    } else if (label == "POWER") {
        DrawPowerSymbol(painter, body, look == KeyLook::Normal ? QColor(255, 90, 80) : style.ink);
    } else {
        const QRect textBox = body.adjusted(2, 1, -2, -1).toRect();
        const int maxPixels = qBound(7, height / 2, 14);
        DrawCentredText(painter, textBox, label,
                        FitFont(label, textBox.width(), maxPixels, 6, true), style.ink);
    }
    return image;
}

}  // namespace kv::tools::picgen
