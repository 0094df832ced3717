#pragma once

#include <QImage>
#include <QList>

namespace kv::tools::picgen {

// The learning animation: the room's remote at the left sends waves of light
// across to the learning remote at the right, while the text asks for the key.
QList<QImage> DrawLearningAnimation(int width, int height, int frameCount);

}  // namespace kv::tools::picgen
