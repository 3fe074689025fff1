#include "DjvuFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

namespace lexifol::testing {

bool HaveDjvuTools()
{
    for (const char* tool : {"cjb2", "djvused", "djvm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

bool RunTool(const QString& program, const QStringList& args, QString* error, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs) || !p.waitForFinished(timeoutMs)) {
        *error = program + QStringLiteral(": did not run");
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + QStringLiteral(": ") + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

namespace {

QString Quoted(const QString& s)
{
    QString out = s;
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'"', QStringLiteral("\\\""));
    return u'"' + out + u'"';
}

// "(type x0 y0 x1 y1" in DjVu coordinates (origin bottom left).
QString Node(const char* type, const QRect& r, int pageHeight)
{
    return QStringLiteral("(%1 %2 %3 %4 %5").arg(QLatin1StringView(type))
        .arg(r.left()).arg(pageHeight - r.bottom() - 1).arg(r.right() + 1).arg(pageHeight - r.top());
}

} // namespace

bool MakeDjvuPage(const QString& path, const QStringList& lines, int markerY, DrawnPage* page,
                  QString* error, QSize size, int quarterTurns, int fontPixels)
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

    const QString pbm = path + QStringLiteral(".pbm");
    const QImage mono = img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    if (!mono.save(pbm, "PBM")) {
        *error = QStringLiteral("cannot write ") + pbm;
        return false;
    }
    if (!RunTool(QStringLiteral("cjb2"), {QStringLiteral("-dpi"), QStringLiteral("300"), pbm, path}, error))
        return false;
    QFile::remove(pbm);

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
            txt += u'\n' + Node("word", drawn.words[w].box, size.height()) + u' '
                + Quoted(drawn.words[w].text) + u')';
        txt += u')';
    }
    txt += QStringLiteral(")\n");
    const QString txtPath = path + QStringLiteral(".txt");
    QFile t(txtPath);
    if (!t.open(QIODevice::WriteOnly) || t.write(txt.toUtf8()) < 0) {
        *error = QStringLiteral("cannot write ") + txtPath;
        return false;
    }
    t.close();
    QString script = QStringLiteral("select 1; set-txt %1").arg(txtPath);
    if (quarterTurns != 0)
        script += QStringLiteral("; set-rotation %1").arg(quarterTurns);
    if (!RunTool(QStringLiteral("djvused"), {path, QStringLiteral("-e"), script, QStringLiteral("-s")}, error))
        return false;
    QFile::remove(txtPath);
    if (page)
        *page = drawn;
    return true;
}

bool BundleDjvu(const QString& path, const QStringList& pages, QString* error)
{
    QFile::remove(path);
    return RunTool(QStringLiteral("djvm"), QStringList{QStringLiteral("-c"), path} + pages, error);
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

} // namespace lexifol::testing
