#include "tools/picgen/Panels.h"

#include <QPolygonF>
#include <QStringList>

#include "tools/picgen/Canvas.h"
#include "tools/picgen/KeyFaces.h"

namespace kv::tools::picgen {
namespace {

const QColor kCard(246, 250, 253);

QImage NewCard(int width, int height) {
    QImage image = NewCanvas(width, height, kWindowBlue);
    QPainter painter(&image);
    PreparePainter(painter);
    painter.setPen(QPen(kDeepBlue, 1.0));
    painter.setBrush(kCard);
    painter.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 10, 10);
    return image;
}

void DrawTitle(QPainter& painter, int width, const QString& title, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(8, 8, width - 16, 28), 6, 6);
    DrawCentredText(painter, QRect(8, 8, width - 16, 28), title, PixelFont(16, true), Qt::white);
}

void DrawLines(QPainter& painter, const QRect& box, const QStringList& lines) {
    painter.setFont(PixelFont(13));
    painter.setPen(kInk);
    int top = box.top();
    for (const QString& line : lines) {
        painter.drawText(QRect(box.left(), top, box.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                         line);
        top += 21;
    }
}

// The four looks side by side, so that the operator can read the remote.
void DrawLegend(QPainter& painter, int top, int width) {
    const struct {
        KeyLook look;
        const char* caption;
    } looks[] = {{KeyLook::Normal, "未学习"},
                 {KeyLook::Preset, "预置编码"},
                 {KeyLook::Learned, "已学习"},
                 {KeyLook::Selected, "正在学习"}};
    const int step = (width - 20) / 4;
    int left = 10;
    for (const auto& entry : looks) {
        painter.drawImage(QPoint(left + 4, top), DrawKeyFace(40, 28, "TV/KEY", entry.look));
        painter.setFont(PixelFont(12));
        painter.setPen(kInk);
        painter.drawText(QRect(left + 46, top, step - 48, 28), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(entry.caption));
        left += step;
    }
}

QImage DrawHint(int width, int height, const QString& text, bool pointLeft) {
    QImage image = NewCanvas(width, height, kCard);
    QPainter painter(&image);
    PreparePainter(painter);
    painter.setPen(QPen(kDeepBlue, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(1, 1, width - 2, height - 2), 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 120, 30));
    if (pointLeft) {
        const qreal c = height / 2.0;
        QPolygonF arrow;
        arrow << QPointF(14, c) << QPointF(44, c - 22) << QPointF(44, c - 9) << QPointF(74, c - 9)
              << QPointF(74, c + 9) << QPointF(44, c + 9) << QPointF(44, c + 22);
        painter.drawPolygon(arrow);
    } else {
        painter.drawEllipse(QRectF(18, height / 2.0 - 24, 48, 48));
        DrawCentredText(painter, QRect(18, height / 2 - 24, 48, 48), QStringLiteral("i"),
                        PixelFont(30, true), Qt::white);
    }
    DrawCentredText(painter, QRect(86, 6, width - 96, height - 12), text, PixelFont(18, true),
                    kDeepBlue);
    return image;
}

}  // namespace

QImage DrawPanel(Panel panel, int width, int height) {
    QImage image = NewCard(width, height);
    QPainter painter(&image);
    PreparePainter(painter);
    const QRect text(18, 44, width - 30, height - 80);
    switch (panel) {
        case Panel::LearnedKeysExist:
            DrawTitle(painter, width, QStringLiteral("遥控器上已有学习过的按键"), kDeepBlue);
            DrawLines(painter, text,
                      {QStringLiteral("· 点击「开始学习」，可学习新的按键或重新学习；"),
                       QStringLiteral("· 点击「删除按键」，可逐个删除已学习的按键。")});
            DrawLegend(painter, height - 38, width);
            break;
        case Panel::Learning:
            DrawTitle(painter, width, QStringLiteral("学习状态"), QColor(30, 140, 70));
            DrawLines(painter, text,
                      {QStringLiteral("1. 在左面遥控器上点击要学习的按键；"),
                       QStringLiteral("2. 把原遥控器对准学习遥控器，按住对应按键；"),
                       QStringLiteral("3. 收到编码后可继续学习下一个按键；"),
                       QStringLiteral("4. 全部学完点击「停止学习」，确认后写入遥控器。")});
            break;
        case Panel::Deleting:
            DrawTitle(painter, width, QStringLiteral("删除状态"), QColor(190, 50, 40));
            DrawLines(painter, text,
                      {QStringLiteral("· 在左面遥控器上点击带对勾角标的已学习按键，"),
                       QStringLiteral("  确认后即删除该按键的学习编码；"),
                       QStringLiteral("· 删除完毕点击「停止删除」，删除的结果写入遥控器。")});
            DrawLegend(painter, height - 38, width);
            break;
        case Panel::NoLearnedKey:
            DrawTitle(painter, width, QStringLiteral("遥控器上还没有学习过的按键"), kDeepBlue);
            DrawLines(painter, text,
                      {QStringLiteral("· 点击「开始学习」，再点击左面遥控器上的按键，"),
                       QStringLiteral("  然后用原遥控器对准学习遥控器按下对应按键。")});
            DrawLegend(painter, height - 38, width);
            break;
    }
    return image;
}

QImage DrawIdleHint(int width, int height) {
    return DrawHint(width, height, QStringLiteral("欢迎使用！点击下方「开始学习」按钮开始学习按键"),
                    false);
}

QImage DrawLearningHint(int width, int height) {
    return DrawHint(width, height, QStringLiteral("请在左面遥控器上点击待学习的按键"), true);
}

}  // namespace kv::tools::picgen
