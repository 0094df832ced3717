#include "app/QtUiDispatcher.h"

#include <QThread>

namespace kv::app {

QtUiDispatcher::QtUiDispatcher() = default;

void QtUiDispatcher::post(std::function<void()> task) {
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

void QtUiDispatcher::invoke(std::function<void()> task) {
    // A blocking call from the UI thread itself would wait for ever.
    if (QThread::currentThread() == context_.thread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::BlockingQueuedConnection);
}

}  // namespace kv::app
