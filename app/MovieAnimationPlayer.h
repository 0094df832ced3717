#pragma once

#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <memory>

#include "workflow/AnimationPlayer.h"

namespace kv::app {

// Plays the learning animation with a QMovie on a label that the main window
// places where `donghuaflash2` sits. The window model decides whether the
// label shows; this only loads, starts and stops the movie.
class MovieAnimationPlayer final : public workflow::AnimationPlayer {
  public:
    MovieAnimationPlayer();
    ~MovieAnimationPlayer() override;

    // The label the movie plays on; the main window takes it as its child.
    QLabel* Screen() const { return screen_.data(); }

    void Load(const std::string& movieFile) override;
    void Play() override;
    void Stop() override;

    bool Playing() const;

  private:
    QPointer<QLabel> screen_;
    std::unique_ptr<QMovie> movie_;
};

}  // namespace kv::app
