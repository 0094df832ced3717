#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kv::tools::picgen {

// An endlessly looping animated GIF of equally timed frames, all of the
// first frame's size. Qt reads GIF but cannot write it, so the encoder is
// here: one global palette, LZW with 12-bit codes.
QByteArray EncodeAnimatedGif(const QList<QImage>& frames, int delayCentiseconds);

}  // namespace kv::tools::picgen
