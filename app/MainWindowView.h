#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>
#include <functional>
#include <unordered_map>

#include "app/IBtn.h"
#include "app/PictureStore.h"
#include "app/ShellOpen.h"
#include "device/Dialogs.h"
#include "workflow/MainWindow.h"

namespace kv::app {

// The main window on screen: one widget per control of the window model, at
// the model's positions, redrawn whenever the model reports a change; clicks
// become the window's handlers. It holds no behaviour of its own beyond the
// help button, which is the desktop's business.
class MainWindowView final : public QWidget {
    Q_OBJECT
  public:
    struct Setup {
        const PictureLookup& pictures;
        device::Dialogs& dialogs;
        ShellOpen shell;
        QString helpFile;
        // The label the learning animation plays on; placed at donghuaflash2.
        QWidget* animationScreen = nullptr;
    };

    MainWindowView(workflow::Tmainlernix& window, Setup setup);
    ~MainWindowView() override;

    // The widget that shows the named control; nullptr when none does.
    QWidget* ControlWidget(const QString& name) const { return widgets_.value(name); }
    IBtn* Button(const QString& name) const;

    // Centres the window on the primary screen.
    void CentreOnScreen();

  signals:
    // The window has closed for good; the program ends.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void AddPicture(workflow::Control& control, QWidget* parent, bool stretch);
    void AddLabel(workflow::Control& control, const QFont& font, Qt::Alignment alignment);
    void AddMemo(workflow::Control& control);
    IBtn* AddButton(workflow::IBtn& button, QWidget* parent);
    void Place(const workflow::Control& control, QWidget* widget);
    void Render(const workflow::Control& control, workflow::ControlChange change);
    void ButtonClicked(IBtn* button);
    void helpibtnClick();
    void ModelClosed();

    workflow::Tmainlernix& window_;
    Setup setup_;
    workflow::WindowModel::ListenerId listener_ = 0;
    QHash<QString, QWidget*> widgets_;
    std::unordered_map<const workflow::Control*, std::function<void(workflow::ControlChange)>>
        renderers_;
    bool shownOnce_ = false;
    bool inCloseEvent_ = false;
};

}  // namespace kv::app
