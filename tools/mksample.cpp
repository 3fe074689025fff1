// lexifol_mksample <program-folder>
//
// Makes a program folder with two sample dictionaries whose pages look like
// a printed dictionary: "Sample" (one bundled DjVu document, UTF-16 index)
// and "Pages" (one DjVu file per page, 8-bit index), plus the settings file,
// plug-in parameters, intro and help pages. Output is deterministic for a
// given locale, since the index order follows the program's collation.

#include "index/CodePage.h"
#include "index/AtomicFile.h"
#include "index/TextFile.h"
#include "index/Collation.h"
#include "mksample_words.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

constexpr int kPageWidth = 2550;  // US Letter at 300 dpi
constexpr int kPageHeight = 3300;
constexpr int kDpi = 300;

// Thrown rather than exiting, so that the temporary folder is removed.
struct Failure {
    QString message;
};

[[noreturn]] void fail(const QString& message) { throw Failure{message}; }

// ---------------------------------------------------------------- entries

struct Entry {
    QString headword;
    QString pos;     // part of speech, set in italics
    QString text;    // definition, or the words before a cross-reference
    QString target;  // cross-referenced headword; empty for a plain entry
    int page = 0;
};

struct Row {
    QString f[4];
};

QVector<Row> parseTable(const char* text)
{
    QVector<Row> rows;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList parts = line.split(QLatin1Char('|'));
        Row r;
        for (int i = 0; i < 4 && i < parts.size(); ++i)
            r.f[i] = parts[i].trimmed();
        rows.push_back(r);
    }
    return rows;
}

bool isVowel(QChar c) { return QStringLiteral("aeiou").contains(c); }

QString withArticle(const QString& w)
{
    const bool an = isVowel(w.at(0)) || w.startsWith(QLatin1String("hon"));
    return (an ? QStringLiteral("an ") : QStringLiteral("a ")) + w;
}

QString thirdPerson(const QString& v)
{
    for (const char* end : {"s", "x", "z", "ch", "sh", "o"})
        if (v.endsWith(QLatin1String(end)))
            return v + QStringLiteral("es");
    if (v.size() > 1 && v.endsWith(QLatin1Char('y')) && !isVowel(v.at(v.size() - 2)))
        return v.chopped(1) + QStringLiteral("ies");
    return v + QLatin1Char('s');
}

int vowelGroups(const QString& w)
{
    int groups = 0;
    bool inVowel = false;
    for (QChar c : w) {
        const bool v = isVowel(c);
        if (v && !inVowel)
            ++groups;
        inVowel = v;
    }
    return groups;
}

QString gerund(const QString& v)
{
    const int n = v.size();
    if (v.endsWith(QLatin1String("ie")))
        return v.chopped(2) + QStringLiteral("ying");
    if (v.endsWith(QLatin1Char('e')) && !v.endsWith(QLatin1String("ee")))
        return v.chopped(1) + QStringLiteral("ing");
    if (n >= 3 && vowelGroups(v) == 1 && !isVowel(v[n - 1]) && isVowel(v[n - 2])
        && !isVowel(v[n - 3]) && !QStringLiteral("wxy").contains(v[n - 1]))
        return v + v[n - 1] + QStringLiteral("ing");
    return v + QStringLiteral("ing");
}

// A derived form's definition is made from its base word by the suffix.
Entry derive(const Row& base, const QString& d)
{
    const QString& w = base.f[0];
    const QString& pos = base.f[1];
    const bool noun = pos == QLatin1String("n.");
    const bool verb = pos == QLatin1String("v.");
    const bool adj = pos == QLatin1String("adj.");
    auto ends = [&](const char* s) { return d.endsWith(QLatin1String(s)); };
    Entry e;
    e.headword = d;
    if (ends("ly") && adj) {
        e.pos = QStringLiteral("adv.");
        e.text = QStringLiteral("in %1 manner").arg(withArticle(w));
    } else if (ends("ly") && noun) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("like %1; befitting %1").arg(withArticle(w));
    } else if (ends("ness")) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("the state or quality of being %1").arg(w);
    } else if (ends("ful")) {
        e.pos = QStringLiteral("adj.");
        e.text = verb ? QStringLiteral("inclined to %1").arg(w) : QStringLiteral("full of %1").arg(w);
    } else if (ends("less")) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("having no %1; without %1").arg(w);
    } else if ((ends("er") || ends("or")) && !adj) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("a person or thing that %1").arg(thirdPerson(w));
    } else if ((ends("ment") || ends("ance") || ends("tion") || ends("al")) && verb) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("the act of %1; the result of this").arg(gerund(w));
    } else if (ends("ish")) {
        e.pos = QStringLiteral("adj.");
        e.text = adj ? QStringLiteral("somewhat %1").arg(w) : QStringLiteral("like %1").arg(withArticle(w));
    } else if (ends("y") && noun) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("full of or covered with %1; like %1").arg(w);
    } else {
        e.pos = pos;
        e.text = QStringLiteral("a form of");
        e.target = w;
    }
    return e;
}

