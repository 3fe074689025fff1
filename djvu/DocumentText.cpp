#include "djvu/DocumentText.h"

#include "djvu/TextHelper.h"

namespace lexifol::djvu {

Result<DocumentText> DocumentText::open(const QString& path)
{
    DocumentText text;
    text.path_ = path;
    if (!TextHelperProgram().isEmpty()) {
        const Result<int> count = ReadPageCount(path);
        if (!count)
            return Status::failure(count.error());
        text.count_ = count.value();
        return text;
    }
    OpenLimits limits;
    limits.readWhole = true;
    auto doc = Document::open(path, limits);
    if (!doc)
        return Status::failure(doc.error());
    text.doc_ = std::move(doc.value());
    text.count_ = text.doc_->pageCount();
    return text;
}

Result<TextLayer> DocumentText::page(int index) const
{
    if (doc_)
        return doc_->pageText(index, true);
    if (index < 0 || index >= count_)
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(path_));
    return ReadPageText(path_, index, true);
}

} // namespace lexifol::djvu
