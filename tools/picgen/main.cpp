// picgen: draws every picture kvlearn shows and writes them, with one
// resource list per picture library, into the folder given as argument.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "tools/picgen/PictureSets.h"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: picgen OUTPUT_FOLDER\n");
        return 2;
    }
    QString error;
    if (!kv::tools::picgen::WritePictureSets(QDir(arguments.at(1)), error)) {
        std::fprintf(stderr, "picgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