Entry plainEntry(const Row& r)
{
    Entry e;
    e.headword = r.f[0];
    e.pos = r.f[1];
    e.text = r.f[2];
    return e;
}

Entry crossReference(const Row& r)
{
    Entry e;
    e.headword = r.f[0];
    e.pos = r.f[1];
    e.text = r.f[2];
    e.target = r.f[3];
    return e;
}

// Sorts by the program's collation and drops what its index checker would
// reject: neighbours that compare equal without being identical, and
// cross-references whose target is not a headword.
void sortEntries(QVector<Entry>& entries, const char* dictionary)
{
    const lexifol::IndexCollation& coll = lexifol::IndexCollation::Default();
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return coll.compare(a.headword, b.headword) < 0;
    });
    QVector<Entry> kept;
    for (const Entry& e : entries) {
        if (!kept.isEmpty() && kept.back().headword != e.headword
            && coll.compare(kept.back().headword, e.headword) == 0) {
            std::fprintf(stderr, "lexifol_mksample: %s: \"%s\" collates equal to \"%s\", left out\n",
                         dictionary, qPrintable(e.headword), qPrintable(kept.back().headword));
            continue;
        }
        kept.push_back(e);
    }
    QSet<QString> headwords;
    for (const Entry& e : kept)
        headwords.insert(e.headword);
    entries.clear();
    for (const Entry& e : kept) {
        if (!e.target.isEmpty() && !headwords.contains(e.target)) {
            std::fprintf(stderr, "lexifol_mksample: %s: cross-reference target \"%s\" missing, \"%s\" left out\n",
                         dictionary, qPrintable(e.target), qPrintable(e.headword));
            continue;
        }
        entries.push_back(e);
    }
}

