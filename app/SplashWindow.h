#pragma once

#include <QWidget>

namespace kv::app {

// The start-up window ("启动界面"): one picture, no border, at a fixed place,
// on screen while the remote is identified.
class TForm1 final : public QWidget {
  public:
    TForm1();
};

}  // namespace kv::app
