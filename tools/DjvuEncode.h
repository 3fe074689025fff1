#pragma once
// Making DjVu pages with DjVuLibre's tools: a page drawn with Qt becomes a
// bilevel DjVu page (cjb2) with a hidden text layer (djvused); pages are
// bundled into one document (djvm). Shared by the sample maker, the page
// view tests and the benchmarks.
#include "djvu/TextLayerWrite.h"
#include <QImage>
#include <QString>
#include <QStringList>

namespace lexifol::djvu {

// True when cjb2, djvused and djvm are installed.
bool HaveTools();

// Runs a tool in `dir` (or the current directory); false with the reason in
// `error` when it cannot run, times out or fails.
bool RunTool(const QString& program, const QStringList& args, QString* error, int timeoutMs = -1,
             const QString& dir = QString());

// Encodes `page` (drawn black on white) as a bilevel page at `path`, with
// `hiddenText` (djvused's text syntax) as its text layer when not empty, and
// the orientation flag set to `quarterTurns` counter-clockwise turns.
bool EncodeBilevelPage(const QImage& page, int dpi, const QString& hiddenText, const QString& path, QString* error,
                       int quarterTurns = 0);

// A bundled document of the given single-page files, in order.
bool Bundle(const QString& path, const QStringList& pages, QString* error);

} // namespace lexifol::djvu
