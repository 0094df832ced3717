#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QProcess>
#include <QTemporaryDir>

#include "app/PictureStore.h"
#include "tests/app/AppTestSupport.h"

namespace kv::app::testing {
namespace {

using workflow::PictureRef;
using workflow::PictureSet;
using workflow::testing::Prompt;

constexpr const char* kLibraries[] = {"om", "sm", "fm", "bm", "dm"};

QString LibraryFile(const QString& dir, const QString& library) {
    return dir + "/" + library + "7315.rcc";
}

// A program folder with copies of the built picture libraries.
class ProgramFolder {
  public:
    ProgramFolder() {
        for (const char* library : kLibraries) {
            QFile::copy(LibraryFile(ProgramDir(), library), LibraryFile(dir_.path(), library));
        }
    }
    QString Path() const { return dir_.path() + "/"; }
    QString Library(const QString& name) const { return LibraryFile(dir_.path(), name); }

  private:
    QTemporaryDir dir_;
};

TEST(PictureStoreTest, LoadsEveryPictureOfTheBuiltLibraries) {
    PictureStore store(ProgramDir());
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.LoadPictureSets());
    store.Close();

    // Each key's faces are drawn at the key's size, in all four looks.
    for (const PictureSet set :
         {PictureSet::Normal, PictureSet::Learned, PictureSet::Selected, PictureSet::Preset}) {
        EXPECT_EQ(store.Pixmap(PictureRef::FromSet(set, 0)).size(), QSize(44, 41));
        EXPECT_EQ(store.Pixmap(PictureRef::FromSet(set, 0x28)).size(), QSize(49, 35));
        EXPECT_FALSE(store.Pixmap(PictureRef::FromSet(set, 127)).isNull());
    }
    EXPECT_TRUE(store.Pixmap(PictureRef::FromSet(PictureSet::Normal, 128)).isNull());
    EXPECT_EQ(store.Pixmap(PictureRef::Named("gifquillon")).size(), QSize(413, 86));
    EXPECT_EQ(store.Pixmap(PictureRef::Named("deletehui")).size(), QSize(137, 37));
    EXPECT_EQ(store.Pixmap(PictureRef::Design("Image1")).size(), QSize(1028, 737));
    EXPECT_EQ(store.Pixmap(PictureRef::Design("z")).size(), QSize(197, 731));
}

TEST(PictureStoreTest, TheFourLooksOfAKeyDiffer) {
    PictureStore store(ProgramDir());
    ASSERT_TRUE(store.Open() && store.LoadPictureSets());
    QList<QImage> looks;
    for (const PictureSet set :
         {PictureSet::Normal, PictureSet::Learned, PictureSet::Selected, PictureSet::Preset}) {
        looks.append(store.Pixmap(PictureRef::FromSet(set, 4)).toImage());
    }
    for (int a = 0; a < looks.size(); ++a) {
        for (int b = a + 1; b < looks.size(); ++b) {
            // Told apart in grey as well: the shapes differ, not only the hues.
            EXPECT_NE(looks[a].convertToFormat(QImage::Format_Grayscale8),
                      looks[b].convertToFormat(QImage::Format_Grayscale8))
                << a << " " << b;
        }
    }
}

TEST(PictureStoreTest, TheAnimationIsAMovieOfSeveralFrames) {
    PictureStore store(ProgramDir());
    ASSERT_TRUE(store.Open());
    const std::string data = store.AnimationData();
    store.Close();
    QByteArray bytes = QByteArray::fromStdString(data);
    QBuffer buffer(&bytes);
    QImageReader frames(&buffer);
    EXPECT_EQ(frames.format(), "gif");
    EXPECT_GT(frames.imageCount(), 1);
    int decoded = 0;
    while (frames.canRead()) {
        const QImage frame = frames.read();
        ASSERT_EQ(frame.size(), QSize(417, 89)) << "frame " << decoded;
        ++decoded;
    }
    EXPECT_EQ(decoded, frames.imageCount());
    QBuffer again(&bytes);
    EXPECT_TRUE(QMovie(&again).isValid());
}

class MissingLibrary : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingLibrary, EndsTheStartWithThePictureMessage) {
    ProgramFolder folder;
    ASSERT_TRUE(QFile::remove(folder.Library(GetParam())));
    WindowUnderTest window(folder.Path());

    window.Start();

    EXPECT_EQ(window.dialogs.shown, std::vector{Prompt("调用图片出错！")});
    EXPECT_TRUE(window.Window().State().identifyFailed);
    EXPECT_TRUE(window.Window().Model().Closed());
}

TEST_P(MissingLibrary, AFileThatIsNoLibraryCountsAsMissing) {
    ProgramFolder folder;
    QFile broken(folder.Library(GetParam()));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a resource file");
    broken.close();
    PictureStore store(folder.Path());
    EXPECT_FALSE(store.Open());
}

INSTANTIATE_TEST_SUITE_P(Libraries, MissingLibrary, ::testing::ValuesIn(kLibraries));

// A library whose last picture is missing or not a picture at all, packed by
// the same resource compiler the build uses.
struct BrokenPicture {
    const char* name;
    const char* library;
    bool lastPictureMissing;  // else present but undecodable
};

class BrokenPictureTest : public ::testing::TestWithParam<BrokenPicture> {};

TEST_P(BrokenPictureTest, EndsTheStartWithThePictureMessage) {
    ProgramFolder folder;
    QTemporaryDir work;
    QFile::copy(ProgramDir() + "studyhelp.html", work.filePath("junk.gif"));
    QImage face(10, 10, QImage::Format_RGB32);
    face.fill(Qt::gray);
    ASSERT_TRUE(face.save(work.filePath("face.png")));
    QByteArray list = "<RCC><qresource prefix=\"/\">\n";
    const int last = GetParam().lastPictureMissing ? 127 : 128;
    for (int index = 0; index < last; ++index) {
        const char* file = index == 127 ? "junk.gif" : "face.png";
        list += "<file alias=\"gif" + QByteArray::number(index) + "\">" + file + "</file>\n";
    }
    list += "</qresource></RCC>\n";
    QFile qrc(work.filePath("broken.qrc"));
    ASSERT_TRUE(qrc.open(QIODevice::WriteOnly));
    qrc.write(list);
    qrc.close();
    QFile::remove(folder.Library(GetParam().library));
    ASSERT_EQ(QProcess::execute(RCC_PATH, {"--binary", "--output",
                                           folder.Library(GetParam().library), qrc.fileName()}),
              0);

    WindowUnderTest window(folder.Path());
    window.Start();

    EXPECT_EQ(window.dialogs.shown, std::vector{Prompt("调用图片出错！")});
    EXPECT_TRUE(window.Window().Model().Closed());
}

INSTANTIATE_TEST_SUITE_P(Sets, BrokenPictureTest,
                         ::testing::Values(BrokenPicture{"NormalMissing", "om", true},
                                           BrokenPicture{"LearnedUndecodable", "sm", false},
                                           BrokenPicture{"SelectedMissing", "fm", true},
                                           BrokenPicture{"PresetUndecodable", "dm", false}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace kv::app::testing