QVector<Entry> sampleEntries()
{
    QVector<Entry> out;
    for (const Row& r : parseTable(mksample::kBaseWords)) {
        out.push_back(plainEntry(r));
        for (const QString& d : r.f[3].split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.push_back(derive(r, d.trimmed()));
    }
    for (const Row& r : parseTable(mksample::kLoanAndCompoundWords)) {
        out.push_back(plainEntry(r));
        for (const QString& d : r.f[3].split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.push_back(derive(r, d.trimmed()));
    }
    for (const Row& r : parseTable(mksample::kCrossReferences))
        out.push_back(crossReference(r));
    sortEntries(out, "Sample");
    return out;
}

// The one-file-per-page dictionary is a concise one: base words with the
// first sense only, a few loan words, a few cross-references; everything
// must survive the 8-bit index.
QVector<Entry> pagesEntries()
{
    const lexifol::AnsiCodec& ansi = lexifol::Ansi();
    auto encodable = [&](const QString& s) { return ansi.decode(ansi.encode(s)) == s; };
    // Every other base word, and the words that tests and cross-references need.
    const QStringList needed = {QStringLiteral("apple"), QStringLiteral("color"), QStringLiteral("gray"),
                                QStringLiteral("go"), QStringLiteral("child"), QStringLiteral("mouse")};
    QVector<Entry> out;
    const QVector<Row> base = parseTable(mksample::kBaseWords);
    for (int i = 0; i < base.size(); ++i) {
        if (i % 2 != 0 && !needed.contains(base[i].f[0]))
            continue;
        Entry e = plainEntry(base[i]);
        e.text = e.text.section(QLatin1Char(';'), 0, 0);
        out.push_back(e);
    }
    const QStringList chosen = {QStringLiteral("café"), QStringLiteral("façade"), QStringLiteral("naïve"),
                                QStringLiteral("o'clock"), QStringLiteral("well-being"),
                                QStringLiteral("ice cream"), QStringLiteral("résumé"), QStringLiteral("resume")};
    for (const Row& r : parseTable(mksample::kLoanAndCompoundWords))
        if (chosen.contains(r.f[0]) && encodable(r.f[0] + r.f[2]))
            out.push_back(plainEntry(r));
    const QStringList refs = {QStringLiteral("cafe"), QStringLiteral("colour"), QStringLiteral("grey"),
                              QStringLiteral("went"), QStringLiteral("children"), QStringLiteral("ice-cream"),
                              QStringLiteral("naive"), QStringLiteral("mice")};
    for (const Row& r : parseTable(mksample::kCrossReferences))
        if (refs.contains(r.f[0]) && encodable(r.f[0] + r.f[3]))
            out.push_back(crossReference(r));
    sortEntries(out, "Pages");
    return out;
}

// ---------------------------------------------------------------- layout

enum FontRole { Body, Headword, Italic, Target, Letter, RunningHead, Folio, Title, FontCount };

struct Typeset {
    QFont font[FontCount];
    qreal lineHeight = 0;
    qreal entryGap = 0;
    qreal indent = 0;
    qreal letterHeight = 0;
    int marginX = 0;
    int headBaseline = 0;
    int ruleY = 0;
    int bodyTop = 0;
    int bodyBottom = 0;
    int columnGap = 0;
    qreal columnWidth() const { return (kPageWidth - 2.0 * marginX - columnGap) / 2.0; }
};

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

struct PlacedWord {
    QString text;
    FontRole font;
    qreal x;
    qreal baseline;
};

using PlacedLine = QVector<PlacedWord>;

struct PageLayout {
    int number = 0;
    QVector<PlacedLine> lines;
    QVector<QRectF> rules;
    QString first, last;
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
QVector<QVector<QPair<Token, qreal>>> wrap(const QVector<Token>& tokens, const Typeset& ts, qreal width,
                                           qreal indent)
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
        head.push_back({p.last, RunningHead, kPageWidth - ts.marginX - fh.horizontalAdvance(p.last),
                        qreal(ts.headBaseline)});
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

// ---------------------------------------------------------------- rendering

QString quoted(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

// Draws the page and returns its hidden text in djvused syntax; word boxes
// come from the same font metrics that placed the words.
QString renderPage(const PageLayout& page, const Typeset& ts, const QString& pbmPath)
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
            if (line.isEmpty())
                continue;
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
                words += QStringLiteral("\n  (word %1 %2 %3 %4 %5)").arg(x0).arg(y0).arg(x1).arg(y1).arg(quoted(w.text));
                lx0 = std::min(lx0, x0);
                ly0 = std::min(ly0, y0);
                lx1 = std::max(lx1, x1);
                ly1 = std::max(ly1, y1);
            }
            text += QStringLiteral("\n (line %1 %2 %3 %4").arg(lx0).arg(ly0).arg(lx1).arg(ly1) + words + QLatin1Char(')');
        }
    }
    text += QStringLiteral(")\n");

    const QImage mono = img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    if (!mono.save(pbmPath, "PBM"))
        fail(QStringLiteral("cannot write %1").arg(pbmPath));
    return text;
}

// ---------------------------------------------------------------- files

void writeFile(const QString& path, const QByteArray& bytes)
{
    if (!lexifol::WriteFileAtomically(path, bytes))
        fail(QStringLiteral("cannot write %1").arg(path));
}

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QString indexValue(const Entry& e)
{
    QString v = QString::number(e.page);
    if (e.target.isEmpty())
        return v;
    QString t = e.target;
    const bool needsQuotes = std::any_of(t.begin(), t.end(), [](QChar c) {
        return c.unicode() <= 0x20 || c == QLatin1Char('>') || c == QLatin1Char('"');
    });
    if (needsQuotes)
        t = QLatin1Char('"') + t.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    return v + QLatin1Char('>') + t;
}

