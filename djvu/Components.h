#pragma once
// The files an indirect document is made of: DjVuLibre opens them itself,
// so each is checked to be a regular file before any page is asked for.
#include <libdjvu/ddjvuapi.h>
#include <QHash>
#include <QString>

namespace lexifol::djvu {

// Empty when every component of `doc` (opened from `path`, its decoding
// done) is a regular file; else why the first one that is not is refused.
QString ComponentRefusal(ddjvu_document_t* doc, const QString& path);

// Page ids, names and titles of the document's files (with and without
// their extension), each with its page index.
QHash<QString, int> ReadPageNames(ddjvu_document_t* doc);

// The titles the document gives its pages ("vii", "12"), by page index;
// empty when no page has a title of its own (one that is not its file name).
QStringList ReadPageTitles(ddjvu_document_t* doc);

// The file itself: a regular file, whatever its size.
QString DocumentRefusal(const QString& path);

} // namespace lexifol::djvu
