#pragma once
// Dictionary pages set from real articles in one of several layouts, and
// spoiled as a scanner and its thresholding spoil them.
#include "Gcide.h"

#include <QImage>
#include <QTransform>
#include <QStringList>

namespace corpus {

enum class Head {
    None,           // no running head
    EdgesNumberMid, // FIRST   57   LAST
    NumberOutside,  // 57  First — Last  /  First — Last  58
    OneGuideColon,  // 244 : FIRST on the left page, LAST : 245 on the right
    Foot,           // the guide words at the foot, the number at the top
};

struct Layout {
    QString family = QStringLiteral("DejaVu Serif");
    double points = 9.0;
    int columns = 2;
    double indentEm = 1.0;        // hanging indent of continuation lines
    bool firstLineIndent = false; // articles begin indented instead
    Head head = Head::EdgesNumberMid;
    bool capitalHeads = true;
    bool titlePage = true;
    int plateEvery = 0; // a plate after every N pages; 0: none
    int firstPageNumber = 1;
    // Spoiling.
    double maxDegrees = 0.5;
    double blur = 0.7; // scale down and up again by this
    int specks = 400;
    int threshold = 140;
};

struct Mark {
    QString headword;
    QPointF at; // the middle of where it is printed, page pixels
};

struct PageTruth {
    QString kind;      // "front", "plate" or "dictionary"
    QString first;     // the first headword that begins an article on the page
    QList<Mark> marks; // every article's headword, in order
};

struct SetPage {
    QImage image; // grey, 300 dpi
    PageTruth truth;
};

// Sets `articles` into pages until `pages` are made or the articles run out.
QList<SetPage> Typeset(const QList<Article>& articles, const Layout& layout, int pages, quint32 seed);

// The page as a scan: turned a little, blurred, specked, made bilevel.
// `turn` receives how the page was turned, for the points of its truth.
QImage Spoil(const QImage& page, const Layout& layout, quint32 seed, QTransform* turn = nullptr);

} // namespace corpus
