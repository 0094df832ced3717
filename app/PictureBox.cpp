#include "app/PictureBox.h"

#include <QPainter>

namespace kv::app {

void PictureBox::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull()) {
        return;
    }
    QPainter painter(this);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), pixmap_);
    } else {
        painter.drawPixmap(0, 0, pixmap_);
    }
}

}  // namespace kv::app