QString withoutAccents(const QString& s)
{
    QString out;
    for (QChar c : s.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    return out;
}

QStringList indexLines(const QVector<Entry>& entries, const char* dictionary)
{
    QStringList lines;
    for (const Entry& e : entries)
        lines << e.headword + QLatin1Char('\t') + indexValue(e);
    // The checker wants ascending headwords. The lookup bisects whole lines;
    // their order may only differ where two headwords differ in accents
    // alone ("cafe" before "café", while "cafe<TAB>3>café" sorts after
    // "café<TAB>3"), which moves nothing for any other key.
    const lexifol::IndexCollation& coll = lexifol::IndexCollation::Default();
    for (int i = 1; i < lines.size(); ++i) {
        const QString& a = entries[i - 1].headword;
        const QString& b = entries[i].headword;
        const bool headOk = a == b || coll.compare(a, b) < 0;
        const bool lineOk = lines[i - 1] == lines[i] || coll.compare(lines[i - 1], lines[i]) < 0
                            || withoutAccents(a) == withoutAccents(b);
        if (!lineOk || !headOk)
            fail(QStringLiteral("%1: index out of order at line %2: \"%3\" before \"%4\"")
                     .arg(QLatin1String(dictionary))
                     .arg(i + 1)
                     .arg(lines[i - 1], lines[i]));
    }
    return lines;
}

void copyReplacing(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        fail(QStringLiteral("cannot copy %1 to %2").arg(from, to));
}

// Only our own page documents are removed, so a second index or replacement
// list that the user built stays.
void removeDocuments(const QString& dir)
{
    const QStringList old = QDir(dir).entryList({QStringLiteral("*.djvu")}, QDir::Files);
    for (const QString& f : old)
        QFile::remove(dir + QLatin1Char('/') + f);
}

void makeDir(const QString& path)
{
    if (!QDir().mkpath(path))
        fail(QStringLiteral("cannot create %1").arg(path));
}

// ---------------------------------------------------------------- encoding

bool runTool(const QString& dir, const QString& program, const QStringList& args, QString* error)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(-1) || !p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit
        || p.exitCode() != 0) {
        *error = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ")
                 + QString::fromLocal8Bit(p.readAll()).trimmed() + p.errorString();
        return false;
    }
    return true;
}

// <base>.pbm + <base>.txt -> <base>.djvu, two pages at a time.
void encodePages(const QString& dir, const QStringList& bases)
{
    std::atomic<int> next{0};
    std::mutex mutex;
    QStringList errors;
    auto worker = [&] {
        for (int i = next++; i < bases.size(); i = next++) {
            const QString& b = bases[i];
            QString error;
            const bool ok = runTool(dir, QStringLiteral("cjb2"),
                                    {QStringLiteral("-dpi"), QString::number(kDpi), b + QStringLiteral(".pbm"),
                                     b + QStringLiteral(".djvu")},
                                    &error)
                            && runTool(dir, QStringLiteral("djvused"),
                                       {b + QStringLiteral(".djvu"), QStringLiteral("-e"),
                                        QStringLiteral("select 1; set-txt %1.txt").arg(b), QStringLiteral("-s")},
                                       &error);
            if (!ok) {
                std::lock_guard<std::mutex> lock(mutex);
                errors << error;
            }
        }
    };
    std::thread a(worker), b(worker);
    a.join();
    b.join();
    if (!errors.isEmpty())
        fail(errors.join(QLatin1Char('\n')));
}

QStringList renderDictionary(const QVector<PageLayout>& pages, const Typeset& ts, const QString& tmp,
                             const QString& prefix)
{
    QStringList bases;
    for (const PageLayout& p : pages) {
        const QString base = prefix + QString::number(p.number).rightJustified(3, QLatin1Char('0'));
        const QString hidden = renderPage(p, ts, tmp + QLatin1Char('/') + base + QStringLiteral(".pbm"));
        writeFile(tmp + QLatin1Char('/') + base + QStringLiteral(".txt"), hidden.toUtf8());
        bases << base;
    }
    return bases;
}

// ---------------------------------------------------------------- HTML

