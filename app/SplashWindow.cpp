#include "app/SplashWindow.h"

#include "app/PictureBox.h"
#include "app/PictureStore.h"

namespace kv::app {

TForm1::TForm1()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("启动界面"));
    setGeometry(238, 222, 462, 258);
    auto* picture = new PictureBox(true, this);
    picture->setGeometry(rect());
    picture->SetPixmap(PictureStore::DesignPicture(QStringLiteral("splash")));
}

}  // namespace kv::app
