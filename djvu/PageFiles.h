#pragma once
// Which file holds a page of a dictionary: the one rule that the page view,
// the command-line tool and the services share.
#include <QFileInfoList>
#include <QString>

namespace lexifol::djvu {

struct PageSource {
    QString document;        // the DjVu file to open
    QString page;            // the page inside it; empty for a file of one page
    bool inDocument = false; // a page of the dictionary's one document
};

// `folder`: the dictionary's folder, with its trailing separator. A
// dictionary stored as one document holds every page in "<name>.djvu"; one
// stored page by page holds "<page>.djvu". "Annotation" names
// "Annotation.djvu" when `annotation` is set.
PageSource PageSourceFor(const QString& folder, const QString& name, bool wholeFile, const QString& pageReference,
                         bool annotation = true);

// The document of a dictionary stored as one document.
QString WholeDocumentPath(const QString& folder, const QString& name);

// The page files of a dictionary stored page by page: "<page>.djvu", the
// numbered ones by their numbers, then the rest by name.
QFileInfoList ListPageFiles(const QString& folder);

} // namespace lexifol::djvu
