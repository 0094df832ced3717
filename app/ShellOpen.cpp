#include "app/ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace kv::app {

void OpenWithDesktop(const QString& path) {
    const QFileInfo file(path);
    if (file.exists()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    }
}

}  // namespace kv::app
