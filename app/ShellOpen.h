#pragma once

#include <QString>
#include <functional>

namespace kv::app {

// Hands a file to the desktop's "open" action. Passed to the image buttons so
// that tests can see the calls without starting programs.
using ShellOpen = std::function<void(const QString& path)>;

// The desktop's own "open": only for a file that exists, so that a key's
// display name such as "TV/POWER" fails as quietly as the shell would.
void OpenWithDesktop(const QString& path);

}  // namespace kv::app
