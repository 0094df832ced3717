#pragma once

#include <QWidget>

#include "app/PictureStore.h"
#include "app/ShellOpen.h"
#include "workflow/ImageButton.h"

namespace kv::app {

// The program's picture button on screen. Its state (faces, IsEnable, Code,
// Path, position) is the window model's IBtn; this widget draws it and gives
// it the mouse: pressed, it moves by MoveDown and MoveRight and hands Path to
// the desktop; released, it delivers the click first and moves back after,
// so a click handler runs while the button is still moved.
class IBtn final : public QWidget {
    Q_OBJECT
  public:
    IBtn(workflow::IBtn& model, const PictureLookup& pictures, ShellOpen shell, QWidget* parent);

    workflow::IBtn& Model() { return model_; }
    // Takes the model's current position, picture, enabled state and hint.
    void Sync();

  signals:
    void clicked();
    void mouseMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void OpenPath();

    workflow::IBtn& model_;
    const PictureLookup& pictures_;
    ShellOpen shell_;
    bool pressed_ = false;
};

}  // namespace kv::app
