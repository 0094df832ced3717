#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include "app/MainWindowView.h"
#include "app/PictureBox.h"
#include "app/SplashWindow.h"
#include "tests/app/AppTestSupport.h"

namespace kv::app::testing {
namespace {

using workflow::testing::Prompt;

// Where each control sits, as the window's design gives it: the window's own
// controls relative to the window, the keys relative to the remote picture.
struct Placement {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

constexpr Placement kWindowControls[] = {
    {"Image1", 0, 0, 1028, 737},        {"ykqbox", 146, 0, 197, 731},
    {"Imagehint", 472, 275, 413, 86},   {"runstate_lab", 467, 375, 422, 22},
    {"Image4", 472, 411, 410, 168},     {"Image5", 472, 410, 412, 169},
    {"Image7", 473, 410, 412, 167},     {"Image8", 473, 409, 411, 171},
    {"lab_ykqtype", 611, 118, 225, 15}, {"lab_softver", 611, 152, 225, 17},
    {"lab_gjbb", 611, 188, 221, 17},    {"lab_usbstate", 610, 226, 228, 15},
    {"IBtn79", 969, 5, 50, 43},         {"updateibtn", 969, 49, 50, 44},
    {"helpibtn", 969, 90, 52, 43},      {"beginstudyibtn", 486, 636, 137, 37},
    {"delstudykey", 737, 640, 137, 37},
};

struct KeyPlacement {
    const char* name;
    const char* code;
    const char* path;
    bool enabled;
    int left;
    int top;
    int width;
    int height;
};

constexpr KeyPlacement kKeys[] = {
    {"IBtn1", "00", "TV/POWER", true, 21, 32, 44, 41},
    {"IBtn2", "01", "TV/SETUP", false, 62, 38, 32, 26},
    {"IBtn3", "02", "TV/ AV/TV", true, 97, 35, 41, 28},
    {"IBtn4", "03", "IPTV/MUTE", false, 144, 32, 41, 41},
    {"IBtn5", "04", "TV/ VOL+", true, 19, 82, 46, 38},
    {"IBtn6", "05", "IPTV/TRACK", false, 76, 81, 52, 38},
    {"IBtn7", "06", "IPTV/HELP", false, 131, 82, 49, 39},
    {"IBtn9", "07", "TV/  VOL-", true, 19, 126, 54, 35},
    {"IBtn10", "08", "IPTV/SUBTITLE", false, 77, 127, 52, 35},
    {"IBtn8", "09", "IPTV/清除", false, 135, 127, 48, 39},
    {"IBtn13", "0A", "TV/1", false, 19, 178, 38, 31},
    {"IBtn14", "0B", "TV/2", false, 66, 177, 35, 26},
    {"IBtn11", "0C", "TV/F3", false, 106, 177, 37, 27},
    {"IBtn12", "0D", "TV/F4", false, 145, 176, 40, 25},
    {"IBtn17", "0E", "IPTV/HVO", false, 11, 213, 54, 36},
    {"IBtn18", "0F", "IPTV/UP", false, 72, 229, 65, 36},
    {"IBtn19", "10", "IPTV/TV", false, 136, 212, 49, 37},
    {"IBtn25", "11", "IPTV/LEFT", false, 41, 255, 34, 79},
    {"IBtn22", "12", "TV/9", false, 72, 264, 65, 57},
    {"IBtn20", "13", "IPTV/RIGHT", false, 136, 254, 28, 72},
    {"IBtn29", "14", "IPTV/MENU", false, 16, 333, 52, 40},
    {"IBtn33", "15", "IPTV/DOWN", false, 69, 322, 76, 31},
    {"IBtn32", "16", "IPTV/BACK", false, 132, 333, 50, 39},
    {"IBtn48", "17", "IPTV/VOL+", false, 11, 394, 54, 39},
    {"IBtn41", "18", "IPTV/PAGE UP", false, 68, 385, 67, 34},
    {"IBtn40", "19", "IPTV/CHANNEL+", false, 135, 388, 52, 37},
    {"IBtn63", "1A", "IPTV/VOL-", false, 11, 433, 54, 48},
    {"IBtn52", "1B", "IPTV/PAGEDOWN", false, 69, 424, 61, 43},
    {"IBtn44", "1C", "IPTV/CHANNEL-", false, 135, 425, 46, 40},
    {"IBtn50", "1D", "IPTV/1", false, 11, 481, 52, 36},
    {"IBtn67", "1E", "IPTV/2", false, 77, 480, 50, 37},
    {"IBtn55", "1F", "IPTV/3", false, 135, 479, 49, 36},
    {"IBtn45", "20", "IPTV/4", false, 11, 521, 52, 34},
    {"IBtn61", "21", "IPTV/5", false, 78, 521, 49, 36},
    {"IBtn64", "22", "IPTV/6", false, 137, 521, 49, 35},
    {"IBtn60", "23", "IPTV/7", false, 12, 561, 52, 36},
    {"IBtn42", "24", "IPTV/8", false, 79, 564, 50, 36},
    {"IBtn37", "25", "IPTV/9", false, 136, 562, 49, 37},
    {"IBtn47", "26", "IPTV/*", false, 12, 605, 52, 35},
    {"IBtn34", "27", "IPTV/O", false, 79, 607, 49, 34},
    {"IBtn39", "28", "IPTV/#", false, 137, 607, 49, 35},
};

// A mouse move without a button held, as the window system sends it.
void MoveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class MainWindowViewTest : public ::testing::Test {
  protected:
    WindowUnderTest window_;
};

TEST_F(MainWindowViewTest, TheWindowIsBorderlessFixedSizedAndBlue) {
    window_.Start();
    MainWindowView& view = window_.View();
    EXPECT_EQ(view.size(), QSize(1028, 737));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    EXPECT_TRUE(view.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("自学习"));
    EXPECT_EQ(view.palette().color(QPalette::Window), QColor(53, 124, 168));
}

TEST(SplashWindowTest, IsABorderlessPictureAtItsPlace) {
    TForm1 splash;
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("启动界面"));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.geometry(), QRect(238, 222, 462, 258));
    const auto pictures = splash.findChildren<PictureBox*>();
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures.front()->geometry(), splash.rect());
    EXPECT_FALSE(pictures.front()->Pixmap().isNull());
}

