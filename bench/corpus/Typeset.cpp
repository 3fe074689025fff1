#include "Typeset.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

namespace corpus {

namespace {

constexpr int kW = 2250, kH = 3300, kSide = 190, kTop = 260, kBottom = 230;

struct Run {
    QString text;
    bool bold;
    int x;
};
struct Line {
    QList<Run> runs;
    int column;
    int y;
};

QFont Font(const Layout& l, bool bold, double scale = 1.0)
{
    QFont f(l.family);
    f.setPixelSize(int(l.points * 300.0 / 72.0 * scale));
    f.setBold(bold);
    return f;
}

// An article cut at a sentence's end, long or short as articles are.
QStringList Words(const Article& a, QRandomGenerator& rng)
{
    QString body = a.body;
    const int want = 60 + int(rng.bounded(420));
    if (body.size() > want) {
        const qsizetype stop = body.indexOf(QStringLiteral(". "), want);
        body = body.left(stop < 0 || stop > want + 200 ? want : stop + 1);
    }
    return body.split(u' ', Qt::SkipEmptyParts);
}

void DrawCentred(QPainter& p, const QString& text, int y, int left, int right)
{
    const int w = p.fontMetrics().horizontalAdvance(text);
    p.drawText((left + right - w) / 2, y, text);
}

void DrawHead(QPainter& p, const Layout& l, int number, const QString& first, const QString& last)
{
    const QString f = l.capitalHeads ? first.toUpper() : first, t = l.capitalHeads ? last.toUpper() : last;
    const QString n = QString::number(number);
    const bool left = number % 2 == 0;
    p.setFont(Font(l, false, 1.05));
    const QFontMetrics fm = p.fontMetrics();
    const int y = 170, right = kW - kSide;
    switch (l.head) {
    case Head::None:
        break;
    case Head::EdgesNumberMid:
        p.drawText(kSide, y, f);
        DrawCentred(p, n, y, kSide, right);
        p.drawText(right - fm.horizontalAdvance(t), y, t);
        break;
    case Head::NumberOutside: {
        const QString words = f + QStringLiteral(" \u2014 ") + t;
        if (left)
            p.drawText(kSide, y, n), DrawCentred(p, words, y, kSide, right);
        else
            DrawCentred(p, words, y, kSide, right), p.drawText(right - fm.horizontalAdvance(n), y, n);
        break;
    }
    case Head::OneGuideColon:
        if (left)
            p.drawText(kSide, y, n + QStringLiteral(" : ") + f);
        else
            p.drawText(right - fm.horizontalAdvance(t + QStringLiteral(" : ") + n), y, t + QStringLiteral(" : ") + n);
        break;
    case Head::Foot:
        DrawCentred(p, n, y, kSide, right);
        p.drawText(kSide, kH - 120, f);
        p.drawText(right - fm.horizontalAdvance(t), kH - 120, t);
        break;
    }
}

QImage Blank()
{
    QImage img(kW, kH, QImage::Format_Grayscale8);
    img.fill(255);
    img.setDotsPerMeterX(11811);
    img.setDotsPerMeterY(11811);
    return img;
}

SetPage TitlePage(const Layout& l)
{
    SetPage page{Blank(), {QStringLiteral("front"), {}, {}}};
    QPainter p(&page.image);
    p.setFont(Font(l, true, 3.0));
    DrawCentred(p, QStringLiteral("A DICTIONARY"), 900, 0, kW);
    DrawCentred(p, QStringLiteral("OF THE"), 1100, 0, kW);
    DrawCentred(p, QStringLiteral("ENGLISH LANGUAGE"), 1300, 0, kW);
    p.setFont(Font(l, false, 1.4));
    DrawCentred(p, QStringLiteral("Revised and enlarged edition"), 1700, 0, kW);
    DrawCentred(p, QStringLiteral("SPRINGFIELD, MASS."), 2800, 0, kW);
    return page;
}

SetPage Plate(const Layout& l, int number)
{
    SetPage page{Blank(), {QStringLiteral("plate"), {}, {}}};
    QPainter p(&page.image);
    p.setPen(QPen(Qt::black, 6));
    p.drawRect(400, 600, kW - 800, 1800);
    p.drawEllipse(700, 900, 800, 1100);
    p.setFont(Font(l, false, 1.2));
    DrawCentred(p, QStringLiteral("PLATE %1. Various Birds").arg(number), 2600, 0, kW);
    return page;
}

} // namespace

QList<SetPage> Typeset(const QList<Article>& articles, const Layout& l, int pages, quint32 seed)
{
    QRandomGenerator rng(seed);
    QList<SetPage> out;
    if (l.titlePage)
        out << TitlePage(l);
    const QFont body = Font(l, false), bold = Font(l, true);
    const QFontMetrics fm(body), fb(bold);
    const int lineH = fm.lineSpacing(), indent = int(l.indentEm * fm.horizontalAdvance(u'M'));
    const int gutter = 60, colW = (kW - 2 * kSide - (l.columns - 1) * gutter) / l.columns;
    const int perColumn = (kH - kTop - kBottom) / lineH;
    int next = 0, number = l.firstPageNumber + (l.titlePage ? 1 : 0);
    QList<Line> pending; // lines of an article carried over to the next page
    while (out.size() < pages && next < articles.size()) {
        QList<Line> lines = pending;
        pending.clear();
        QStringList starts;
        int slot = int(lines.size());
        while (slot < perColumn * l.columns && next < articles.size()) {
            const Article& a = articles[next++];
            QList<Line> art;
            QList<Run> runs;
            const bool firstIndented = l.firstLineIndent;
            int x = firstIndented ? indent : 0, width = colW;
            auto flush = [&] {
                art.append({runs, 0, 0});
                runs.clear();
                x = firstIndented ? 0 : indent;
            };
            const QStringList words = QStringList{a.headword + u','} + Words(a, rng);
            for (int k = 0; k < words.size(); ++k) {
                const int w = (k == 0 ? fb : fm).horizontalAdvance(words[k]);
                if (x + w > width && !runs.isEmpty())
                    flush();
                runs.append({words[k], k == 0, x});
                x += w + fm.horizontalAdvance(u' ');
            }
            flush();
            const int room = perColumn * l.columns - slot;
            starts << a.headword;
            for (int k = 0; k < art.size(); ++k)
                (k < room ? lines : pending).append(art[k]);
            slot += int(art.size());
        }
        SetPage page{Blank(), {QStringLiteral("dictionary"), starts.value(0), {}}};
        QPainter p(&page.image);
        p.setPen(Qt::black);
        for (int k = 0; k < lines.size(); ++k) {
            const int column = k / perColumn, y = kTop + (k % perColumn) * lineH + fm.ascent();
            const int x0 = kSide + column * (colW + gutter);
            for (const Run& r : lines[k].runs) {
                p.setFont(r.bold ? bold : body);
                p.drawText(x0 + r.x, y, r.text);
                if (r.bold) {
                    const QString word = r.text.endsWith(u',') ? r.text.chopped(1) : r.text;
                    const QString firstWord = word.section(u' ', 0, 0);
                    page.truth.marks.append(
                        {word, QPointF(x0 + r.x + fb.horizontalAdvance(firstWord) / 2.0, y - fb.ascent() / 2.0)});
                }
            }
        }
        DrawHead(p, l, number, starts.value(0), starts.value(starts.size() - 1));
        p.end();
        out << page;
        ++number;
        if (l.plateEvery > 0 && out.size() % l.plateEvery == 0 && out.size() < pages)
            out << Plate(l, out.size() / l.plateEvery), ++number;
    }
    return out;
}

QImage Spoil(const QImage& page, const Layout& l, quint32 seed, QTransform* turn)
{
    QRandomGenerator rng(seed);
    const double degrees = (rng.generateDouble() * 2 - 1) * l.maxDegrees;
    if (turn)
        *turn = QTransform()
                    .translate(page.width() / 2.0, page.height() / 2.0)
                    .rotate(degrees)
                    .translate(-page.width() / 2.0, -page.height() / 2.0);
    QImage turned(page.size(), QImage::Format_Grayscale8);
    turned.fill(255);
    {
        QPainter p(&turned);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(page.width() / 2.0, page.height() / 2.0);
        p.rotate(degrees);
        p.translate(-page.width() / 2.0, -page.height() / 2.0);
        p.drawImage(0, 0, page);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.resetTransform();
        for (int k = 0; k < l.specks; ++k) {
            const double r = 1.0 + rng.generateDouble() * 3.5;
            p.drawEllipse(QPointF(rng.bounded(page.width()), rng.bounded(page.height())), r,
                          r * (0.5 + rng.generateDouble()));
        }
    }
    const QSize small(int(page.width() * l.blur), int(page.height() * l.blur));
    QImage soft = turned.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .scaled(page.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage mono(soft.size(), QImage::Format_Mono);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < soft.height(); ++y) {
        const uchar* row = soft.constScanLine(y);
        for (int x = 0; x < soft.width(); ++x) {
            const int noise = int(rng.bounded(41)) - 20;
            mono.setPixel(x, y, row[x] + noise < l.threshold ? 1 : 0);
        }
    }
    mono.setDotsPerMeterX(11811);
    mono.setDotsPerMeterY(11811);
    return mono;
}

} // namespace corpus