QString htmlPage(const QString& title, const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html>\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
               "<title>%1</title>\n"
               "<style>\n"
               "body { font-family: \"DejaVu Serif\", Georgia, serif; margin: 2em 3em; max-width: 46em; }\n"
               "h1 { font-size: 160%; border-bottom: 1px solid #888; }\n"
               "h2 { font-size: 120%; margin-top: 1.5em; }\n"
               "table { border-collapse: collapse; }\n"
               "td, th { border: 1px solid #bbb; padding: 3px 8px; vertical-align: top; text-align: left; }\n"
               "code { font-family: \"DejaVu Sans Mono\", monospace; }\n"
               "</style>\n</head>\n<body>\n")
               .arg(title.toHtmlEscaped())
           + body + QStringLiteral("</body>\n</html>\n");
}

struct Summary {
    QString name, title;
    int pages = 0;
    int entries = 0;
    QString example;  // "headword (page)"
};

QString introPage(const QVector<Summary>& dicts)
{
    QString list;
    for (const Summary& d : dicts)
        list += QStringLiteral("<li><b>%1</b>: %2, %3 headwords on %4 pages</li>\n")
                    .arg(d.name.toHtmlEscaped(), d.title.toHtmlEscaped())
                    .arg(d.entries)
                    .arg(d.pages);
    return htmlPage(
        QStringLiteral("Welcome to Lexifol"),
        QStringLiteral(
            "<h1>Welcome to Lexifol</h1>\n"
            "<p>Lexifol shows the pages of printed dictionaries that have been scanned. "
            "Every installed dictionary comes with a headword index, so that you can go "
            "straight to the page on which a word is printed.</p>\n"
            "<h2>Looking a word up</h2>\n"
            "<ol>\n"
            "<li>Pick a dictionary in the list at the top left (double-click it).</li>\n"
            "<li>Type the word in the search box. With every key the nearest headword is "
            "selected in the index list.</li>\n"
            "<li>Press <b>Enter</b> to show the page that holds it, or double-click an "
            "entry of the index list.</li>\n"
            "</ol>\n"
            "<p>The arrow keys, <b>Page Up</b> and <b>Page Down</b> scroll the page; "
            "<b>Ctrl+Page Up</b> and <b>Ctrl+Page Down</b> go to the previous or next page "
            "of the dictionary; <b>Ctrl+0</b> to <b>Ctrl+9</b> open the dictionaries bound "
            "to those keys (<b>Ctrl+1</b> and <b>Ctrl+2</b> here). <b>Help &gt; Lexifol Help</b> "
            "lists all keys.</p>\n"
            "<h2>Installed sample dictionaries</h2>\n"
            "<ul>\n%1</ul>\n"
            "<p>Try typing <i>apple</i> and pressing Enter.</p>\n")
            .arg(list));
}

