#pragma once
// The numbers printed on a dictionary's pages, beside the pages of its file:
// from the titles the document gives its pages, else from the descriptor's
// page_offset (the pages of front matter before the one printed "1").
#include <QString>
#include <QStringList>
#include <utility>

namespace lexifol {

class PrintedPages
{
public:
    PrintedPages(QStringList titles, int offset, int count)
        : titles_(std::move(titles))
        , offset_(offset)
        , count_(count)
    { }
    // Whether the dictionary numbers its pages apart from the file's.
    bool known() const { return !titles_.isEmpty() || offset_ != 0; }
    // The number printed on page `index` of the file; empty when unknown
    // (front matter, a plate, a page without a title).
    QString printed(int index) const;
    // The page of the file a reader means: a printed number or title, or
    // "#N" for the file's N-th page; -1 for none.
    int indexOf(const QString& typed) const;

private:
    QStringList titles_;
    int offset_ = 0;
    int count_ = 0;
};

} // namespace lexifol
