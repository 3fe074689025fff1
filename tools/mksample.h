#pragma once
// The sample maker's parts: the entries of the two sample dictionaries, their
// page layout and drawing, and the HTML pages of the program folder.
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace mksample {

constexpr int kPageWidth = 2550; // US Letter at 300 dpi
constexpr int kPageHeight = 3300;
constexpr int kDpi = 300;

// Thrown rather than exiting, so that the temporary folder is removed.
struct Failure {
    QString message;
};

[[noreturn]] inline void fail(const QString& message)
{
    throw Failure{message};
}

struct Entry {
    QString headword;
    QString pos;    // part of speech, set in italics
    QString text;   // definition, or the words before a cross-reference
    QString target; // cross-referenced headword; empty for a plain entry
    int page = 0;
};

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

struct Summary {
    QString name, title;
    int pages = 0;
    int entries = 0;
    QString example; // "headword (page)"
};

// Entries, sorted as the index wants them.
QVector<Entry> sampleEntries();
QVector<Entry> pagesEntries();
// Index lines of the entries; fails when they are out of the checker's order.
QStringList indexLines(const QVector<Entry>& entries, const char* dictionary);
// "word is on page N", for the HTML pages.
QString exampleOf(const QVector<Entry>& entries, const QString& word);

Typeset typeset(const QString& headwordFamily, int bodyPixels);
// Lays the entries out on pages; sets each entry's page number.
QVector<PageLayout> layoutDictionary(QVector<Entry>& entries, const Typeset& ts);
// A single page of running text.
PageLayout layoutText(const QString& title, const QStringList& paragraphs, const Typeset& ts);

struct DrawnPage {
    QImage image;
    QString hiddenText; // the text layer, in djvused syntax
};
DrawnPage renderPage(const PageLayout& page, const Typeset& ts);

QString introPage(const QVector<Summary>& dicts);
QString helpPage();
QString helpPageRussian(); // the same, for a Russian desktop
QString introPageRussian(const QVector<Summary>& dicts);
QString htmlPage(const QString& title, const QString& body);
QString annotationPage(const Summary& s);

} // namespace mksample
