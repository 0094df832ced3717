#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/IBtn.h"
#include "tests/app/AppTestSupport.h"

namespace kv::app::testing {
namespace {

using workflow::Geometry;
using workflow::PictureRef;

class IBtnTest : public ::testing::Test {
  protected:
    IBtnTest() : model_("IBtnX", Geometry{40, 30, 60, 25}, nullptr) {
        parent_.resize(300, 200);
        pictures_.Set(PictureRef::Named("face"), Qt::red);
        pictures_.Set(PictureRef::Named("disabled"), Qt::blue);
        model_.SetPicture(PictureRef::Named("face"));
        model_.SetDisablePic(PictureRef::Named("disabled"));
    }

    IBtn& Button() {
        if (!button_) {
            button_ = std::make_unique<IBtn>(
                model_, pictures_, [this](const QString& path) { shellCalls_.append(path); },
                &parent_);
        }
        return *button_;
    }
    QColor ShownColour() { return Button().grab().toImage().pixelColor(5, 5); }

    QWidget parent_;
    ColourPictures pictures_;
    workflow::IBtn model_;
    QStringList shellCalls_;
    std::unique_ptr<IBtn> button_;
};

struct Offsets {
    std::uint8_t down;
    std::uint8_t right;
};

class IBtnPressTest : public IBtnTest, public ::testing::WithParamInterface<Offsets> {};

TEST_P(IBtnPressTest, PressMovesByTheOffsetsAndReleaseMovesBack) {
    model_.MoveDown = GetParam().down;
    model_.MoveRight = GetParam().right;
    IBtn& button = Button();
    const QPoint start = button.pos();

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start + QPoint(GetParam().right, GetParam().down));
    EXPECT_EQ(model_.GetGeometry().left, 40 + GetParam().right);
    EXPECT_EQ(model_.GetGeometry().top, 30 + GetParam().down);

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start);
    EXPECT_EQ(model_.GetGeometry(), (Geometry{40, 30, 60, 25}));
}

INSTANTIATE_TEST_SUITE_P(Offsets, IBtnPressTest,
                         ::testing::Values(Offsets{1, 1}, Offsets{0, 0}, Offsets{3, 2}));

TEST_F(IBtnTest, ClickArrivesWhileTheButtonIsStillMoved) {
    IBtn& button = Button();
    const QPoint start = button.pos();
    QList<QPoint> positionsAtClick;
    QObject::connect(&button, &IBtn::clicked, [&] { positionsAtClick.append(button.pos()); });

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));

    ASSERT_EQ(positionsAtClick.size(), 1);
    EXPECT_EQ(positionsAtClick.front(), start + QPoint(1, 1));
    EXPECT_EQ(button.pos(), start);
}

TEST_F(IBtnTest, ReleaseAwayFromTheButtonOrWithAnotherButtonGivesNoClick) {
    IBtn& button = Button();
    QSignalSpy clicks(&button, &IBtn::clicked);
    const QPoint start = button.pos();

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(150, 150));
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));

    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button.pos(), start);
}

// Every press moves the button and every release moves it back, so a second
// mouse button held meanwhile neither loses the left button's click nor
// leaves the button shifted.
TEST_F(IBtnTest, EachPressMovesAndEachReleaseMovesBack) {
    model_.Path = "TV/POWER";
    IBtn& button = Button();
    const QPoint start = button.pos();
    QList<QPoint> positionsAtClick;
    QObject::connect(&button, &IBtn::clicked, [&] { positionsAtClick.append(button.pos()); });

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mousePress(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start + QPoint(2, 2));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start + QPoint(1, 1));
    QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(10, 10));

    EXPECT_EQ(positionsAtClick, QList<QPoint>{start + QPoint(2, 2)});
    EXPECT_EQ(button.pos(), start);
    EXPECT_EQ(model_.GetGeometry(), (Geometry{40, 30, 60, 25}));
    EXPECT_EQ(shellCalls_, (QStringList{"TV/POWER", "TV/POWER"}));
}

// A button hidden or disabled while held never gets its release: it goes
// back to its place at once, and gives no click.
TEST_F(IBtnTest, HiddenOrDisabledWhileHeldItMovesBack) {
    IBtn& button = Button();
    parent_.show();
    QSignalSpy clicks(&button, &IBtn::clicked);
    const QPoint start = button.pos();

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    model_.SetEnabled(false);
    button.Sync();
    EXPECT_EQ(button.pos(), start);
    model_.SetEnabled(true);
    button.Sync();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    parent_.hide();
    EXPECT_EQ(button.pos(), start);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));

    EXPECT_EQ(button.pos(), start);
    EXPECT_EQ(model_.GetGeometry(), (Geometry{40, 30, 60, 25}));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(IBtnTest, ADisabledButtonIgnoresTheMouse) {
    model_.SetEnabled(false);
    IBtn& button = Button();
    QSignalSpy clicks(&button, &IBtn::clicked);
    const QPoint start = button.pos();

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(button.pos(), start);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));

    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button.pos(), start);
    EXPECT_TRUE(shellCalls_.isEmpty());
}

TEST_F(IBtnTest, IsEnableSwapsTheFaceThatIsDrawn) {
    EXPECT_EQ(ShownColour(), QColor(Qt::red));
    model_.SetIsEnable(false);
    EXPECT_EQ(ShownColour(), QColor(Qt::blue));
    model_.SetIsEnable(true);
    EXPECT_EQ(ShownColour(), QColor(Qt::red));
    // False twice keeps the disabled face aside, so true gives it back.
    model_.SetIsEnable(false);
    model_.SetIsEnable(false);
    model_.SetIsEnable(true);
    EXPECT_EQ(ShownColour(), QColor(Qt::blue));
}

// What a press hands to the desktop, and whether the current folder follows.
struct ShellCase {
    const char* name;
    const char* path;  // "{dir}" stands for a scratch folder
    bool opened;
    bool folderChanges;
};

class IBtnShellTest : public IBtnTest, public ::testing::WithParamInterface<ShellCase> {
  protected:
    void SetUp() override { before_ = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(before_); }
    QString before_;
};

TEST_P(IBtnShellTest, PressHandsThePathToTheShell) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString dir = QDir(scratch.path()).canonicalPath();
    const QString path = QString::fromUtf8(GetParam().path).replace("{dir}", dir);
    model_.Path = path.toStdString();

    QTest::mousePress(&Button(), Qt::LeftButton, {}, QPoint(10, 10));

    EXPECT_EQ(shellCalls_, GetParam().opened ? QStringList{path} : QStringList{});
    EXPECT_EQ(QDir::currentPath(), GetParam().folderChanges ? dir : before_);
    QTest::mouseRelease(&Button(), Qt::LeftButton, {}, QPoint(10, 10));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IBtnShellTest,
    ::testing::Values(ShellCase{"Empty", "", false, false},
                      ShellCase{"KeyName", "TV/POWER", true, false},
                      ShellCase{"ProgramLowerCase", "{dir}/setup.exe", true, true},
                      ShellCase{"ProgramUpperCase", "{dir}/setup.EXE", true, false},
                      ShellCase{"Document", "{dir}/notes.txt", true, false},
                      ShellCase{"DotInFolderOnly", "{dir}/a.exe/readme", true, false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace kv::app::testing