QString helpPage()
{
    return htmlPage(
        QStringLiteral("Lexifol Help"),
        QStringLiteral(
            "<h1>Lexifol Help</h1>\n"
            "<p>Lexifol is a viewer for printed dictionaries scanned into DjVu documents. "
            "Each dictionary has an index that names the page of every headword; Lexifol "
            "finds the headword you type and shows its page.</p>\n"

            "<h2>Finding a word</h2>\n"
            "<p>Type in the search box: as each key is typed, the nearest headword is "
            "selected in the index list. Press <b>Enter</b> to show its page. An entry that "
            "refers to another headword (a variant spelling, for example) shows the page of "
            "that headword. Double-clicking an entry of the index list also shows its page. "
            "If the dictionary has a second index, the word may be typed with the characters "
            "that its replacement rules change typed differently or left out.</p>\n"

            "<h2>Keys</h2>\n"
            "<table>\n"
            "<tr><th>Key</th><th>Action</th></tr>\n"
            "<tr><td>typing</td><td>selects the nearest headword in the index list</td></tr>\n"
            "<tr><td>Enter</td><td>shows the page of the selected headword</td></tr>\n"
            "<tr><td>double-click</td><td>on an index entry: shows its page; on a dictionary: opens it</td></tr>\n"
            "<tr><td>Up, Down</td><td>scroll the page a little (in the lists they move the selection)</td></tr>\n"
            "<tr><td>Page Up, Page Down</td><td>scroll the page by a screen</td></tr>\n"
            "<tr><td>Home, End</td><td>scroll the page by three screens (outside the search box)</td></tr>\n"
            "<tr><td>Ctrl+Page Up, Ctrl+Page Down</td><td>step to the previous or next page of the index and show it</td></tr>\n"
            "<tr><td>Ctrl+Up, Ctrl+Down</td><td>open the previous or next checked dictionary of the list</td></tr>\n"
            "<tr><td>Ctrl+0 &hellip; Ctrl+9</td><td>open the dictionary bound to that digit "
            "(Configuration, Shortcuts)</td></tr>\n"
            "<tr><td>F2</td><td>Find: search the typed word in the text of the page, as the Find "
            "button does (dictionaries with a text layer)</td></tr>\n"
            "<tr><td>F3</td><td>search the typed word in the page again, leaving the Find box open</td></tr>\n"
            "<tr><td>Insert</td><td>back to the search box, the search is run again and its text selected</td></tr>\n"
            "<tr><td>Ctrl+Left, Ctrl+Right</td><td>history: back and forward</td></tr>\n"
            "<tr><td>Delete</td><td>in the bookmarks list: delete the selected bookmark</td></tr>\n"
            "<tr><td>Ctrl+Delete</td><td>on the bookmarks tab: delete all bookmarks</td></tr>\n"
            "</table>\n"

            "<h2>History and bookmarks</h2>\n"
            "<p>Every page shown is remembered in the history; the Back and Forward buttons "
            "(or Ctrl+Left and Ctrl+Right) go through it. The bookmark button keeps the "
            "selected headword in the bookmarks list; the bookmarks are saved when Lexifol "
            "closes. Opening a history entry or a bookmark of another dictionary switches "
            "to that dictionary.</p>\n"

            "<h2>Folders and files</h2>\n"
            "<p>Everything lies in the program folder, the folder of the executable:</p>\n"
            "<table>\n"
            "<tr><th>Path</th><th>Content</th></tr>\n"
            "<tr><td><code>Lexifol.ini</code></td><td>settings: [Scroll] Browser_Mouse, [main] advanced, "
            "[Shortcuts] 0 to 9</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.list</code></td><td>the index of the dictionary "
            "<i>name</i>: one line per headword, the headword, a TAB and the page, sorted; "
            "its presence installs the dictionary</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/</code></td><td>the dictionary's folder: its DjVu "
            "document <code>&lt;name&gt;.djvu</code>, or one file per page named after the page</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/&lt;name&gt;.ini</code></td><td>the descriptor: "
            "[main] name (title), whole_file, text_layer, keyboard_layout</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/Plugin.dat</code></td><td>parameters of the DjVu "
            "plug-in, one per line</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/secondindex.list</code>, <code>replacelist.dat</code>"
            "</td><td>the second index and its replacement rules, built in the Configuration dialog</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/Annotation.djvu</code>, <code>Annotation.htm</code>"
            "</td><td>a page about the dictionary, shown by the Annotation icon</td></tr>\n"
            "<tr><td><code>Intro/intro.htm</code></td><td>the welcome page shown at start</td></tr>\n"
            "<tr><td><code>Help/main.htm</code></td><td>this page</td></tr>\n"
            "</table>\n"
            "<p>Three files are kept in the current directory, the folder Lexifol was started from: "
            "<code>diclist.dat</code> (the order and check marks of the dictionary list), "
            "<code>Bookmarks.dat</code> (the bookmarks) and a fallback <code>Plugin.dat</code> "
            "for dictionaries without their own.</p>\n"));
}

QString annotationPage(const Summary& s)
{
    return htmlPage(
        QStringLiteral("About %1").arg(s.title),
        QStringLiteral(
            "<h1>%1</h1>\n"
            "<p>A small general dictionary of English made for trying Lexifol out. "
            "Its %2 pages are bundled into one DjVu document and carry a hidden text "
            "layer, so the Find command can search them.</p>\n"
            "<p>The index lists %3 headwords. Some entries only point to another "
            "headword: variant spellings such as <i>colour</i> show the page of "
            "<i>color</i>, irregular forms such as <i>went</i> the page of <i>go</i>. "
            "Loan words keep their accents (<i>café</i>, <i>naïve</i>, <i>résumé</i>), "
            "and some headwords contain hyphens, apostrophes or blanks "
            "(<i>well-being</i>, <i>o'clock</i>, <i>ice cream</i>).</p>\n"
            "<p>Each page has the first and the last headword at the top, with the page "
            "number between them, and two columns of entries: the headword in bold, the "
            "part of speech in italics, then a short definition.</p>\n"
            "<p>Example: %4.</p>\n")
            .arg(s.title.toHtmlEscaped())
            .arg(s.pages)
            .arg(s.entries)
            .arg(s.example.toHtmlEscaped()));
}

