#pragma once
// A document's text layers read page after page, as the maker's tool and
// the text index read them. With a text helper the document is opened by
// the helpers alone, which start reading while this process waits; without
// one it is opened here.
#include "djvu/Document.h"
#include "djvu/TextLayer.h"
#include "base/Status.h"

#include <memory>

namespace lexifol::djvu {

class DocumentText
{
public:
    // Fails as Document::open does, with its message.
    static Result<DocumentText> open(const QString& path);

    int pageCount() const { return count_; }
    // The page's layer with its boxes as stored.
    Result<TextLayer> page(int index) const;

private:
    QString path_;
    int count_ = 0;
    std::shared_ptr<Document> doc_; // without a helper
};

} // namespace lexifol::djvu
