// Writes the files an installation registers the database file type with,
// from the same code as the registration at start, so that the two agree:
//
//     sealbook_desktop_files PROGRAM ENTRY.desktop [MIME.xml]
//
// PROGRAM is the program's name as the entry starts it (found on the PATH).
// The file names must be those the registration looks for.
#include "gui/FileAssociation.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cstdio>

namespace {

bool write(const QString& path, const QString& expectedName, const QString& content) {
    if (QFileInfo(path).fileName() != expectedName) {
        std::fprintf(stderr, "sealbook_desktop_files: %s must be named %s\n", qPrintable(path),
                     qPrintable(expectedName));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "sealbook_desktop_files: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: sealbook_desktop_files PROGRAM ENTRY.desktop [MIME.xml]\n");
        return 1;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    if (!write(QString::fromLocal8Bit(argv[2]), FileAssociation::DesktopFileName(),
               FileAssociation::DesktopEntry(program)))
        return 1;
    if (argc == 4 &&
        !write(QString::fromLocal8Bit(argv[3]), QString::fromLatin1(FileAssociation::kInstalledMimePackage),
               FileAssociation::MimePackage()))
        return 1;
    return 0;
}