QString exampleOf(const QVector<Entry>& entries, const QString& word)
{
    for (const Entry& e : entries)
        if (e.headword == word)
            return QStringLiteral("%1 is on page %2").arg(word).arg(e.page);
    return entries.isEmpty() ? QString() : QStringLiteral("%1 is on page %2").arg(entries[0].headword).arg(entries[0].page);
}

} // namespace

int run(const QString& programFolder);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: lexifol_mksample <program-folder>\n");
        return 2;
    }
    try {
        return run(args[1]);
    } catch (const Failure& f) {
        std::fprintf(stderr, "lexifol_mksample: %s\n", qPrintable(f.message));
        return 1;
    }
}

int run(const QString& programFolder)
{
    for (const char* tool : {"cjb2", "djvm", "djvused"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            fail(QStringLiteral("%1 not found (install djvulibre-bin)").arg(QLatin1String(tool)));

    QElapsedTimer timer;
    timer.start();
    const QString root = QDir(programFolder).absolutePath();
    QTemporaryDir tmpDir(QDir::tempPath() + QStringLiteral("/lexifol_mksample-XXXXXX"));
    if (!tmpDir.isValid())
        fail(QStringLiteral("cannot create a temporary folder"));
    const QString tmp = tmpDir.path();

    // Layout first: page numbers must be known before anything is drawn.
    QVector<Entry> sample = sampleEntries();
    const Typeset sampleType = typeset(QStringLiteral("DejaVu Serif"), 60);
    const QVector<PageLayout> samplePages = layoutDictionary(sample, sampleType);

    QVector<Entry> pagesDict = pagesEntries();
    const Typeset pagesType = typeset(QStringLiteral("DejaVu Sans"), 64);
    const QVector<PageLayout> pagesPages = layoutDictionary(pagesDict, pagesType);

    const QStringList sampleIndex = indexLines(sample, "Sample");
    const QStringList pagesIndex = indexLines(pagesDict, "Pages");

    const Summary sampleSum{QStringLiteral("Sample"), QStringLiteral("Sample English Dictionary"),
                            int(samplePages.size()), int(sample.size()), exampleOf(sample, QStringLiteral("apple"))};
    const Summary pagesSum{QStringLiteral("Pages"), QStringLiteral("Sample dictionary, one file per page"),
                           int(pagesPages.size()), int(pagesDict.size()), exampleOf(pagesDict, QStringLiteral("apple"))};

    QStringList bases = renderDictionary(samplePages, sampleType, tmp, QStringLiteral("s"));
    const QStringList sampleBases = bases;
    const QStringList pagesBases = renderDictionary(pagesPages, pagesType, tmp, QStringLiteral("p"));
    bases += pagesBases;
    const PageLayout about = layoutText(
        QStringLiteral("About this dictionary"),
        {QStringLiteral("This concise dictionary of English was made for trying Lexifol out. "
                        "Each of its %1 pages is a DjVu file of its own, named after the page "
                        "number, and carries a hidden text layer.")
             .arg(pagesSum.pages),
         QStringLiteral("Its index holds %1 headwords in 8-bit text. A few entries refer to another "
                        "headword, for example colour to color and went to go.")
             .arg(pagesSum.entries),
         QStringLiteral("This page is the dictionary's annotation document.")},
        pagesType);
    writeFile(tmp + QStringLiteral("/annotation.txt"),
              renderPage(about, pagesType, tmp + QStringLiteral("/annotation.pbm")).toUtf8());
    bases << QStringLiteral("annotation");
    const qint64 renderMs = timer.elapsed();

    encodePages(tmp, bases);
    {
        QStringList djvmArgs{QStringLiteral("-c"), QStringLiteral("Sample.djvu")};
        for (const QString& b : sampleBases)
            djvmArgs << b + QStringLiteral(".djvu");
        QString error;
        if (!runTool(tmp, QStringLiteral("djvm"), djvmArgs, &error))
            fail(error);
    }

    // Program folder.
    const QString data = root + QStringLiteral("/Data");
    const QString sampleDir = data + QStringLiteral("/Sample.files");
    const QString pagesDir = data + QStringLiteral("/Pages.files");
    for (const QString& d : {sampleDir, pagesDir, root + QStringLiteral("/Intro"), root + QStringLiteral("/Help")})
        makeDir(d);

    const QByteArray plugin = crlfLines({QStringLiteral("width=\"100%\""), QStringLiteral("height=\"100%\""),
                                         QStringLiteral("Toolbar=no"), QStringLiteral("ScrollBars=no"),
                                         QStringLiteral("zoom=width")});
    writeFile(root + QStringLiteral("/Plugin.dat"), plugin);
    writeFile(root + QStringLiteral("/Lexifol.ini"),
              crlfLines({QStringLiteral("[Scroll]"), QStringLiteral("Browser_Mouse=0"), QStringLiteral("[main]"),
                         QStringLiteral("advanced=1"), QStringLiteral("[Shortcuts]"), QStringLiteral("1=Sample"),
                         QStringLiteral("2=Pages")}));
    // The catalogue file of a user who starts Lexifol in this folder: the
    // whole-file sample first. A catalogue the user already has is kept.
    if (!QFileInfo::exists(root + QStringLiteral("/diclist.dat")))
        writeFile(root + QStringLiteral("/diclist.dat"), crlfLines({QStringLiteral("Sample\t1"), QStringLiteral("Pages\t0")}));
    writeFile(root + QStringLiteral("/Intro/intro.htm"), introPage({sampleSum, pagesSum}).toUtf8());
    writeFile(root + QStringLiteral("/Help/main.htm"), helpPage().toUtf8());

    removeDocuments(sampleDir);
    copyReplacing(tmp + QStringLiteral("/Sample.djvu"), sampleDir + QStringLiteral("/Sample.djvu"));
    writeFile(sampleDir + QStringLiteral("/Sample.ini"),
              lexifol::Utf16FileBytes({QStringLiteral("[main]"), QStringLiteral("name=") + sampleSum.title,
                               QStringLiteral("whole_file=yes"), QStringLiteral("text_layer=yes"),
                               QStringLiteral("keyboard_layout=00000409")}));
    writeFile(sampleDir + QStringLiteral("/Plugin.dat"), plugin);
    writeFile(sampleDir + QStringLiteral("/Annotation.htm"), annotationPage(sampleSum).toUtf8());
    writeFile(data + QStringLiteral("/Sample.list"), lexifol::Utf16FileBytes(sampleIndex));

    removeDocuments(pagesDir);
    for (int i = 0; i < pagesBases.size(); ++i)
        copyReplacing(tmp + QLatin1Char('/') + pagesBases[i] + QStringLiteral(".djvu"),
                      pagesDir + QLatin1Char('/') + QString::number(pagesPages[i].number) + QStringLiteral(".djvu"));
    copyReplacing(tmp + QStringLiteral("/annotation.djvu"), pagesDir + QStringLiteral("/Annotation.djvu"));
    writeFile(pagesDir + QStringLiteral("/Pages.ini"),
              crlfLines({QStringLiteral("[main]"), QStringLiteral("name=") + pagesSum.title,
                         QStringLiteral("whole_file=no"), QStringLiteral("text_layer=yes"),
                         QStringLiteral("keyboard_layout=00000409")}));
    writeFile(pagesDir + QStringLiteral("/Plugin.dat"), plugin);
    QByteArray pagesList;
    for (const QString& l : pagesIndex)
        pagesList += lexifol::Ansi().encode(l) + "\r\n";
    writeFile(data + QStringLiteral("/Pages.list"), pagesList);

    std::printf("%s: Sample %d pages, %d entries; Pages %d pages, %d entries (%s code page); "
                "drawn in %lld ms, done in %lld ms\n",
                qPrintable(root), sampleSum.pages, sampleSum.entries, pagesSum.pages, pagesSum.entries,
                qPrintable(lexifol::Ansi().name()), renderMs, timer.elapsed());
    return 0;
}
