#include "app/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

#include "app/SplashWindow.h"
#include "app/StyleLibraryEncoder.h"

namespace kv::app {
namespace {

constexpr int kSplashPauseMs = 500;

// Gives the style library no chance yet: no code style is known, so every
// capture goes to the external converter.
class NoKeyRecordEncoder final : public workflow::KeyRecordEncoder {
  public:
    std::string Encode(std::string_view, int, const std::string&) override { return {}; }
};

// Waits on the splash without taking the operator's clicks, while the window
// system may still repaint it.
void PauseOnSplash() {
    QEventLoop pause;
    QTimer::singleShot(kSplashPauseMs, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

ProgramSetup DefaultProgramSetup() {
    ProgramSetup setup;
    setup.programDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/";
    setup.virtualRemoteFolder = device::DefaultVirtualRemoteFolder();
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    setup.animationFile = QDir(runtime.isEmpty() ? QDir::tempPath() : runtime)
                              .filePath(QStringLiteral("888.gif"))
                              .toStdString();
    return setup;
}

std::unique_ptr<Program> Program::Create(const ProgramSetup& setup, QString& error) {
    auto program = std::unique_ptr<Program>(new Program(setup, {}));
    program->device_ = device::OpenRemoteDevice(
        {setup.programDir.toStdString(), setup.virtualRemoteFolder, setup.searchSystemLibraryPath},
        program->clock_);
    if (program->device_.device == nullptr) {
        error = QString::fromStdString(program->device_.error);
        return nullptr;
    }
    device::RemoteDevice& remote = *program->device_.device;
    program->threads_ = std::make_unique<workflow::DeviceWorkerThreads>(
        remote, program->clock_, program->dispatcher_, program->dialogs_);
    workflow::MainWindowPorts ports{remote,
                                    program->dialogs_,
                                    program->pictures_,
                                    program->displayModes_,
                                    program->animation_,
                                    program->converter_,
                                    *program->encoder_,
                                    *program->threads_};
    workflow::MainWindowSettings settings{setup.programDir.toStdString(), setup.animationFile,
                                          [] { QCoreApplication::processEvents(); }};
    program->window_ = std::make_unique<workflow::Tmainlernix>(ports, settings);
    program->view_ = std::make_unique<MainWindowView>(
        *program->window_,
        MainWindowView::Setup{program->pictures_, program->dialogs_, OpenWithDesktop,
                              setup.programDir + QStringLiteral("studyhelp.html"),
                              program->animation_.Screen()});
    if (program->device_.virtualRemote != nullptr) {
        program->panel_ = std::make_unique<VirtualRemotePanel>(*program->device_.virtualRemote);
    }
    return program;
}

Program::Program(const ProgramSetup& setup, device::RemoteDeviceChoice device)
    : setup_(setup),
      device_(std::move(device)),
      pictures_(setup.programDir),
      converter_(setup.programDir.toStdString()),
      encoder_(std::make_unique<StyleLibraryEncoder>()) {}

Program::~Program() {
    // The window goes first: its close joins the workers that use the device.
    panel_.reset();
    view_.reset();
    window_.reset();
    threads_.reset();
}

void Program::Start() {
    auto splash = std::make_unique<TForm1>();
    splash->show();
    splash->repaint();
    // Identification's boxes belong to the splash and block only it, so the
    // virtual remote's window beside it stays usable: a person can plug the
    // remote in while the box waits for it.
    dialogs_.SetParentWindow(splash.get());
    ShowPanelBeside(*splash);
    QCoreApplication::processEvents();

    window_->FormCreate();
    PauseOnSplash();
    dialogs_.SetParentWindow(nullptr);
    splash->hide();
    splash.reset();

    // The message loop shows the main window, so its show step, and every
    // box that raises, runs inside the loop that a close will quit.
    QMetaObject::invokeMethod(
        view_.get(), [this] { ShowMainWindow(); }, Qt::QueuedConnection);
}

void Program::ShowMainWindow() {
    dialogs_.SetParentWindow(view_.get());
    view_->CentreOnScreen();
    view_->show();
    if (panel_ == nullptr) {
        return;
    }
    if (window_->Model().Closed()) {
        panel_->hide();
    } else {
        ShowPanelBeside(*view_);
    }
}

void Program::ShowPanelBeside(const QWidget& window) {
    if (panel_ == nullptr) {
        return;
    }
    panel_->adjustSize();
    // Beside the window where the screen has room, else at its edge.
    int left = window.frameGeometry().right() + 12;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        left = std::max(0, std::min(left, screen->availableGeometry().right() - panel_->width()));
    }
    panel_->move(left, window.geometry().top());
    panel_->show();
    panel_->raise();
}

int Program::Run() {
    // The virtual remote's control window must not keep the program alive.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(view_.get(), &MainWindowView::closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    Start();
    return QApplication::exec();
}

}  // namespace kv::app
