#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPixmap>
#include <QTemporaryDir>
#include <memory>

#include "app/MainWindowView.h"
#include "app/PictureStore.h"
#include "tests/workflow/MainWindowFixture.h"
#include "tests/workflow/WorkflowFakes.h"
#include "workflow/MainWindow.h"

namespace kv::app::testing {

// Each picture a solid colour chosen by its reference, so that a test can
// tell from a grabbed pixel which picture a widget shows.
class ColourPictures final : public PictureLookup {
  public:
    void Set(const workflow::PictureRef& picture, QColor colour) {
        colours_.insert(QString::fromStdString(picture.ToString()), colour);
    }
    QPixmap Pixmap(const workflow::PictureRef& picture) const override {
        const auto found = colours_.find(QString::fromStdString(picture.ToString()));
        if (found == colours_.end()) {
            return {};
        }
        QPixmap pixmap(200, 200);
        pixmap.fill(found.value());
        return pixmap;
    }

  private:
    QHash<QString, QColor> colours_;
};

// The folder of the test program, where the build puts the picture libraries.
inline QString ProgramDir() {
    return QCoreApplication::applicationDirPath() + "/";
}

// A basic information that identification accepts.
inline std::string AcceptedBasicInfo() {
    return workflow::testing::BasicInfo("01", "02", "7315");
}

// The main window with fake ports around it, the real picture libraries (or
// those of `pictureDir`) and the real view on top.
class WindowUnderTest {
  public:
    explicit WindowUnderTest(const QString& pictureDir = ProgramDir())
        : pictures_(pictureDir),
          window_(workflow::MainWindowPorts{remote, dialogs, pictures_, displayModes, animation,
                                            converter, encoder, threads},
                  workflow::MainWindowSettings{ProgramDir().toStdString(),
                                               animationDir_.filePath("888.gif").toStdString(),
                                               {}}) {
        remote.basicInfo = AcceptedBasicInfo();
        remote.table = workflow::testing::PresetTable();
        view_ = std::make_unique<MainWindowView>(
            window_, MainWindowView::Setup{pictures_, dialogs,
                                           [this](const QString& path) { shellCalls.append(path); },
                                           animationDir_.filePath("studyhelp.html"), nullptr});
    }

    // Creation with identification, then the show that loads the pictures.
    void Start() {
        window_.FormCreate();
        view_->show();
    }

    workflow::Tmainlernix& Window() { return window_; }
    MainWindowView& View() { return *view_; }
    PictureStore& Pictures() { return pictures_; }

    workflow::testing::FakeRemote remote;
    workflow::testing::ScriptedDialogs dialogs;
    workflow::testing::FakeDisplayModes displayModes;
    workflow::testing::FakeAnimation animation;
    workflow::testing::FakeConverter converter;
    workflow::testing::FakeEncoder encoder;
    workflow::testing::FakeThreads threads;
    QStringList shellCalls;

  private:
    QTemporaryDir animationDir_;
    PictureStore pictures_;
    workflow::Tmainlernix window_;
    std::unique_ptr<MainWindowView> view_;
};

}  // namespace kv::app::testing
