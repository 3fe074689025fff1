// Page layout and drawing of the sample dictionaries: two columns of
// entries under a running head, as a printed dictionary sets them.
#include "mksample.h"

#include "DjvuEncode.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace mksample {

QFont makeFont(const QString& family, int pixels, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setKerning(true);
    return f;
}

Typeset typeset(const QString& headwordFamily, int bodyPixels)
{
    const QString serif = QStringLiteral("DejaVu Serif");
    Typeset t;
    t.font[Body] = makeFont(serif, bodyPixels, false, false);
    t.font[Headword] = makeFont(headwordFamily, bodyPixels, true, false);
    t.font[Italic] = makeFont(serif, bodyPixels, false, true);
    t.font[Target] = makeFont(serif, bodyPixels, true, false);
    t.font[Letter] = makeFont(headwordFamily, bodyPixels * 2, true, false);
    t.font[RunningHead] = makeFont(headwordFamily, bodyPixels + 6, true, false);
    t.font[Folio] = makeFont(serif, bodyPixels + 6, false, false);
    t.font[Title] = makeFont(headwordFamily, bodyPixels * 3 / 2, true, false);
    t.lineHeight = std::round(bodyPixels * 1.28);
    t.entryGap = std::round(bodyPixels * 0.35);
    t.indent = bodyPixels * 1.2;
    t.letterHeight = std::round(bodyPixels * 3.2);
    t.marginX = 230;
    t.headBaseline = 270;
    t.ruleY = 310;
    t.bodyTop = 380;
    t.bodyBottom = kPageHeight - 250;
    t.columnGap = 110;
    return t;
}

struct Token {
    QString text;
    FontRole font;
};

void addWords(QVector<Token>& tokens, const QString& text, FontRole font)
{
    for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        tokens.push_back({w, font});
}

QVector<Token> entryTokens(const Entry& e)
{
    QVector<Token> t;
    addWords(t, e.headword, Headword);
    addWords(t, e.pos, Italic);
    if (e.target.isEmpty()) {
        addWords(t, e.text + QLatin1Char('.'), Body);
    } else if (e.text.isEmpty()) {
        addWords(t, QStringLiteral("see"), Italic);
        addWords(t, e.target, Target);
    } else {
        addWords(t, e.text, Body);
        addWords(t, e.target, Target);
    }
    return t;
}

// Greedy line filling; continuation lines get a hanging indent.
QVector<QVector<QPair<Token, qreal>>> wrap(const QVector<Token>& tokens, const Typeset& ts, qreal width, qreal indent)
{
    const qreal space = QFontMetricsF(ts.font[Body]).horizontalAdvance(QLatin1Char(' '));
    QVector<QVector<QPair<Token, qreal>>> lines(1);
    qreal x = 0;
    for (const Token& tok : tokens) {
        const qreal w = QFontMetricsF(ts.font[tok.font]).horizontalAdvance(tok.text);
        if (!lines.back().isEmpty()) {
            if (x + space + w > width) {
                lines.push_back({});
                x = indent;
            } else {
                x += space;
            }
        }
        lines.back().push_back({tok, x});
        x += w;
    }
    return lines;
}

QString initialLetter(const QString& headword)
{
    return headword.normalized(QString::NormalizationForm_D).left(1).toUpper();
}

QVector<PageLayout> layoutDictionary(QVector<Entry>& entries, const Typeset& ts)
{
    QVector<PageLayout> pages;
    const qreal colWidth = ts.columnWidth();
    const qreal ascent = QFontMetricsF(ts.font[Body]).ascent();
    int column = 1;
    qreal y = 0;
    QString letter;
    auto nextColumn = [&] {
        if (++column > 1) {
            column = 0;
            PageLayout p;
            p.number = pages.size() + 1;
            pages.push_back(p);
        }
        y = ts.bodyTop;
    };
    nextColumn();
    for (Entry& e : entries) {
        const auto lines = wrap(entryTokens(e), ts, colWidth, ts.indent);
        const QString l = initialLetter(e.headword);
        const bool heading = l != letter;
        const qreal need = lines.size() * ts.lineHeight + (heading ? ts.letterHeight : 0);
        if (y + need > ts.bodyBottom)
            nextColumn();
        PageLayout& page = pages.back();
        const qreal left = ts.marginX + column * (colWidth + ts.columnGap);
        if (heading) {
            const QFontMetricsF fm(ts.font[Letter]);
            const qreal x = left + (colWidth - fm.horizontalAdvance(l)) / 2;
            page.lines.push_back({{l, Letter, x, y + ts.letterHeight * 0.62}});
            y += ts.letterHeight;
            letter = l;
        }
        for (const auto& line : lines) {
            PlacedLine placed;
            for (const auto& [tok, x] : line)
                placed.push_back({tok.text, tok.font, left + x, y + ascent});
            page.lines.push_back(placed);
            y += ts.lineHeight;
        }
        y += ts.entryGap;
        e.page = page.number;
        if (page.first.isEmpty())
            page.first = e.headword;
        page.last = e.headword;
    }
    // Running head: guide words outside, folio in the middle, a rule below,
    // and a thin rule between the columns.
    for (PageLayout& p : pages) {
        PlacedLine head;
        const QFontMetricsF fh(ts.font[RunningHead]);
        const QFontMetricsF ff(ts.font[Folio]);
        const QString folio = QString::number(p.number);
        head.push_back({p.first, RunningHead, qreal(ts.marginX), qreal(ts.headBaseline)});
        head.push_back({folio, Folio, (kPageWidth - ff.horizontalAdvance(folio)) / 2, qreal(ts.headBaseline)});
        head.push_back(
            {p.last, RunningHead, kPageWidth - ts.marginX - fh.horizontalAdvance(p.last), qreal(ts.headBaseline)});
        // Multi-word guide words become separate words of the text layer.
        PlacedLine split;
        for (const PlacedWord& w : head) {
            qreal x = w.x;
            const QFontMetricsF fm(ts.font[w.font]);
            for (const QString& part : w.text.split(QLatin1Char(' '))) {
                split.push_back({part, w.font, x, w.baseline});
                x += fm.horizontalAdvance(part + QLatin1Char(' '));
            }
        }
        p.lines.prepend(split);
        p.rules.push_back(QRectF(ts.marginX, ts.ruleY, kPageWidth - 2 * ts.marginX, 4));
        p.rules.push_back(QRectF(kPageWidth / 2.0 - 1, ts.bodyTop, 2, ts.bodyBottom - ts.bodyTop));
    }
    return pages;
}

