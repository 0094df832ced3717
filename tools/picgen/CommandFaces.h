#pragma once

#include <QImage>

namespace kv::tools::picgen {

enum class Command { Close, Update, Help };
// The small round buttons at the window's top right, icon over a caption.
QImage DrawCommandFace(Command command, int width, int height);

enum class WideButton { BeginStudy, StopStudy, Delete, DeleteGrey, StopDelete };
// The wide buttons under the panels. The grey delete face is told from the
// usable one by its dashed outline and flat fill, not by colour alone.
QImage DrawWideButton(WideButton button, int width, int height);

}  // namespace kv::tools::picgen
