#pragma once

#include <QImage>
#include <QString>

namespace kv::tools::picgen {

// The four looks of a key. Each differs from the others in shape as well as
// colour, so that a colour-blind operator (or a grey printout) tells them
// apart: normal is plain; learned carries a check-mark corner and a heavy
// outline; selected has a dashed outline and stripes; preset carries a dot in
// its lower-left corner and a dotted outline.
enum class KeyLook { Normal, Learned, Selected, Preset };

// What a key shows on its face: the name after the group ("TV/ VOL+" shows
// "VOL+"), the inner spaces dropped.
QString KeyFaceLabel(const QString& displayName);

QImage DrawKeyFace(int width, int height, const QString& displayName, KeyLook look);

}  // namespace kv::tools::picgen
