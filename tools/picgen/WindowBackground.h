#pragma once

#include <QImage>

namespace kv::tools::picgen {

// The main window's background: the blue face with the title, the captions
// of the four information labels, and quiet frames behind the hint, status,
// panel and button areas, all at the places where the window puts its controls.
QImage DrawWindowBackground(int width, int height);

// The picture of the start-up window, shown while the remote is identified.
QImage DrawSplash(int width, int height);

// The program's icon for the desktop's menus: a handset sending light.
QImage DrawProgramIcon(int size);

}  // namespace kv::tools::picgen
