// kvlearn_tour: the whole program on a fresh virtual remote, driven through
// mouse clicks on its windows under a real X server (run it with xvfb-run).
// It learns TV/POWER from the virtual room remote, confirms the write, shows
// delete mode, starts the program again to see the key learned, and saves a
// screenshot of each step into the folder given as its argument.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Program.h"

namespace {

using kv::app::Program;

// Plays the operator at every message box: reads it out and answers with the
// first of the preferred buttons it shows.
class DialogRobot : public QObject {
  public:
    DialogRobot() {
        connect(&poll_, &QTimer::timeout, this, &DialogRobot::Look);
        poll_.start(50);
    }

  private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        std::printf("  message [%s] %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
        for (const QString& preferred : {QStringLiteral("是"), QStringLiteral("确定")}) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == preferred) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
        }
    }
    QTimer poll_;
};

QRect WindowsArea(Program& program, bool withPanel) {
    QRect area = program.View().frameGeometry();
    if (withPanel && program.Panel() != nullptr && program.Panel()->isVisible()) {
        area = area.united(program.Panel()->frameGeometry());
    }
    return area;
}

void Screenshot(Program& program, const QDir& folder, const char* name, bool withPanel = false) {
    QTest::qWait(400);  // let the window system draw what changed
    const QRect area = WindowsArea(program, withPanel);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    const QString file = folder.filePath(QString("kvlearn-%1.png").arg(name));
    std::printf("  screenshot %s: %s\n", qPrintable(file), shot.save(file) ? "saved" : "FAILED");
}

void Click(QWidget* widget, const char* what) {
    std::printf("click %s\n", what);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, 6));
}

std::unique_ptr<Program> StartProgram(const kv::app::ProgramSetup& setup) {
    QString error;
    auto program = Program::Create(setup, error);
    if (program == nullptr) {
        std::printf("cannot start: %s\n", qPrintable(error));
        return nullptr;
    }
    QElapsedTimer clock;
    clock.start();
    program->Start();
    // The message loop shows the main window: let it run until it has.
    if (!QTest::qWaitFor([&] { return program->View().isVisible(); })) {
        std::printf("  the message loop did not show the main window\n");
    }
    if (!QTest::qWaitForWindowExposed(&program->View())) {
        std::printf("  the main window was not shown\n");
    }
    std::printf("main window shown %lld ms after the start began (500 ms of it the pause)\n",
                static_cast<long long>(clock.elapsed()));
    return program;
}

std::string KeyFace(Program& program, const char* key) {
    return program.View().Button(key)->Model().Picture().ToString();
}

bool Learn(Program& program, const QDir& shots) {
    Click(program.View().Button("beginstudyibtn"), "开始学习");
    Screenshot(program, shots, "learning");
    Click(program.View().Button("IBtn1"), "TV/POWER");
    Screenshot(program, shots, "collecting", true);

    std::printf("press the room remote's POWER key (nec, address 04, command 08)\n");
    program.Panel()->SetProtocol(kv::device::IrProtocol::Nec);
    program.Panel()->SetAddress(0x04);
    QTest::mouseClick(program.Panel()->findChild<QPushButton*>("roomKey8"), Qt::LeftButton);
    const bool learned =
        QTest::qWaitFor([&] { return KeyFace(program, "IBtn1") == "learnedPics[0]"; }, 10000);
    std::printf("  TV/POWER shows %s\n", KeyFace(program, "IBtn1").c_str());
    Screenshot(program, shots, "learned", true);
    Click(program.View().Button("beginstudyibtn"), "停止学习");
    QTest::qWait(500);
    return learned;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvlearn_tour SCREENSHOT_FOLDER\n");
        return 2;
    }
    const QDir shots(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    kv::app::ProgramSetup setup = kv::app::DefaultProgramSetup();
    setup.virtualRemoteFolder = QDir(scratch.path()).filePath("remote").toStdString();
    setup.animationFile = QDir(scratch.path()).filePath("888.gif").toStdString();
    setup.searchSystemLibraryPath = false;
    DialogRobot robot;

    bool learned = false;
    {
        auto program = StartProgram(setup);
        if (program == nullptr || program->Panel() == nullptr) {
            return 1;
        }
        Screenshot(*program, shots, "idle", true);
        learned = Learn(*program, shots);
        Click(program->View().Button("delstudykey"), "删除按键");
        Screenshot(*program, shots, "delete");
        Click(program->View().Button("delstudykey"), "停止删除");
        Click(program->View().Button("IBtn79"), "关闭软件");
        if (!QTest::qWaitFor([&] { return !program->View().isVisible(); }, 5000)) {
            std::printf("  the main window stayed open\n");
        }
    }
    std::printf("start again\n");
    auto again = StartProgram(setup);
    if (again == nullptr) {
        return 1;
    }
    const bool kept = KeyFace(*again, "IBtn1") == "learnedPics[0]";
    std::printf("TV/POWER after the restart: %s\n", KeyFace(*again, "IBtn1").c_str());
    Screenshot(*again, shots, "restart");
    Click(again->View().Button("IBtn79"), "关闭软件");
    if (!QTest::qWaitFor([&] { return !again->View().isVisible(); }, 5000)) {
        std::printf("  the main window stayed open\n");
    }
    std::printf("%s\n", learned && kept ? "TOUR PASSED" : "TOUR FAILED");
    return learned && kept ? 0 : 1;
}