class WindowControlGeometry : public MainWindowViewTest,
                              public ::testing::WithParamInterface<Placement> {};

TEST_P(WindowControlGeometry, SitsWhereTheDesignPutsIt) {
    const Placement& expected = GetParam();
    const QWidget* widget = window_.View().ControlWidget(expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &window_.View());
    EXPECT_EQ(widget->geometry(),
              QRect(expected.left, expected.top, expected.width, expected.height));
}

INSTANTIATE_TEST_SUITE_P(Controls, WindowControlGeometry, ::testing::ValuesIn(kWindowControls),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

class KeyButtons : public MainWindowViewTest, public ::testing::WithParamInterface<KeyPlacement> {};

TEST_P(KeyButtons, SitOnTheRemoteWithTheirCodeAndName) {
    const KeyPlacement& key = GetParam();
    IBtn* button = window_.View().Button(key.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parentWidget(), window_.View().ControlWidget("ykqbox"));
    EXPECT_EQ(button->geometry(), QRect(key.left, key.top, key.width, key.height));
    EXPECT_EQ(button->Model().Code, key.code);
    EXPECT_EQ(button->Model().Path, key.path);
    EXPECT_EQ(button->isEnabled(), key.enabled);
}

// Learning is off, so a click that reaches KeyClick is answered with the
// request to begin learning first; a disabled key answers nothing.
TEST_P(KeyButtons, OnlyEnabledKeysPassTheirClickOn) {
    window_.Start();
    IBtn* button = window_.View().Button(GetParam().name);
    ASSERT_NE(button, nullptr);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));

    const std::vector<workflow::testing::ShownDialog> expected =
        GetParam().enabled ? std::vector{Prompt("请先点击开始学习按钮！")}
                           : std::vector<workflow::testing::ShownDialog>{};
    EXPECT_EQ(window_.dialogs.shown, expected);
    // The key's display name went to the shell on the press, as on every press;
    // a disabled key never saw the press.
    EXPECT_EQ(window_.shellCalls,
              GetParam().enabled ? QStringList{QString::fromUtf8(GetParam().path)} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyButtons, ::testing::ValuesIn(kKeys),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(MainWindowViewTest, CommandButtonsShowTheHandOnceTheMouseWasOverThem) {
    window_.Start();
    for (const char* name : {"IBtn79", "updateibtn", "helpibtn", "beginstudyibtn"}) {
        IBtn* button = window_.View().Button(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor) << name;
        MoveMouseOver(button);
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    IBtn* deleteButton = window_.View().Button("delstudykey");
    MoveMouseOver(deleteButton);
    EXPECT_EQ(deleteButton->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowViewTest, CommandButtonsCarryTheirHints) {
    EXPECT_EQ(window_.View().Button("IBtn79")->toolTip(), QStringLiteral("关闭软件"));
    EXPECT_EQ(window_.View().Button("updateibtn")->toolTip(), QStringLiteral("升级软件"));
    EXPECT_EQ(window_.View().Button("helpibtn")->toolTip(), QStringLiteral("帮助"));
}

TEST_F(MainWindowViewTest, TheLogsStayHidden) {
    window_.Start();
    EXPECT_FALSE(window_.View().ControlWidget("Memo1")->isVisible());
    EXPECT_FALSE(window_.View().ControlWidget("Memo2")->isVisible());
}

TEST_F(MainWindowViewTest, TheShowGivesTheIdleLook) {
    window_.Start();
    MainWindowView& view = window_.View();
    // The preset key TV/ VOL+ wears its preset face, the others their design.
    EXPECT_EQ(view.Button("IBtn5")->Model().Picture().ToString(), "presetPics[4]");
    EXPECT_TRUE(view.ControlWidget("Image8")->isVisible());
    EXPECT_FALSE(view.ControlWidget("Image4")->isVisible());
    EXPECT_FALSE(view.ControlWidget("Image5")->isVisible());
    EXPECT_FALSE(view.Button("delstudykey")->isEnabled());
    EXPECT_EQ(qobject_cast<QLabel*>(view.ControlWidget("lab_softver"))->text(), "V 2.2");
}

TEST_F(MainWindowViewTest, HelpWithoutItsPageSaysSo) {
    window_.Start();
    QTest::mouseClick(window_.View().Button("helpibtn"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window_.dialogs.shown, std::vector{Prompt("找不到帮助文件！")});
}

TEST_F(MainWindowViewTest, TheCloseKeyClosesTheWindow) {
    window_.Start();
    QTest::mouseClick(window_.View().Button("IBtn79"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(window_.Window().Model().Closed());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window_.View().isVisible());
}

}  // namespace
}  // namespace kv::app::testing
