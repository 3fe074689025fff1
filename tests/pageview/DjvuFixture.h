#pragma once
// Small DjVu documents made on the spot: words drawn with Qt, encoded with
// cjb2, a text layer added with djvused, pages bundled with djvm.
#include "DjvuEncode.h"
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace lexifol::testing {

struct DrawnWord {
    QString text;
    QRect box; // ink of the word, page pixels, top-left origin
};

struct DrawnPage {
    QSize size;
    QList<DrawnWord> words;
    QRect marker; // a solid block that tells the pages apart
};

using djvu::RunTool;
inline bool HaveDjvuTools()
{
    return djvu::HaveTools();
}
inline bool BundleDjvu(const QString& path, const QStringList& pages, QString* error)
{
    return djvu::Bundle(path, pages, error);
}

// One bilevel 300 dpi page at `path`: each line of `lines` holds words
// separated by blanks; a black block is drawn at height `markerY`.
// `quarterTurns` sets the page's orientation flag (counter-clockwise).
bool MakeDjvuPage(const QString& path, const QStringList& lines, int markerY, DrawnPage* page, QString* error,
                  QSize size = QSize(1200, 1600), int quarterTurns = 0, int fontPixels = 64);

// `book` split into an indirect document "index.djvu" in `folder`, with
// djvmcvt; false (and `error`) when that cannot be done.
bool MakeIndirect(const QString& book, const QString& folder, QString* error);

// A bundled document at `path` of pages made with MakeDjvuPage (default
// size, the marker at 1400), one for each list of lines.
bool MakeDjvuDocument(const QString& path, const QList<QStringList>& pages, QString* error);

// Dark pixels (all channels below 128) inside `rect` of `image`.
int InkIn(const QImage& image, const QRect& rect);

} // namespace lexifol::testing