// A single page of running text (the "Pages" dictionary's annotation).
PageLayout layoutText(const QString& title, const QStringList& paragraphs, const Typeset& ts)
{
    PageLayout p;
    p.number = 1;
    const qreal width = kPageWidth - 2.0 * ts.marginX;
    const QFontMetricsF ft(ts.font[Title]);
    qreal y = 500;
    p.lines.push_back({});
    qreal x = ts.marginX + (width - ft.horizontalAdvance(title)) / 2;
    for (const QString& w : title.split(QLatin1Char(' '))) {
        p.lines.back().push_back({w, Title, x, y});
        x += ft.horizontalAdvance(w + QLatin1Char(' '));
    }
    p.rules.push_back(QRectF(ts.marginX, y + 60, width, 4));
    y += 220;
    const qreal ascent = QFontMetricsF(ts.font[Body]).ascent();
    for (const QString& para : paragraphs) {
        QVector<Token> tokens;
        addWords(tokens, para, Body);
        const auto lines = wrap(tokens, ts, width, 0);
        for (const auto& line : lines) {
            PlacedLine placed;
            for (const auto& [tok, lx] : line)
                placed.push_back({tok.text, tok.font, ts.marginX + lx, y + ascent});
            p.lines.push_back(placed);
            y += ts.lineHeight;
        }
        y += ts.lineHeight * 0.8;
    }
    return p;
}

namespace {
// One line of the text layer; word boxes come from the same font metrics
// that placed the words.
QString drawLine(QPainter& painter, const PlacedLine& line, const Typeset& ts)
{
    QString words;
    int lx0 = kPageWidth, ly0 = kPageHeight, lx1 = 0, ly1 = 0;
    for (const PlacedWord& w : line) {
        const QFont& font = ts.font[w.font];
        painter.setFont(font);
        painter.drawText(QPointF(w.x, w.baseline), w.text);
        const QFontMetricsF fm(font);
        const int x0 = int(std::floor(w.x));
        const int x1 = int(std::ceil(w.x + fm.horizontalAdvance(w.text)));
        const int top = int(std::floor(w.baseline - fm.ascent()));
        const int bottom = int(std::ceil(w.baseline + fm.descent()));
        const int y0 = kPageHeight - bottom, y1 = kPageHeight - top;
        words += QStringLiteral("\n  (word %1 %2 %3 %4 %5)")
                     .arg(x0)
                     .arg(y0)
                     .arg(x1)
                     .arg(y1)
                     .arg(lexifol::djvu::Quoted(w.text));
        lx0 = std::min(lx0, x0);
        ly0 = std::min(ly0, y0);
        lx1 = std::max(lx1, x1);
        ly1 = std::max(ly1, y1);
    }
    return QStringLiteral("\n (line %1 %2 %3 %4").arg(lx0).arg(ly0).arg(lx1).arg(ly1) + words + QLatin1Char(')');
}
} // namespace

DrawnPage renderPage(const PageLayout& page, const Typeset& ts)
{
    QImage img(kPageWidth, kPageHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int dpm = int(std::lround(kDpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);

    QString text = QStringLiteral("(page 0 0 %1 %2").arg(kPageWidth).arg(kPageHeight);
    {
        QPainter painter(&img);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setPen(Qt::black);
        for (const QRectF& r : page.rules)
            painter.fillRect(r, Qt::black);
        for (const PlacedLine& line : page.lines) {
            if (!line.isEmpty())
                text += drawLine(painter, line, ts);
        }
    }
    text += QStringLiteral(")\n");
    return {img, text};
}

} // namespace mksample
