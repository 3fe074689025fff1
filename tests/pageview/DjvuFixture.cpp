#include "DjvuFixture.h"

#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

namespace lexifol::testing {

namespace {

// "(type x0 y0 x1 y1" in DjVu coordinates (origin bottom left).
QString Node(const char* type, const QRect& r, int pageHeight)
{
    return QStringLiteral("(%1 %2 %3 %4 %5")
        .arg(QLatin1StringView(type))
        .arg(r.left())
        .arg(pageHeight - r.bottom() - 1)
        .arg(r.right() + 1)
        .arg(pageHeight - r.top());
}

} // namespace

bool MakeDjvuPage(const QString& path, const QStringList& lines, int markerY, DrawnPage* page, QString* error,
                  QSize size, int quarterTurns, int fontPixels)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    DrawnPage drawn;
    drawn.size = size;
    {
        QPainter p(&img);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(fontPixels);
        p.setFont(font);
        p.setPen(Qt::black);
        const QFontMetrics fm(font);
        int y = fontPixels * 2;
        for (const QString& line : lines) {
            int x = fontPixels + 16;
            for (const QString& word : line.split(u' ', Qt::SkipEmptyParts)) {
                p.drawText(QPoint(x, y), word);
                const QRect ink = fm.tightBoundingRect(word).translated(x, y).adjusted(-2, -2, 2, 2);
                drawn.words.append(DrawnWord{word, ink});
                x += fm.horizontalAdvance(word) + fm.horizontalAdvance(u' ') * 2;
            }
            y += fontPixels * 17 / 10;
        }
        drawn.marker = QRect(size.width() - 200, markerY, 120, 120);
        p.fillRect(drawn.marker, Qt::black);
    }
    if (InkIn(img, QRect(0, 0, size.width(), drawn.marker.top() - 1)) == 0 && !lines.isEmpty()) {
        *error = QStringLiteral("no font drew any text");
        return false;
    }

    QString txt = Node("page", QRect(QPoint(0, 0), size), size.height());
    for (int i = 0, w = 0; i < lines.size(); ++i) {
        const int n = int(lines[i].split(u' ', Qt::SkipEmptyParts).size());
        if (n == 0)
            continue;
        QRect lineBox;
        for (int k = 0; k < n; ++k)
            lineBox |= drawn.words[w + k].box;
        txt += u'\n' + Node("line", lineBox, size.height());
        for (int k = 0; k < n; ++k, ++w)
            txt += u'\n' + Node("word", drawn.words[w].box, size.height()) + u' ' + djvu::Quoted(drawn.words[w].text)
                + u')';
        txt += u')';
    }
    txt += QStringLiteral(")\n");
    if (!djvu::EncodeBilevelPage(img, 300, txt, path, error, quarterTurns))
        return false;
    if (page)
        *page = drawn;
    return true;
}

int InkIn(const QImage& image, const QRect& rect)
{
    const QRect r = rect & image.rect();
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128)
                ++ink;
        }
    return ink;
}

bool MakeIndirect(const QString& book, const QString& folder, QString* error)
{
    return QDir().mkpath(folder)
        && RunTool(QStringLiteral("djvmcvt"), {QStringLiteral("-i"), book, folder, QStringLiteral("index.djvu")},
                   error);
}

bool MakeDjvuDocument(const QString& path, const QList<QStringList>& pages, QString* error)
{
    QStringList files;
    bool made = true;
    for (int i = 0; made && i < pages.size(); ++i) {
        files << path + QStringLiteral(".p%1.djvu").arg(i);
        made = MakeDjvuPage(files.last(), pages[i], 1400, nullptr, error);
    }
    made = made && BundleDjvu(path, files, error);
    for (const QString& f : files)
        QFile::remove(f);
    return made;
}

} // namespace lexifol::testing
