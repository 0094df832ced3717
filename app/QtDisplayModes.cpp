#include "app/QtDisplayModes.h"

#include <QGuiApplication>
#include <QScreen>

namespace kv::app {

int QtDisplayModes::ScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 0 : screen->size().width();
}

int QtDisplayModes::ScreenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 0 : screen->size().height();
}

}  // namespace kv::app
