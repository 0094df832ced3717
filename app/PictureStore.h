#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <array>

#include "workflow/PictureLibrary.h"
#include "workflow/PictureRef.h"

namespace kv::app {

// Where the window's widgets find the picture a model reference names.
class PictureLookup {
  public:
    virtual ~PictureLookup() = default;
    // A null pixmap for the empty reference or one that is not loaded.
    virtual QPixmap Pixmap(const workflow::PictureRef& picture) const = 0;
};

// The five picture libraries, om7315.rcc ... dm7315.rcc in the program's
// folder, and the window's design pictures compiled into the program.
class PictureStore final : public workflow::PictureLibrary, public PictureLookup {
  public:
    static constexpr int kSetSize = 128;

    explicit PictureStore(QString programDir);
    ~PictureStore() override;
    PictureStore(const PictureStore&) = delete;
    PictureStore& operator=(const PictureStore&) = delete;

    bool Open() override;
    std::string AnimationData() override;
    bool LoadPictureSets() override;
    void Close() override;

    QPixmap Pixmap(const workflow::PictureRef& picture) const override;

    // A picture of the design by name ("splash", "Image1", "IBtn1").
    static QPixmap DesignPicture(const QString& name);

  private:
    QString programDir_;
    QStringList registered_;
    std::array<std::array<QPixmap, kSetSize>, 4> sets_;
    QHash<QString, QPixmap> named_;
    mutable QHash<QString, QPixmap> design_;
};

}  // namespace kv::app
