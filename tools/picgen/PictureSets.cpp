#include "tools/picgen/PictureSets.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QSaveFile>

#include "tools/picgen/Animation.h"
#include "tools/picgen/CommandFaces.h"
#include "tools/picgen/GifWriter.h"
#include "tools/picgen/KeyFaces.h"
#include "tools/picgen/Panels.h"
#include "tools/picgen/RemoteBody.h"
#include "tools/picgen/WindowBackground.h"
#include "workflow/KeyLayout.h"

namespace kv::tools::picgen {
namespace {

constexpr int kPictureSetSize = 128;

// One picture library being written: its files and the resource list.
class ResourceSet {
  public:
    // prefix: where the set's pictures appear among the program's resources.
    ResourceSet(const QDir& output, QString name, QString prefix = "/")
        : output_(output), name_(std::move(name)), prefix_(std::move(prefix)) {}

    bool AddImage(const QString& alias, const QImage& image, const char* format, QString& error) {
        const QString file = name_ + "/" + alias + "." + QString(format).toLower();
        // JPEG at high quality; PNG at its default compression (a quality
        // figure would mean less compression there).
        const int quality = QByteArray(format) == "JPG" ? 92 : -1;
        if (!image.convertToFormat(QImage::Format_RGB32)
                 .save(output_.filePath(file), format, quality)) {
            error = "cannot write " + output_.filePath(file);
            return false;
        }
        entries_.append({alias, file});
        return true;
    }
    bool AddBytes(const QString& alias, const QString& extension, const QByteArray& bytes,
                  QString& error) {
        const QString file = name_ + "/" + alias + "." + extension;
        QSaveFile out(output_.filePath(file));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            error = "cannot write " + output_.filePath(file);
            return false;
        }
        entries_.append({alias, file});
        return true;
    }
    // Another name for a picture already written to a set.
    void AddAlias(const QString& alias, const QString& file) { entries_.append({alias, file}); }

    bool WriteList(QString& error) const {
        QByteArray text = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"" +
                          prefix_.toUtf8() + "\">\n";
        for (const auto& [alias, file] : entries_) {
            text += "  <file alias=\"" + alias.toUtf8() + "\">" + file.toUtf8() + "</file>\n";
        }
        text += "</qresource>\n</RCC>\n";
        QSaveFile out(output_.filePath(name_ + ".qrc"));
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
            error = "cannot write " + output_.filePath(name_ + ".qrc");
            return false;
        }
        return true;
    }

  private:
    QDir output_;
    QString name_;
    QString prefix_;
    QList<QPair<QString, QString>> entries_;
};

// Indexes that no key carries still get a face, since the libraries hold all
// 128 and the program loads every one of them.
QImage FaceForIndex(int index, KeyLook look) {
    for (const workflow::KeyDefinition& key : workflow::kKeyLayout) {
        if (QByteArray(key.code.data(), static_cast<qsizetype>(key.code.size()))
                .toInt(nullptr, 16) == index) {
            return DrawKeyFace(
                key.geometry.width, key.geometry.height,
                QString::fromUtf8(key.path.data(), static_cast<qsizetype>(key.path.size())), look);
        }
    }
    return DrawKeyFace(40, 30, QString("%1").arg(index, 2, 16, QChar('0')).toUpper(), look);
}

bool WriteKeySet(const QDir& output, const QString& name, KeyLook look, QString& error) {
    ResourceSet set(output, name);
    for (int index = 0; index < kPictureSetSize; ++index) {
        if (!set.AddImage("gif" + QString::number(index), FaceForIndex(index, look), "PNG",
                          error)) {
            return false;
        }
    }
    return set.WriteList(error);
}

bool WriteNamedSet(const QDir& output, QString& error) {
    ResourceSet set(output, "bm");
    const QByteArray animation = EncodeAnimatedGif(DrawLearningAnimation(417, 89, 12), 12);
    return set.AddImage("gifquillon", DrawIdleHint(413, 86), "JPG", error) &&
           set.AddImage("jpgjingtai", DrawLearningHint(413, 86), "JPG", error) &&
           set.AddImage("delete", DrawWideButton(WideButton::Delete, 137, 37), "JPG", error) &&
           set.AddImage("deletehui", DrawWideButton(WideButton::DeleteGrey, 137, 37), "JPG",
                        error) &&
           set.AddImage("stopdelete", DrawWideButton(WideButton::StopDelete, 137, 37), "JPG",
                        error) &&
           set.AddBytes("flash1", "gif", animation, error) && set.WriteList(error);
}

// Pictures that belong to the window's design rather than to a library:
// they are compiled into the program itself.
bool WriteDesignSet(const QDir& output, QString& error) {
    ResourceSet set(output, "design", "/design");
    // A key's designed face is its normal look; the design names pictures
    // after the control that shows them.
    for (const workflow::KeyDefinition& key : workflow::kKeyLayout) {
        const int index =
            QByteArray(key.code.data(), static_cast<qsizetype>(key.code.size())).toInt(nullptr, 16);
        set.AddAlias(
            QString::fromLatin1(key.component.data(), static_cast<qsizetype>(key.component.size())),
            QString("om/gif%1.png").arg(index));
    }
    return set.AddImage("Image1", DrawWindowBackground(1028, 737), "PNG", error) &&
           set.AddImage("z", DrawRemoteBody(197, 731), "PNG", error) &&
           set.AddImage("splash", DrawSplash(462, 258), "PNG", error) &&
           set.AddImage("IBtn79", DrawCommandFace(Command::Close, 50, 43), "PNG", error) &&
           set.AddImage("updateibtn", DrawCommandFace(Command::Update, 50, 44), "PNG", error) &&
           set.AddImage("helpibtn", DrawCommandFace(Command::Help, 52, 43), "PNG", error) &&
           set.AddImage("beginstudyibtn", DrawWideButton(WideButton::BeginStudy, 137, 37), "PNG",
                        error) &&
           set.AddImage("beginstudyibtn.stop", DrawWideButton(WideButton::StopStudy, 137, 37),
                        "PNG", error) &&
           set.AddImage("Image4", DrawPanel(Panel::LearnedKeysExist, 410, 168), "PNG", error) &&
           set.AddImage("Image5", DrawPanel(Panel::Learning, 412, 169), "PNG", error) &&
           set.AddImage("Image7", DrawPanel(Panel::Deleting, 412, 167), "PNG", error) &&
           set.AddImage("Image8", DrawPanel(Panel::NoLearnedKey, 411, 171), "PNG", error) &&
           set.WriteList(error);
}

}  // namespace

bool WritePictureSets(const QDir& output, QString& error) {
    for (const char* folder : {"om", "sm", "fm", "bm", "dm", "design"}) {
        if (!output.mkpath(folder)) {
            error = "cannot create " + output.filePath(folder);
            return false;
        }
    }
    if (!DrawProgramIcon(128).save(output.filePath("kvlearn.png"), "PNG")) {
        error = "cannot write " + output.filePath("kvlearn.png");
        return false;
    }
    return WriteKeySet(output, "om", KeyLook::Normal, error) &&
           WriteKeySet(output, "sm", KeyLook::Learned, error) &&
           WriteKeySet(output, "fm", KeyLook::Selected, error) &&
           WriteKeySet(output, "dm", KeyLook::Preset, error) && WriteNamedSet(output, error) &&
           WriteDesignSet(output, error);
}

}  // namespace kv::tools::picgen
