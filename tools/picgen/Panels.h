#pragma once

#include <QImage>

namespace kv::tools::picgen {

// The four state panels that share one area of the window; one shows at a time.
enum class Panel {
    LearnedKeysExist,  // idle, some key is learned
    Learning,          // learning switched on
    Deleting,          // delete mode
    NoLearnedKey,      // idle, nothing learned yet
};

QImage DrawPanel(Panel panel, int width, int height);

// The hint pictures above the status line.
QImage DrawIdleHint(int width, int height);      // idle, or a code was received
QImage DrawLearningHint(int width, int height);  // learning on, waiting for a key

}  // namespace kv::tools::picgen
