#pragma once
// A DjVu document for callers that wait for what they ask: the command-line
// tool, the text indexer, the page-index maker. Every wait is bounded by
// progress, so a document that stops decoding is given up, not waited for.
#include "djvu/TextLayer.h"
#include "base/Status.h"

#include <QImage>
#include <QString>
#include <memory>

namespace lexifol::djvu {

struct OpenLimits {
    int stallMs = 10000; // no progress for this long: given up
    // For a reader going through many pages: a bundled file is read into
    // memory once. Opened by name, DjVuLibre maps the file anew for every
    // page it reads, which costs more than reading the page.
    bool readWhole = false;
};

class Document
{
public:
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // One bundled file, an indirect document or a single page. Only regular
    // files are opened, the component files of an indirect document too.
    static Result<std::unique_ptr<Document>> open(const QString& path, const OpenLimits& limits = {});

    const QString& path() const { return path_; }
    int pageCount() const;
    // The page's text; a layer that is not `present` when it has none.
    // `asStored`: boxes as the file stores them, the page's orientation flag
    // not read (which costs decoding the page's header).
    Result<TextLayer> pageText(int index, bool asStored = false) const;
    // The page's text alone, its lines one to a line: what a search index
    // needs, without the boxes of the words. Empty for a page without text.
    Result<QString> pagePlainText(int index) const;
    // Decodes the page's image data: fails for a page cut short or corrupt.
    Status decodePage(int index) const;
    // The page's size as its header gives it, without decoding the image:
    // fails for a page whose data is missing.
    // `dpi`, when given, receives the resolution the page declares.
    Result<QSize> pageSize(int index, int* dpi = nullptr) const;
    // The page a reference names: a number counted from 1, or a page's id,
    // name or title; -1 for none.
    int pageOf(const QString& reference) const;
    // The page drawn at `size` (the whole page scaled), RGB32.
    Result<QImage> render(int index, QSize size) const;

private:
    struct Impl;
    explicit Document(std::unique_ptr<Impl> impl, QString path);
    std::unique_ptr<Impl> d;
    QString path_;
};

// Why `path` cannot be opened as a file of this kind: not there, not a
// regular file (a FIFO, a device, a folder), or unreadable. Empty when it can.
QString RefusalOf(const QString& path);

} // namespace lexifol::djvu
