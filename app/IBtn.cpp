#include "app/IBtn.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace kv::app {
namespace {

// A program's extension, exactly as written: ".EXE" is not one.
bool NamesProgram(const QString& path) {
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf('.');
    return dot >= 0 && fileName.mid(dot) == QStringLiteral(".exe");
}

}  // namespace

IBtn::IBtn(workflow::IBtn& model, const PictureLookup& pictures, ShellOpen shell, QWidget* parent)
    : QWidget(parent), model_(model), pictures_(pictures), shell_(std::move(shell)) {
    setObjectName(QString::fromStdString(model.Name()));
    // Mouse moves without a button pressed, for the hover handlers.
    setMouseTracking(true);
    Sync();
}

void IBtn::Sync() {
    const workflow::Geometry& g = model_.GetGeometry();
    setGeometry(g.left, g.top, g.width, g.height);
    setEnabled(model_.Enabled());
    setVisible(model_.Visible());
    setToolTip(QString::fromStdString(model_.Hint));
    update();
}

void IBtn::paintEvent(QPaintEvent*) {
    const QPixmap face = pictures_.Pixmap(model_.Picture());
    if (face.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, face);
}

void IBtn::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    ++heldPresses_;
    model_.Press();
    Sync();
    OpenPath();
}

void IBtn::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (heldPresses_ == 0) {
        return;  // moved back already when it was hidden or disabled
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    // The click handler may have hidden or disabled the button meanwhile.
    if (heldPresses_ > 0) {
        --heldPresses_;
        model_.Release();
        Sync();
    }
}

void IBtn::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    MoveBackHeldPresses();
}

void IBtn::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        MoveBackHeldPresses();
    }
}

void IBtn::MoveBackHeldPresses() {
    if (heldPresses_ == 0) {
        return;
    }
    while (heldPresses_ > 0) {
        --heldPresses_;
        model_.Release();
    }
    Sync();
}

void IBtn::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    emit mouseMoved();
}

void IBtn::OpenPath() {
    const QString path = QString::fromStdString(model_.Path);
    if (path.isEmpty()) {
        return;
    }
    // A program is started from its own folder. When that folder cannot be
    // entered the program is still opened from where we are.
    if (NamesProgram(path)) {
        QDir::setCurrent(QFileInfo(path).path());
    }
    shell_(path);
}

}  // namespace kv::app
