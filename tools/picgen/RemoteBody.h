#pragma once

#include <QImage>

namespace kv::tools::picgen {

// The picture of the learning remote that the key buttons sit on: a dark
// handset with its infra-red window at the top, the TV group and the IPTV
// group, and the model name at the foot.
QImage DrawRemoteBody(int width, int height);

}  // namespace kv::tools::picgen
