#pragma once

#include <QObject>

#include "device/UiDispatcher.h"

namespace kv::app {

// Runs the workers' window work on the thread of the context object (the
// UI thread): queued for post, blocking for invoke. Must be created on the
// UI thread.
class QtUiDispatcher final : public device::UiDispatcher {
  public:
    QtUiDispatcher();
    void post(std::function<void()> task) override;
    void invoke(std::function<void()> task) override;

  private:
    QObject context_;
};

}  // namespace kv::app
