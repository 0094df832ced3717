#pragma once

#include <QPixmap>
#include <QWidget>

namespace kv::app {

// A picture control: draws its picture at its top-left corner, or stretched
// over the whole control.
class PictureBox final : public QWidget {
  public:
    PictureBox(bool stretch, QWidget* parent) : QWidget(parent), stretch_(stretch) {}
    void SetPixmap(const QPixmap& pixmap) {
        pixmap_ = pixmap;
        update();
    }
    const QPixmap& Pixmap() const { return pixmap_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool stretch_;
    QPixmap pixmap_;
};

}  // namespace kv::app
