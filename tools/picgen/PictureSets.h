#pragma once

#include <QDir>
#include <QString>

namespace kv::tools::picgen {

// Writes the pictures of the five picture libraries (om, sm, fm, bm, dm) and
// of the window's design (design), each set in its own sub-folder beside a
// resource list NAME.qrc that names every picture as the program asks for it.
bool WritePictureSets(const QDir& output, QString& error);

}  // namespace kv::tools::picgen
