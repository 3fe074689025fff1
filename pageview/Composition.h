#pragma once
// The page view file: one line of HTML whose embed tag names the DjVu
// document and page. Composition is kept apart from the window so that it can
// be checked directly.
#include "base/Status.h"
#include "index/TextMatch.h"
#include <QByteArrayList>
#include <QString>

namespace lexifol {

struct PageViewState {
    bool singleFileOnView = false;
    bool extraPageOnView = false;
};

struct CompositionInput {
    QString programFolder; // with trailing separator
    QString dictionary;    // CurrentDictionary
    QString wholeFile;     // "no" or "yes"
    QByteArrayList pluginParameters;
    QString pageReference;
    bool annotationCase = true; // false for ShowHeadword: "Annotation" is an ordinary page
};

// What the page view is asked to show, as values: the document's real path
// (which the 8-bit file may not be able to spell), the page ("" for a page
// file) and the plug-in parameters as given.
struct PageViewRequest {
    QString viewFile; // the page view file written for it
    QString document;
    QString page;
    QByteArrayList pluginParameters;
    bool pageByPage = false; // the document is a page file of a dictionary stored page by page
    // Once the page's text layer is read: the headword scrolled into the
    // upper third of the view and marked (its how many-th entry on the
    // page), and every word of `find` found and lit.
    QString mark;
    int markOccurrence = 0;
    QList<MatchWord> find;
};

// The request that the composed line describes; `state` as for the line.
PageViewRequest ComposePageRequest(const CompositionInput& in, const PageViewState& state);

// Builds the line (without CR LF) and updates singleFileOnView as showing it
// would. Does not touch extraPageOnView.
QString ComposePageLine(const CompositionInput& in, PageViewState& state);

// The 8-bit bytes of the file: the line in the ANSI code page, then CR LF.
QByteArray PageViewFileBytes(const QString& line);

// Writes ProgramFolder + "temp.htm" atomically; false on failure.
Status WritePageViewFile(const QString& path, const QString& line);

QString PageViewFilePath(const QString& programFolder); // programFolder + "temp.htm"

// Composes the page, writes its page view file at `viewFile` and returns the
// request for the view, with `state` updated as showing it does. A file
// that cannot be written does not keep the page from being shown.
PageViewRequest ComposeAndWrite(const CompositionInput& in, PageViewState& state, const QString& viewFile);

// The SRC prefix written before every document path.
inline constexpr char kSrcPrefix[] = "file:\\\\localhost\\";

} // namespace lexifol
