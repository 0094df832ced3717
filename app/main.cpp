// kvlearn: teaches infra-red key codes to the KV R207A hotel remote.
#include <QApplication>
#include <QMessageBox>

#include "app/Program.h"

// The program start: the splash, the main window with the remote's
// identification, then the message loop until the main window closes.
static int qidong(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvlearn"));

    QString error;
    const auto program = kv::app::Program::Create(kv::app::DefaultProgramSetup(), error);
    if (program == nullptr) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kv::device::kAppTitle), error);
        return 1;
    }
    return program->Run();
}

int main(int argc, char** argv) {
    return qidong(argc, argv);
}
