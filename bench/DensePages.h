#pragma once
// The text of the benchmarks' dense pages: dictionary-like columns of short
// words, 62 lines of 12, different on every page and the same every run.
#include "DjvuFixture.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringList>

namespace lexifol::bench {

inline QStringList DenseLines(int page)
{
    QRandomGenerator rng(quint32(1000 + page));
    QStringList lines;
    for (int l = 0; l < 62; ++l) {
        QStringList words;
        for (int w = 0; w < 12; ++w) {
            QString word;
            const int len = 3 + int(rng.bounded(8));
            for (int c = 0; c < len; ++c)
                word += QChar(u'a' + rng.bounded(26));
            words << word;
        }
        lines << words.join(u' ');
    }
    return lines;
}

// A bundled document of `pages` such pages, 2550x3300 bilevel at 300 dpi,
// made in `folder`: its path, or empty (and `error`).
inline QString MakeDenseBook(const QString& folder, int pages, QString* error)
{
    QStringList files;
    for (int i = 0; i < pages; ++i) {
        files << QDir(folder).filePath(QStringLiteral("p%1.djvu").arg(i + 1, 2, 10, QChar(u'0')));
        if (!testing::MakeDjvuPage(files.last(), DenseLines(i), 3000, nullptr, error, QSize(2550, 3300), 0, 30))
            return QString();
    }
    const QString book = QDir(folder).filePath(QStringLiteral("book.djvu"));
    return testing::BundleDjvu(book, files, error) ? book : QString();
}

} // namespace lexifol::bench
