#include "tools/picgen/WindowBackground.h"

#include <QLinearGradient>

#include "tools/picgen/Canvas.h"

namespace kv::tools::picgen {
namespace {

void DrawFrame(QPainter& painter, const QRectF& box, int alpha) {
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
    painter.setBrush(QColor(kDeepBlue.red(), kDeepBlue.green(), kDeepBlue.blue(), alpha));
    painter.drawRoundedRect(box, 8, 8);
}

void DrawSideBand(QPainter& painter, int height) {
    QLinearGradient band(0, 0, 146, 0);
    band.setColorAt(0.0, kDeepBlue);
    band.setColorAt(1.0, kWindowBlue);
    painter.fillRect(QRect(0, 0, 146, height), band);
    painter.setPen(QColor(255, 255, 255, 220));
    painter.setFont(PixelFont(30, true));
    const QString title = QStringLiteral("红外学习");
    for (int i = 0; i < title.size(); ++i) {
        painter.drawText(QRect(40, 170 + i * 58, 60, 50), Qt::AlignCenter, title.mid(i, 1));
    }
    DrawCentredText(painter, QRect(8, 430, 130, 60),
                    QStringLiteral("点左边遥控器上的按键，\n用原遥控器对准发码"), PixelFont(11),
                    QColor(220, 232, 245));
}

void DrawHeader(QPainter& painter) {
    painter.setPen(Qt::white);
    painter.setFont(PixelFont(30, true));
    painter.drawText(QRect(372, 28, 560, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KV R207A 遥控器自学习"));
    painter.setFont(PixelFont(13));
    painter.setPen(QColor(210, 228, 245));
    painter.drawText(QRect(374, 70, 560, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("为酒店多功能遥控器学习房间原有遥控器的按键"));
    // The three command buttons stand on a darker strip at the right edge.
    DrawFrame(painter, QRectF(964.5, 2.5, 61, 134), 150);
}

void DrawInformationCard(QPainter& painter) {
    DrawFrame(painter, QRectF(478.5, 104.5, 400, 150), 120);
    painter.setFont(PixelFont(14, true));
    painter.setPen(QColor(200, 222, 240));
    const struct {
        int top;
        const char* caption;
    } rows[] = {
        {118, "遥控器型号："}, {152, "软件版本："}, {188, "固件版本："}, {226, "连接状态："}};
    for (const auto& row : rows) {
        painter.drawText(QRect(492, row.top - 3, 116, 22), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromUtf8(row.caption));
    }
}

}  // namespace

QImage DrawWindowBackground(int width, int height) {
    QImage image = NewCanvas(width, height, kWindowBlue);
    QPainter painter(&image);
    PreparePainter(painter);
    QLinearGradient face(0, 0, 0, height);
    face.setColorAt(0.0, kWindowBlue.lighter(112));
    face.setColorAt(1.0, kWindowBlue.darker(125));
    painter.fillRect(image.rect(), face);
    DrawSideBand(painter, height);
    DrawHeader(painter);
    DrawInformationCard(painter);
    DrawFrame(painter, QRectF(464.5, 266.5, 430, 136), 90);  // hint and status line
    DrawFrame(painter, QRectF(464.5, 404.5, 430, 182), 60);  // state panels
    DrawFrame(painter, QRectF(464.5, 624.5, 430, 64), 90);   // begin and delete buttons
    DrawCentredText(painter, QRect(372, height - 34, 640, 20),
                    QStringLiteral("学习完成后请点击「停止学习」，确认后按键编码才写入遥控器"),
                    PixelFont(12), QColor(225, 235, 245));
    return image;
}

QImage DrawSplash(int width, int height) {
    QImage image = NewCanvas(width, height, kDeepBlue);
    QPainter painter(&image);
    PreparePainter(painter);
    QLinearGradient face(0, 0, width, height);
    face.setColorAt(0.0, kWindowBlue.lighter(120));
    face.setColorAt(1.0, kDeepBlue);
    painter.fillRect(image.rect(), face);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, width - 2, height - 2));

    // A small handset at the left, its window sending three arcs.
    painter.setPen(QPen(QColor(200, 205, 215), 1.5));
    painter.setBrush(QColor(36, 38, 42));
    painter.drawRoundedRect(QRectF(36, 60, 56, 150), 18, 18);
    painter.setBrush(QColor(150, 30, 40));
    painter.drawRoundedRect(QRectF(52, 68, 24, 8), 3, 3);
    painter.setBrush(QColor(110, 110, 116));
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            painter.drawRoundedRect(QRectF(44 + column * 14, 90 + row * 22, 11, 14), 3, 3);
        }
    }
    painter.setBrush(Qt::NoBrush);
    for (int arc = 0; arc < 3; ++arc) {
        const qreal r = 14 + arc * 12;
        painter.setPen(
            QPen(QColor(255, 210, 120, 230 - arc * 60), 3.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(64 - r, 72 - r, 2 * r, 2 * r), 30 * 16, 60 * 16);
    }

    DrawCentredText(painter, QRect(120, 52, width - 140, 50), QStringLiteral("KV R207A"),
                    PixelFont(40, true), Qt::white);
    DrawCentredText(painter, QRect(120, 104, width - 140, 34), QStringLiteral("遥控器自学习软件"),
                    PixelFont(24, true), QColor(230, 240, 250));
    DrawCentredText(painter, QRect(120, 160, width - 140, 24),
                    QStringLiteral("正在连接遥控器，请稍候……"), PixelFont(14),
                    QColor(210, 228, 245));
    DrawCentredText(painter, QRect(120, 214, width - 140, 20), QStringLiteral("V 2.2"),
                    PixelFont(12), QColor(190, 210, 230));
    return image;
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PreparePainter(painter);
    const qreal s = size / 128.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWindowBlue);
    painter.drawRoundedRect(QRectF(4 * s, 4 * s, 120 * s, 120 * s), 24 * s, 24 * s);
    painter.setPen(QPen(QColor(210, 215, 225), 2 * s));
    painter.setBrush(QColor(36, 38, 42));
    painter.drawRoundedRect(QRectF(22 * s, 40 * s, 40 * s, 76 * s), 12 * s, 12 * s);
    painter.setBrush(QColor(200, 40, 50));
    painter.drawRoundedRect(QRectF(34 * s, 46 * s, 16 * s, 6 * s), 2 * s, 2 * s);
    painter.setBrush(QColor(150, 150, 156));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            painter.drawRoundedRect(
                QRectF((30 + column * 14) * s, (62 + row * 16) * s, 10 * s, 10 * s), 3 * s, 3 * s);
        }
    }
    painter.setBrush(Qt::NoBrush);
    for (int arc = 0; arc < 3; ++arc) {
        const qreal r = (18 + arc * 16) * s;
        painter.setPen(QPen(QColor(255, 200, 90), 7 * s, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(42 * s - r, 46 * s - r, 2 * r, 2 * r), 15 * 16, 60 * 16);
    }
    return image;
}

}  // namespace kv::tools::picgen
