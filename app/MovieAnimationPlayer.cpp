#include "app/MovieAnimationPlayer.h"

namespace kv::app {

MovieAnimationPlayer::MovieAnimationPlayer() : screen_(new QLabel) {
    screen_->setAlignment(Qt::AlignCenter);
    screen_->setScaledContents(true);
}

MovieAnimationPlayer::~MovieAnimationPlayer() {
    Stop();
    if (screen_ != nullptr) {
        screen_->setMovie(nullptr);
        if (screen_->parent() == nullptr) {
            delete screen_.data();
        }
    }
}

void MovieAnimationPlayer::Load(const std::string& movieFile) {
    Stop();
    // A file that is missing or unreadable leaves an empty player: the
    // animation is a decoration, and learning goes on without it.
    auto movie = std::make_unique<QMovie>(QString::fromStdString(movieFile));
    if (screen_ != nullptr) {
        screen_->setMovie(movie.get());
    }
    movie_ = std::move(movie);
}

void MovieAnimationPlayer::Play() {
    if (movie_ != nullptr && movie_->isValid()) {
        movie_->start();
    }
}

void MovieAnimationPlayer::Stop() {
    if (movie_ != nullptr) {
        movie_->stop();
    }
}

bool MovieAnimationPlayer::Playing() const {
    return movie_ != nullptr && movie_->state() == QMovie::Running;
}

}  // namespace kv::app
