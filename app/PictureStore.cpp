#include "app/PictureStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>

// The design pictures live in a static library; naming its initialiser keeps
// the linker from dropping them. Outside any namespace, as the macro needs.
static bool RegisterDesignPictures() {
    Q_INIT_RESOURCE(design);
    return true;
}
static void InitialiseDesignPictures() {
    [[maybe_unused]] static const bool registered = RegisterDesignPictures();
}

namespace kv::app {
namespace {

using workflow::PictureRef;
using workflow::PictureSet;

// Libraries in the order they are opened; the sets come from om, sm, fm and
// dm, the named pictures and the animation from bm.
constexpr std::array<const char*, 5> kLibraries = {"om", "sm", "fm", "bm", "dm"};
constexpr std::array<std::pair<PictureSet, const char*>, 4> kSetLibraries = {{
    {PictureSet::Normal, "om"},
    {PictureSet::Learned, "sm"},
    {PictureSet::Selected, "fm"},
    {PictureSet::Preset, "dm"},
}};
constexpr std::array<const char*, 5> kNamedPictures = {
    workflow::pictures::kIdleHint, workflow::pictures::kLearningHint, workflow::pictures::kDelete,
    workflow::pictures::kDeleteGrey, workflow::pictures::kStopDelete};

QString LibraryRoot(const char* library) {
    return QStringLiteral("/kvlearn/") + library;
}

// Decodes by content: the bytes say which format they are, not the name.
QPixmap Decode(const QString& resourcePath) {
    QImageReader reader(resourcePath);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

std::size_t SetSlot(PictureSet set) {
    return static_cast<std::size_t>(set);
}

}  // namespace

PictureStore::PictureStore(QString programDir) : programDir_(std::move(programDir)) {
    InitialiseDesignPictures();
}

PictureStore::~PictureStore() {
    Close();
}

bool PictureStore::Open() {
    for (const char* library : kLibraries) {
        const QString file = QDir(programDir_).filePath(QString(library) + "7315.rcc");
        if (!QFileInfo::exists(file) || !QResource::registerResource(file, LibraryRoot(library))) {
            Close();
            return false;
        }
        registered_.append(file);
    }
    return true;
}

std::string PictureStore::AnimationData() {
    QFile movie(":" + LibraryRoot("bm") + "/flash1");
    if (!movie.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = movie.readAll();
    return bytes.toStdString();
}

bool PictureStore::LoadPictureSets() {
    for (int index = 0; index < kSetSize; ++index) {
        for (const auto& [set, library] : kSetLibraries) {
            QPixmap picture = Decode(":" + LibraryRoot(library) + "/gif" + QString::number(index));
            if (picture.isNull()) {
                return false;
            }
            sets_[SetSlot(set)][static_cast<std::size_t>(index)] = std::move(picture);
        }
    }
    // A named picture that is missing fails the loading as well: the window
    // could not show its idle look or its delete button without it.
    for (const char* name : kNamedPictures) {
        QPixmap picture = Decode(":" + LibraryRoot("bm") + "/" + name);
        if (picture.isNull()) {
            return false;
        }
        named_.insert(QString::fromUtf8(name), std::move(picture));
    }
    return true;
}

void PictureStore::Close() {
    const QStringList files = registered_;
    for (int i = 0; i < files.size(); ++i) {
        QResource::unregisterResource(files.at(i),
                                      LibraryRoot(kLibraries[static_cast<std::size_t>(i)]));
    }
    registered_.clear();
}

QPixmap PictureStore::Pixmap(const PictureRef& picture) const {
    switch (picture.kind) {
        case PictureRef::Kind::Empty:
            return {};
        case PictureRef::Kind::SetItem:
            if (picture.index < 0 || picture.index >= kSetSize) {
                return {};
            }
            return sets_[SetSlot(picture.set)][static_cast<std::size_t>(picture.index)];
        case PictureRef::Kind::Named:
            return named_.value(QString::fromStdString(picture.name));
        case PictureRef::Kind::Design:
            break;
    }
    const QString name = QString::fromStdString(picture.name);
    auto cached = design_.find(name);
    if (cached == design_.end()) {
        cached = design_.insert(name, DesignPicture(name));
    }
    return cached.value();
}

QPixmap PictureStore::DesignPicture(const QString& name) {
    InitialiseDesignPictures();
    return Decode(":/design/" + name);
}

}  // namespace kv::app
