// Scanned dictionaries made from real dictionary text, for measuring what
// reads scans: Webster 1913 articles (dict-gcide) set in several layouts,
// spoiled like a scan, read by the tesseract command, and given the text
// layer its hOCR describes. Sets that share no layout, font or stretch of
// the alphabet: "tune" to tune rules on, "held" to report on, "fresh" the
// held-out layouts on other words.
//   make_ocr_corpus OUT_FOLDER
//   tune|held|fresh|mixed|other|last|next|final|bare|blank|open|clear|spare|still|quiet|sober|brisk|plain|crisp|bright|
//   keen|steady|calm|russian
//   [PAGES_PER_DOCUMENT]
// Writes OUT_FOLDER/<document>/book.djvu, truth.tsv (page, kind, first
// headword) and marks.tsv (page, headword, where it is printed). Needs dict-gcide, tesseract-ocr with eng, DjVuLibre's
// tools, fonts-urw-base35, fonts-liberation2 and fonts-freefont-ttf; the russian set
// dict-freedict-eng-rus and tesseract-ocr-rus.
#include "DjvuEncode.h"
#include "Hocr.h"
#include "Typeset.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <cstdio>

namespace {

struct Document {
    const char* name;
    const char* from;
    corpus::Layout layout;
    corpus::Source source = corpus::Source::Gcide;
    const char* languages = "eng";
};

// The layouts the sets vary.
struct Bases {
    corpus::Layout a, b, c, d, e, f, g;
};

Bases MakeBases()
{
    using corpus::Head;
    corpus::Layout a, b, c, d, e, f, g;
    a.family = "DejaVu Serif", a.head = Head::EdgesNumberMid;
    b.family = "Liberation Serif", b.points = 8.5, b.head = Head::NumberOutside, b.capitalHeads = false,
    b.titlePage = false, b.firstPageNumber = 120, b.indentEm = 1.5;
    c.family = "Nimbus Roman", c.head = Head::None, c.titlePage = false, c.firstPageNumber = 300, c.maxDegrees = 0.3;
    d.family = "C059", d.points = 8, d.columns = 3, d.head = Head::OneGuideColon, d.plateEvery = 9, d.indentEm = 1.6,
    d.firstPageNumber = 240, d.specks = 900;
    e.family = "P052", e.points = 9.5, e.head = Head::Foot, e.firstLineIndent = true, e.indentEm = 1.2,
    e.capitalHeads = false;
    f.family = "FreeSerif", f.head = Head::None, f.indentEm = 0.6, f.blur = 0.55, f.threshold = 150, f.specks = 1200;
    g.family = "Nimbus Roman", g.head = Head::NumberOutside, g.maxDegrees = 0.9, g.titlePage = false,
    g.firstPageNumber = 57;
    return {a, b, c, d, e, f, g};
}

QList<Document> EarlySet(const QString& which, const Bases& bases)
{
    using corpus::Head;
    const auto& [a, b, c, d, e, f, g] = bases;
    if (which == u"tune")
        return {{"edges", "Cab", a}, {"outside", "Ga", b}, {"plain", "Pe", c}};
    if (which == u"held")
        return {{"colon", "Ma", d}, {"foot", "Sa", e}, {"rough", "Di", f}, {"tilted", "Ba", g}};
    // The held-out layouts again, on other stretches of the alphabet: for a
    // figure after the held-out set has been looked at.
    if (which == u"fresh")
        return {{"colon2", "Ho", d}, {"foot2", "Tr", e}, {"rough2", "Fe", f}, {"tilted2", "Ro", g}};
    // Mixtures no rule was written against, on stretches no set has used:
    // for a figure after "fresh" has been looked at too.
    corpus::Layout h = a, i = d, j = f, k = e;
    h.family = "Liberation Serif", h.points = 10, h.maxDegrees = 0.7, h.specks = 700, h.indentEm = 0.8,
    h.firstPageNumber = 412;
    i.family = "DejaVu Serif", i.columns = 2, i.points = 8.5, i.head = Head::NumberOutside, i.plateEvery = 0,
    i.blur = 0.6;
    j.family = "C059", j.columns = 3, j.points = 7.5, j.head = Head::EdgesNumberMid, j.threshold = 135,
    j.titlePage = true;
    k.family = "Nimbus Roman", k.head = Head::OneGuideColon, k.firstLineIndent = false, k.indentEm = 2.0,
    k.specks = 300;
    // English headwords, Russian senses: for recognition in two scripts.
    if (which == u"russian") {
        corpus::Layout r = a, s = c;
        r.family = "Liberation Serif", r.points = 9.5;
        s.family = "DejaVu Serif", s.points = 8.5, s.head = Head::NumberOutside;
        return {{"russian1", "ba", r, corpus::Source::FreedictEngRus, "eng+rus"},
                {"russian2", "pa", s, corpus::Source::FreedictEngRus, "eng+rus"}};
    }
    if (which == u"mixed")
        return {{"mixed1", "Le", h}, {"mixed2", "Wa", i}, {"mixed3", "Ch", j}, {"mixed4", "Pa", k}};
    // Faces and sizes no set used, on stretches none used: for a figure after
    // "mixed" has been looked at too.
    corpus::Layout l = b, m = d, n = g, o = c;
    l.family = "URW Bookman", l.points = 8, l.head = Head::EdgesNumberMid, l.indentEm = 1.1, l.specks = 1000,
    l.maxDegrees = 0.8, l.titlePage = true;
    m.family = "P052", m.columns = 3, m.points = 7, m.head = Head::NumberOutside, m.plateEvery = 7, m.indentEm = 1.3,
    m.blur = 0.65, m.threshold = 145;
    n.family = "FreeSerif", n.points = 9.5, n.head = Head::Foot, n.indentEm = 0.9, n.capitalHeads = true,
    n.firstPageNumber = 801;
    o.family = "Liberation Serif", o.points = 9, o.head = Head::OneGuideColon, o.indentEm = 1.8, o.maxDegrees = 0.6,
    o.blur = 0.6, o.specks = 600, o.titlePage = true;
    if (which == u"other")
        return {{"other1", "Gr", l}, {"other2", "Ne", m}, {"other3", "Sp", n}, {"other4", "Ti", o}};
    return {};
}

QList<Document> LateSet(const QString& which, const Bases& bases)
{
    using corpus::Head;
    const auto& [a, b, c, d, e, f, g] = bases;
    // Faces no set used, sizes and indents between the others', on stretches
    // none used: for a figure after "other" has been looked at too.
    corpus::Layout p = e, q = b, r = a, t = f;
    p.family = "DejaVu Serif Condensed", p.points = 8.5, p.head = Head::EdgesNumberMid, p.indentEm = 1.4,
    p.firstLineIndent = false, p.maxDegrees = 0.7, p.specks = 800, p.titlePage = true;
    q.family = "Nimbus Sans Narrow", q.points = 8, q.columns = 3, q.head = Head::OneGuideColon, q.indentEm = 1.0,
    q.blur = 0.6, q.threshold = 150, q.firstPageNumber = 611;
    r.family = "URW Bookman", r.points = 8.5, r.head = Head::None, r.indentEm = 0.7, r.maxDegrees = 0.8,
    r.specks = 1100, r.titlePage = true;
    t.family = "P052", t.points = 8.5, t.head = Head::NumberOutside, t.indentEm = 1.7, t.blur = 0.65,
    t.capitalHeads = true, t.plateEvery = 11, t.firstPageNumber = 33;
    if (which == u"last")
        return {{"last1", "Em", p}, {"last2", "Lo", q}, {"last3", "In", r}, {"last4", "Un", t}};
    // A sans face, a serif face at a size no set used, articles begun
    // indented without a head, on stretches none used: for a figure after
    // "last" has been looked at too.
    corpus::Layout u = a, v = e, x = b, y = c;
    u.family = "FreeSerif", u.points = 8, u.columns = 3, u.indentEm = 1.2, u.specks = 900, u.titlePage = true;
    v.family = "Nimbus Sans", v.points = 8.5, v.head = Head::Foot, v.indentEm = 1.5, v.firstLineIndent = false,
    v.maxDegrees = 0.8, v.capitalHeads = true;
    x.family = "C059", x.points = 9, x.indentEm = 0.9, x.threshold = 145, x.plateEvery = 8, x.firstPageNumber = 901;
    y.family = "Liberation Serif", y.points = 8, y.indentEm = 1.3, y.firstLineIndent = true, y.titlePage = true,
    y.specks = 700;
    if (which == u"next")
        return {{"next1", "Ra", u}, {"next2", "Ke", v}, {"next3", "Oc", x}, {"next4", "Ja", y}};
    // The faces again in sizes and heads no set gave them, on stretches none
    // used: for a figure after "next" has been looked at too.
    corpus::Layout z1 = d, z2 = g, z3 = f, z4 = e;
    z1.family = "Nimbus Sans", z1.points = 7.5, z1.columns = 3, z1.head = Head::NumberOutside, z1.plateEvery = 0,
    z1.titlePage = true;
    z2.family = "URW Bookman", z2.points = 9, z2.head = Head::OneGuideColon, z2.indentEm = 1.3, z2.specks = 800;
    z3.family = "DejaVu Serif", z3.points = 8, z3.head = Head::Foot, z3.indentEm = 1.0, z3.maxDegrees = 0.7;
    z4.family = "Liberation Serif", z4.points = 8.5, z4.head = Head::EdgesNumberMid, z4.firstLineIndent = true,
    z4.capitalHeads = true, z4.plateEvery = 10;
    if (which == u"final")
        return {{"final1", "Fo", z1}, {"final2", "Qu", z2}, {"final3", "Ve", z3}, {"final4", "Ab", z4}};
    return {};
}

// Sets without running heads.
QList<Document> HeadlessSet(const QString& which, const Bases& bases)
{
    const corpus::Layout& c = bases.c;
    // No running head on any page, in faces, sizes and indents no headless
    // set used, on stretches none used: for a figure without heads after
    // "final" has been looked at.
    corpus::Layout b1 = c, b2 = c, b3 = c, b4 = c;
    b1.family = "FreeSans", b1.points = 8.5, b1.indentEm = 1.1, b1.specks = 900, b1.titlePage = true;
    b2.family = "Nimbus Roman", b2.points = 7.5, b2.columns = 3, b2.plateEvery = 9, b2.blur = 0.6, b2.threshold = 145,
    b2.indentEm = 0.9;
    b3.family = "C059", b3.points = 9, b3.firstLineIndent = true, b3.indentEm = 1.0, b3.maxDegrees = 0.9,
    b3.titlePage = true;
    b4.family = "DejaVu Serif Condensed", b4.points = 8, b4.indentEm = 1.6, b4.specks = 1200, b4.capitalHeads = true,
    b4.maxDegrees = 0.6;
    if (which == u"bare")
        return {{"bare1", "Mo", b1}, {"bare2", "Br", b2}, {"bare3", "De", b3}, {"bare4", "Si", b4}};
    // No running head again, in faces and sizes no set used, on stretches
    // none used: for a figure without heads after "bare" has been looked at.
    corpus::Layout n1 = c, n2 = c, n3 = c, n4 = c;
    n1.family = "Liberation Sans", n1.points = 8, n1.indentEm = 1.2, n1.specks = 800;
    n2.family = "P052", n2.points = 8, n2.columns = 3, n2.plateEvery = 7, n2.firstLineIndent = true, n2.threshold = 150;
    n3.family = "Nimbus Sans Narrow", n3.points = 9, n3.indentEm = 1.5, n3.maxDegrees = 0.8, n3.titlePage = true;
    n4.family = "FreeSerif", n4.points = 9.5, n4.indentEm = 0.8, n4.blur = 0.65, n4.specks = 1000,
    n4.capitalHeads = true;
    if (which == u"blank")
        return {{"blank1", "Co", n1}, {"blank2", "St", n2}, {"blank3", "Hu", n3}, {"blank4", "Ar", n4}};
    // And again, for a figure after "blank" has been looked at.
    corpus::Layout o1 = c, o2 = c, o3 = c, o4 = c;
    o1.family = "C059", o1.points = 8.5, o1.indentEm = 1.4, o1.specks = 700, o1.titlePage = true;
    o2.family = "Liberation Serif", o2.points = 7.5, o2.columns = 3, o2.firstLineIndent = true, o2.maxDegrees = 0.7;
    o3.family = "URW Bookman", o3.points = 8, o3.indentEm = 0.9, o3.blur = 0.6, o3.threshold = 145, o3.plateEvery = 8;
    o4.family = "DejaVu Sans", o4.points = 8, o4.firstLineIndent = true, o4.specks = 1100, o4.capitalHeads = true;
    if (which == u"open")
        return {{"open1", "Ni", o1}, {"open2", "Pl", o2}, {"open3", "Sc", o3}, {"open4", "Wi", o4}};
    // And again, for a figure after "open" has been looked at.
    corpus::Layout q1 = c, q2 = c, q3 = c, q4 = c;
    q1.family = "Nimbus Sans", q1.points = 8.5, q1.indentEm = 1.3, q1.specks = 800, q1.titlePage = true;
    q2.family = "DejaVu Serif", q2.points = 7.5, q2.columns = 3, q2.firstLineIndent = true, q2.plateEvery = 8,
    q2.maxDegrees = 0.6;
    q3.family = "URW Gothic", q3.points = 8, q3.indentEm = 1.0, q3.blur = 0.65, q3.threshold = 148;
    q4.family = "Liberation Serif", q4.points = 9, q4.indentEm = 0.7, q4.specks = 1000, q4.capitalHeads = true,
    q4.maxDegrees = 0.8;
    if (which == u"clear")
        return {{"clear1", "Cr", q1}, {"clear2", "Po", q2}, {"clear3", "Re", q3}, {"clear4", "Gu", q4}};
    // And again, for a figure after "clear" has been looked at.
    corpus::Layout s1 = c, s2 = c, s3 = c, s4 = c;
    s1.family = "P052", s1.points = 9, s1.indentEm = 1.1, s1.specks = 900, s1.titlePage = true;
    s2.family = "FreeSerif", s2.points = 8, s2.columns = 3, s2.plateEvery = 6, s2.indentEm = 1.3;
    s3.family = "DejaVu Sans Condensed", s3.points = 8, s3.firstLineIndent = true, s3.maxDegrees = 0.7, s3.specks = 700;
    s4.family = "C059", s4.points = 8, s4.indentEm = 0.9, s4.blur = 0.65, s4.threshold = 145, s4.capitalHeads = true;
    if (which == u"spare")
        return {{"spare1", "Fl", s1}, {"spare2", "Sh", s2}, {"spare3", "Tu", s3}, {"spare4", "El", s4}};
    return {};
}

// Without running heads, for figures after "sober" has been looked at.
QList<Document> MoreHeadlessSets(const QString& which, const Bases& bases)
{
    corpus::Layout a1 = bases.c, a2 = bases.c, a3 = bases.c, a4 = bases.c;
    a1.family = "Nimbus Roman", a1.points = 8.5, a1.indentEm = 1.1, a1.specks = 1100, a1.maxDegrees = 0.7,
    a1.titlePage = true;
    a2.family = "DejaVu Sans Condensed", a2.points = 7.5, a2.columns = 3, a2.indentEm = 1.3, a2.plateEvery = 8;
    a3.family = "URW Bookman", a3.points = 8, a3.firstLineIndent = true, a3.blur = 0.6, a3.threshold = 150;
    a4.family = "Liberation Sans", a4.points = 9, a4.indentEm = 0.9, a4.specks = 900, a4.capitalHeads = true;
    if (which == u"brisk")
        return {{"brisk1", "Ca", a1}, {"brisk2", "Li", a2}, {"brisk3", "Pu", a3}, {"brisk4", "Wo", a4}};
    corpus::Layout b1 = bases.c, b2 = bases.c, b3 = bases.c, b4 = bases.c;
    b1.family = "FreeSerif", b1.points = 8, b1.indentEm = 1.4, b1.maxDegrees = 0.8, b1.specks = 1000;
    b2.family = "P052", b2.points = 8, b2.columns = 3, b2.firstLineIndent = true, b2.titlePage = true;
    b3.family = "Nimbus Sans", b3.points = 8.5, b3.indentEm = 1.0, b3.blur = 0.65, b3.plateEvery = 7;
    b4.family = "C059", b4.points = 9, b4.indentEm = 1.2, b4.threshold = 145, b4.capitalHeads = true, b4.specks = 800;
    if (which == u"plain")
        return {{"plain1", "Bo", b1}, {"plain2", "He", b2}, {"plain3", "Na", b3}, {"plain4", "Su", b4}};
    corpus::Layout c1 = bases.c, c2 = bases.c, c3 = bases.c, c4 = bases.c;
    c1.family = "DejaVu Serif Condensed", c1.points = 8, c1.indentEm = 1.0, c1.specks = 1000, c1.titlePage = true;
    c2.family = "Liberation Serif", c2.points = 8.5, c2.columns = 3, c2.firstLineIndent = true, c2.maxDegrees = 0.8;
    c3.family = "FreeSans", c3.points = 8, c3.indentEm = 1.3, c3.blur = 0.6, c3.threshold = 148, c3.plateEvery = 9;
    c4.family = "URW Bookman", c4.points = 8.5, c4.indentEm = 0.8, c4.specks = 900, c4.capitalHeads = true;
    if (which == u"crisp")
        return {{"crisp1", "Cl", c1}, {"crisp2", "Fa", c2}, {"crisp3", "Im", c3}, {"crisp4", "Ta", c4}};
    corpus::Layout d1 = bases.c, d2 = bases.c, d3 = bases.c, d4 = bases.c;
    d1.family = "C059", d1.points = 8, d1.indentEm = 1.5, d1.specks = 1200, d1.maxDegrees = 0.9;
    d2.family = "Nimbus Sans Narrow", d2.points = 8, d2.columns = 3, d2.indentEm = 1.1, d2.plateEvery = 6;
    d3.family = "P052", d3.points = 8.5, d3.firstLineIndent = true, d3.blur = 0.65, d3.titlePage = true;
    d4.family = "DejaVu Sans", d4.points = 7.5, d4.indentEm = 1.2, d4.threshold = 150, d4.capitalHeads = true;
    if (which == u"bright")
        return {{"bright1", "Go", d1}, {"bright2", "Or", d2}, {"bright3", "Sl", d3}, {"bright4", "Mu", d4}};
    return {};
}

// Without running heads, for figures after "spare" has been looked at.
QList<Document> LastHeadlessSet(const QString& which, const Bases& bases)
{
    corpus::Layout t1 = bases.c, t2 = bases.c, t3 = bases.c, t4 = bases.c;
    t1.family = "Liberation Serif", t1.points = 8, t1.indentEm = 1.2, t1.specks = 1000, t1.maxDegrees = 0.6;
    t2.family = "URW Bookman", t2.points = 7.5, t2.columns = 3, t2.firstLineIndent = true, t2.plateEvery = 9;
    t3.family = "Nimbus Sans", t3.points = 9, t3.indentEm = 0.8, t3.blur = 0.6, t3.threshold = 150, t3.titlePage = true;
    t4.family = "DejaVu Serif Condensed", t4.points = 8.5, t4.firstLineIndent = true, t4.specks = 800,
    t4.capitalHeads = true;
    if (which == u"still")
        return {{"still1", "Ha", t1}, {"still2", "Pr", t2}, {"still3", "Ob", t3}, {"still4", "Vi", t4}};
    // Twice more, for figures after "still" has been looked at.
    corpus::Layout u1 = bases.c, u2 = bases.c, u3 = bases.c, u4 = bases.c;
    u1.family = "URW Gothic", u1.points = 8.5, u1.indentEm = 1.0, u1.specks = 1000, u1.titlePage = true;
    u2.family = "C059", u2.points = 7.5, u2.columns = 3, u2.indentEm = 1.4, u2.plateEvery = 7, u2.maxDegrees = 0.8;
    u3.family = "FreeSans", u3.points = 8, u3.firstLineIndent = true, u3.blur = 0.65, u3.threshold = 148;
    u4.family = "P052", u4.points = 9, u4.indentEm = 0.8, u4.specks = 900, u4.capitalHeads = true;
    if (which == u"quiet")
        return {{"quiet1", "Bl", u1}, {"quiet2", "Gl", u2}, {"quiet3", "Th", u3}, {"quiet4", "Ex", u4}};
    corpus::Layout w1 = bases.c, w2 = bases.c, w3 = bases.c, w4 = bases.c;
    w1.family = "DejaVu Serif", w1.points = 8, w1.indentEm = 1.2, w1.maxDegrees = 0.9, w1.specks = 800;
    w2.family = "Nimbus Sans Narrow", w2.points = 8.5, w2.columns = 3, w2.firstLineIndent = true, w2.titlePage = true;
    w3.family = "Liberation Serif", w3.points = 8, w3.indentEm = 1.5, w3.blur = 0.6, w3.plateEvery = 9;
    w4.family = "FreeSerif", w4.points = 9, w4.firstLineIndent = true, w4.threshold = 145, w4.capitalHeads = true,
    w4.specks = 1100;
    if (which == u"sober")
        return {{"sober1", "Ac", w1}, {"sober2", "Du", w2}, {"sober3", "Me", w3}, {"sober4", "So", w4}};
    return MoreHeadlessSets(which, bases);
}

// One set with running heads and one without, for figures after "bright"
// has been looked at: faces, sizes and heads in pairs no set gave, on
// stretches none used.
QList<Document> LatestSets(const QString& which, const Bases& bases)
{
    using corpus::Head;
    corpus::Layout k1 = bases.a, k2 = bases.d, k3 = bases.e, k4 = bases.g;
    k1.family = "Nimbus Sans Narrow", k1.points = 8.5, k1.indentEm = 1.2, k1.specks = 900, k1.titlePage = true,
    k1.maxDegrees = 0.7;
    k2.family = "FreeSerif", k2.points = 8, k2.head = Head::EdgesNumberMid, k2.plateEvery = 8, k2.blur = 0.6;
    k3.family = "URW Gothic", k3.points = 8, k3.head = Head::OneGuideColon, k3.indentEm = 1.0, k3.threshold = 148,
    k3.specks = 800;
    k4.family = "DejaVu Serif Condensed", k4.points = 9, k4.head = Head::Foot, k4.indentEm = 1.4,
    k4.capitalHeads = true, k4.maxDegrees = 0.8;
    if (which == u"keen")
        return {{"keen1", "Dr", k1}, {"keen2", "Fr", k2}, {"keen3", "Pi", k3}, {"keen4", "Ru", k4}};
    corpus::Layout s1 = bases.c, s2 = bases.c, s3 = bases.c, s4 = bases.c;
    s1.family = "Liberation Sans", s1.points = 8, s1.indentEm = 1.3, s1.specks = 1100, s1.maxDegrees = 0.8,
    s1.titlePage = true;
    s2.family = "URW Bookman", s2.points = 8, s2.columns = 3, s2.indentEm = 1.0, s2.plateEvery = 7, s2.blur = 0.6;
    s3.family = "DejaVu Serif", s3.points = 8.5, s3.firstLineIndent = true, s3.threshold = 148, s3.specks = 900;
    s4.family = "Nimbus Roman", s4.points = 9, s4.indentEm = 1.6, s4.capitalHeads = true, s4.maxDegrees = 0.6;
    if (which == u"steady")
        return {{"steady1", "Da", s1}, {"steady2", "Mi", s2}, {"steady3", "Se", s3}, {"steady4", "Hy", s4}};
    // Two with heads, two without, for a figure after "steady" and "keen"
    // have been looked at.
    corpus::Layout m1 = bases.c, m2 = bases.b, m3 = bases.c, m4 = bases.d;
    m1.family = "P052", m1.points = 8, m1.columns = 3, m1.indentEm = 1.2, m1.specks = 1000, m1.plateEvery = 8;
    m2.family = "DejaVu Sans Condensed", m2.points = 8.5, m2.indentEm = 0.9, m2.maxDegrees = 0.8, m2.titlePage = true;
    m3.family = "FreeSerif", m3.points = 8.5, m3.firstLineIndent = true, m3.blur = 0.6, m3.threshold = 148;
    m4.family = "Liberation Sans", m4.points = 8, m4.columns = 2, m4.head = Head::EdgesNumberMid, m4.indentEm = 1.4,
    m4.capitalHeads = true;
    if (which == u"calm")
        return {{"calm1", "Ge", m1}, {"calm2", "Lu", m2}, {"calm3", "Wh", m3}, {"calm4", "To", m4}};
    return {};
}

QList<Document> Set(const QString& which)
{
    const Bases bases = MakeBases();
    for (auto set : {&EarlySet, &LateSet, &HeadlessSet, &LastHeadlessSet, &LatestSets})
        if (QList<Document> found = set(which, bases); !found.isEmpty())
            return found;
    return {};
}

// Recognises the pages two at a time (one tesseract per core).
bool Recognise(const QStringList& images, const QString& languages, QStringList* hocr)
{
    hocr->resize(images.size());
    QList<QProcess*> running;
    QList<int> which;
    int next = 0;
    while (next < images.size() || !running.isEmpty()) {
        while (running.size() < 2 && next < images.size()) {
            auto* p = new QProcess;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("OMP_THREAD_LIMIT", "1");
            p->setProcessEnvironment(env);
            p->start("tesseract", {images[next], "stdout", "-l", languages, "hocr"});
            running << p, which << next++;
        }
        running.first()->waitForFinished(-1);
        QProcess* p = running.takeFirst();
        const int i = which.takeFirst();
        (*hocr)[i] = QString::fromUtf8(p->readAllStandardOutput());
        const bool ok = p->exitCode() == 0;
        delete p;
        if (!ok)
            return std::printf("tesseract failed on %s\n", qPrintable(images[i])), false;
        std::printf("\r  page %d of %lld", i + 1, qlonglong(images.size())), std::fflush(stdout);
    }
    std::printf("\n");
    return true;
}

bool MakeDocument(const QString& folder, const Document& doc, int pages)
{
    QString error;
    const QList<corpus::Article> articles = corpus::ReadDictionary(doc.source, QString::fromLatin1(doc.from),
                                                                   pages * 120, &error);
    if (articles.isEmpty())
        return std::printf("%s\n", qPrintable(error)), false;
    const QList<corpus::SetPage> set = corpus::Typeset(articles, doc.layout, pages,
                                                       qHash(QString::fromLatin1(doc.name)));
    QDir().mkpath(folder);
    QStringList images, files;
    QList<QImage> scans;
    QString truth, marks;
    for (int i = 0; i < set.size(); ++i) {
        QTransform turn;
        scans << corpus::Spoil(set[i].image, doc.layout, 1000 + i, &turn);
        for (const corpus::Mark& m : set[i].truth.marks) {
            const QPointF at = turn.map(m.at);
            marks +=
                QStringLiteral("%1\t%2\t%3\t%4\n").arg(i + 1).arg(m.headword).arg(qRound(at.x())).arg(qRound(at.y()));
        }
        images << folder + QStringLiteral("/p%1.png").arg(i, 4, 10, QChar(u'0'));
        scans.last().save(images.last());
        truth += QStringLiteral("%1\t%2\t%3\n").arg(i + 1).arg(set[i].truth.kind, set[i].truth.first);
    }
    QStringList hocr;
    if (!Recognise(images, QString::fromLatin1(doc.languages), &hocr))
        return false;
    for (int i = 0; i < set.size(); ++i) {
        files << folder + QStringLiteral("/p%1.djvu").arg(i, 4, 10, QChar(u'0'));
        const QString text = corpus::HocrToDjvuText(hocr[i].toUtf8(), scans[i].size());
        if (!lexifol::djvu::EncodeBilevelPage(scans[i], 300, text, files.last(), &error))
            return std::printf("%s\n", qPrintable(error)), false;
        QFile::remove(images[i]);
    }
    if (!lexifol::djvu::Bundle(folder + "/book.djvu", files, &error))
        return std::printf("%s\n", qPrintable(error)), false;
    for (const QString& f : files)
        QFile::remove(f);
    QFile t(folder + "/truth.tsv"), m(folder + "/marks.tsv");
    return t.open(QIODevice::WriteOnly) && t.write(truth.toUtf8()) > 0 && m.open(QIODevice::WriteOnly)
        && m.write(marks.toUtf8()) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3
        || !QStringList{"tune",  "held",  "fresh", "mixed",  "other", "last",   "next",  "final",
                        "bare",  "blank", "open",  "clear",  "spare", "still",  "quiet", "sober",
                        "brisk", "plain", "crisp", "bright", "keen",  "steady", "calm",  "russian"}
                .contains(QString::fromLatin1(argv[2])))
        return std::puts("usage: make_ocr_corpus OUT_FOLDER "
                         "tune|held|fresh|mixed|other|last|next|final|bare|blank|open|clear|spare|still|quiet|sober|"
                         "brisk|plain|crisp|bright|keen|steady|calm|russian "
                         "[PAGES_PER_DOCUMENT]"),
               2;
    const int pages = argc > 3 ? std::atoi(argv[3]) : 20;
    for (const Document& d : Set(QString::fromLatin1(argv[2]))) {
        std::printf("%s: %d pages from \"%s\"\n", d.name, pages, d.from);
        if (!MakeDocument(QString::fromLocal8Bit(argv[1]) + u'/' + QString::fromLatin1(d.name), d, pages))
            return 1;
    }
    return 0;
}
