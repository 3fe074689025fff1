// Draws the program's icon as PNG files for the hicolor theme:
//   lexifol_mkicons OUT_FOLDER  ->  OUT_FOLDER/<n>x<n>/apps/org.lexifol.Lexifol.png
#include "config/Glyphs.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lexifol_mkicons OUT_FOLDER\n");
        return 2;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QPixmap pixmap = lexifol::glyphs::icon(lexifol::glyphs::Glyph::App, size).pixmap(size, size);
        if (!QDir().mkpath(dir) || !pixmap.save(dir + QStringLiteral("/org.lexifol.Lexifol.png"))) {
            std::fprintf(stderr, "lexifol_mkicons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
