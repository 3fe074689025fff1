#pragma once
// Hidden text layers written into a copy of a document, by DjVuLibre's own
// djvused: the original is only read.
#include "base/Status.h"
#include <QMap>
#include <QString>

namespace lexifol::djvu {

// A string in djvused's syntax, quotes and backslashes escaped.
QString Quoted(const QString& s);

// True when djvused is installed.
bool CanWriteTextLayers();

// A bundled copy of `source` at `target`, the pages in `layers` (counted
// from 0) given the text in djvused's syntax held by the file named.
Status WriteTextLayers(const QString& source, const QMap<int, QString>& layers, const QString& target);

} // namespace lexifol::djvu
