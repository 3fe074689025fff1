#pragma once
// Sorting an index for lexifol-index sort: the order of its entries by
// headword, stable, and the neighbours that compare equal though written
// differently; and the sorted lines encoded for the file.
#include "index/Collation.h"
#include "index/IndexList.h"
#include <QByteArray>
#include <vector>

namespace lexifol::cli {

struct SortedIndex {
    std::vector<int> order;   // entry rows in sorted order
    std::vector<int> equalAt; // i: output lines i and i + 1 (from 1) compare equal, written apart
};
SortedIndex SortIndex(const IndexList& list, const IndexCollation& collation);

// The sorted lines for the file, a piece at a time: "utf16" (with its
// mark), "utf8" (with its mark) or "ansi", CR LF ends.
class EncodedLines
{
public:
    EncodedLines(const IndexList& list, const std::vector<int>& order, const QString& encoding);
    bool next(QByteArray& piece);

private:
    const IndexList& list_;
    const std::vector<int>& order_;
    size_t at_ = 0;
    int kind_; // 0 utf16, 1 utf8, 2 ansi
    bool started_ = false;
};

} // namespace lexifol::cli
