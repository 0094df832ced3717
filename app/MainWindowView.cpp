#include "app/MainWindowView.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QUrl>

#include "app/PictureBox.h"

namespace kv::app {
namespace {

using workflow::Control;
using workflow::ControlChange;
using workflow::ControlKind;

// The window's blue, 0xA87C35 as the design stores it (blue, green, red).
const QColor kWindowColour(53, 124, 168);

QString Name(const Control& control) {
    return QString::fromStdString(control.Name());
}

QFont StatusFont() {
    QFont font;
    // The designed face first; on a machine without it, the Chinese face
    // that the program installs with it.
    font.setFamilies({QStringLiteral("文鼎CS中等线"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

QFont InfoFont() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(13);
    return font;
}

}  // namespace

MainWindowView::MainWindowView(workflow::Tmainlernix& window, Setup setup)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      window_(window),
      setup_(std::move(setup)) {
    setObjectName(QStringLiteral("mainlernix"));
    setWindowTitle(QString::fromUtf8(workflow::kWindowCaption));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kWindowColour);
    setPalette(colours);
    setAutoFillBackground(true);
    const workflow::Geometry& area = window_.Model().Image1.GetGeometry();
    setFixedSize(area.width, area.height);
    BuildControls();
    listener_ = window_.Model().AddListener(
        [this](const Control& control, ControlChange change) { Render(control, change); });
    window_.Model().SetClosedListener([this] { ModelClosed(); });
}

MainWindowView::~MainWindowView() {
    window_.Model().RemoveListener(listener_);
    window_.Model().SetClosedListener({});
}

IBtn* MainWindowView::Button(const QString& name) const {
    return qobject_cast<IBtn*>(widgets_.value(name));
}

void MainWindowView::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindowView::BuildControls() {
    workflow::WindowModel& model = window_.Model();
    // Component order is stacking order: the background first, the buttons last.
    AddPicture(model.Image1, this, false);
    AddPicture(model.ykqbox, this, true);
    AddPicture(model.Imagehint, this, true);
    if (setup_.animationScreen != nullptr) {
        setup_.animationScreen->setParent(this);
        Place(model.donghuaflash2, setup_.animationScreen);
    }
    AddLabel(model.runstate_lab, StatusFont(), Qt::AlignCenter);
    for (Control* panel : {&model.Image4, &model.Image5, &model.Image7, &model.Image8}) {
        AddPicture(*panel, this, false);
    }
    for (Control* label :
         {&model.lab_ykqtype, &model.lab_softver, &model.lab_gjbb, &model.lab_usbstate}) {
        AddLabel(*label, InfoFont(), Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (workflow::IBtn* button : {&model.IBtn79, &model.updateibtn, &model.helpibtn,
                                   &model.beginstudyibtn, &model.delstudykey}) {
        IBtn* widget = AddButton(*button, this);
        // The four command buttons show the hand once the mouse has been over
        // them; nothing sets the cursor back.
        if (button != &model.delstudykey) {
            connect(widget, &IBtn::mouseMoved, widget,
                    [widget] { widget->setCursor(Qt::PointingHandCursor); });
        }
    }
    QWidget* remote = widgets_.value(QStringLiteral("ykqbox"));
    for (workflow::IBtn* key : model.KeyButtons()) {
        AddButton(*key, remote);
    }
    AddMemo(model.Memo1);
    AddMemo(model.Memo2);
}

void MainWindowView::Place(const Control& control, QWidget* widget) {
    const workflow::Geometry& g = control.GetGeometry();
    widget->setObjectName(Name(control));
    widget->setGeometry(g.left, g.top, g.width, g.height);
    widget->setVisible(control.Visible());
    widget->setEnabled(control.Enabled());
    widgets_.insert(Name(control), widget);
    renderers_[&control] = [this, &control, widget](ControlChange change) {
        switch (change) {
            case ControlChange::Visible:
                widget->setVisible(control.Visible());
                break;
            case ControlChange::Enabled:
                widget->setEnabled(control.Enabled());
                break;
            case ControlChange::Position: {
                const workflow::Geometry& at = control.GetGeometry();
                widget->setGeometry(at.left, at.top, at.width, at.height);
                break;
            }
            case ControlChange::Repaint:
                widget->repaint();
                break;
            case ControlChange::Picture:
            case ControlChange::Text:
            case ControlChange::Lines:
                widget->update();
                break;
        }
    };
}

void MainWindowView::AddPicture(Control& control, QWidget* parent, bool stretch) {
    auto* box = new PictureBox(stretch, parent);
    box->SetPixmap(setup_.pictures.Pixmap(control.Picture()));
    Place(control, box);
    auto place = renderers_[&control];
    renderers_[&control] = [this, &control, box, place](ControlChange change) {
        if (change == ControlChange::Picture) {
            box->SetPixmap(setup_.pictures.Pixmap(control.Picture()));
        }
        place(change);
    };
}

void MainWindowView::AddLabel(Control& control, const QFont& font, Qt::Alignment alignment) {
    auto* label = new QLabel(this);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setText(QString::fromStdString(control.Text()));
    Place(control, label);
    auto place = renderers_[&control];
    renderers_[&control] = [&control, label, place](ControlChange change) {
        if (change == ControlChange::Text) {
            label->setText(QString::fromStdString(control.Text()));
        }
        place(change);
    };
}

void MainWindowView::AddMemo(Control& control) {
    auto* memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    Place(control, memo);
    auto place = renderers_[&control];
    renderers_[&control] = [&control, memo, place](ControlChange change) {
        if (change == ControlChange::Lines && !control.Lines().empty()) {
            memo->appendPlainText(QString::fromStdString(control.Lines().back()));
        }
        place(change);
    };
}

IBtn* MainWindowView::AddButton(workflow::IBtn& button, QWidget* parent) {
    auto* widget = new IBtn(button, setup_.pictures, setup_.shell, parent);
    widgets_.insert(Name(button), widget);
    renderers_[&button] = [widget](ControlChange change) {
        widget->Sync();
        if (change == ControlChange::Repaint) {
            widget->repaint();
        }
    };
    connect(widget, &IBtn::clicked, this, [this, widget] { ButtonClicked(widget); });
    return widget;
}

void MainWindowView::Render(const Control& control, ControlChange change) {
    const auto found = renderers_.find(&control);
    if (found != renderers_.end()) {
        found->second(change);
    }
}

void MainWindowView::ButtonClicked(IBtn* button) {
    workflow::WindowModel& model = window_.Model();
    workflow::IBtn& pressed = button->Model();
    if (&pressed == &model.IBtn79) {
        window_.IBtn79Click();
    } else if (&pressed == &model.updateibtn) {
        window_.updateibtnClick();
    } else if (&pressed == &model.helpibtn) {
        helpibtnClick();
    } else if (&pressed == &model.beginstudyibtn) {
        window_.beginstudyibtnClick();
    } else if (&pressed == &model.delstudykey) {
        window_.delstudykeyClick();
    } else {
        window_.KeyButtonClick(pressed);
    }
}

void MainWindowView::helpibtnClick() {
    const bool opened = QFileInfo::exists(setup_.helpFile) &&
                        QDesktopServices::openUrl(QUrl::fromLocalFile(setup_.helpFile));
    if (!opened) {
        setup_.dialogs.Ask("找不到帮助文件！", device::kPromptCaption, device::DialogButtons::Ok);
    }
}

void MainWindowView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        window_.FormShow();
    }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    if (window_.Model().Closed()) {
        event->accept();
        return;
    }
    // The system's close command goes through the window's close query.
    inCloseEvent_ = true;
    window_.Close();
    inCloseEvent_ = false;
    if (window_.Model().Closed()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindowView::ModelClosed() {
    // Closing from inside a handler (the show, a click, the watcher's end):
    // the widget closes once that handler has returned.
    if (!inCloseEvent_) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(this, &MainWindowView::closed, Qt::QueuedConnection);
}

}  // namespace kv::app
