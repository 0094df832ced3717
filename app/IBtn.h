#pragma once

#include <QWidget>

#include "app/PictureStore.h"
#include "app/ShellOpen.h"
#include "workflow/ImageButton.h"

namespace kv::app {

// The program's picture button on screen. Its state (faces, IsEnable, Code,
// Path, position) is the window model's IBtn; this widget draws it and gives
// it the mouse: each press of a mouse button moves it by MoveDown and
// MoveRight and hands Path to the desktop; each release delivers the click
// first (left button, over the button) and moves it back after, so a click
// handler runs while the button is still moved.
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
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void OpenPath();
    // A hidden or disabled button gets no more releases: it moves back now
    // rather than stay shifted for good.
    void MoveBackHeldPresses();

    workflow::IBtn& model_;
    const PictureLookup& pictures_;
    ShellOpen shell_;
    // Presses whose release has not moved the button back yet.
    int heldPresses_ = 0;
};

}  // namespace kv::app
