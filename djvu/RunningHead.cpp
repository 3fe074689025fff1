#include "djvu/RunningHead.h"

#include "djvu/PageSelection.h"

#include <QRegularExpression>

namespace lexifol::djvu {

namespace {

// The top band where a running head stands: a tenth of the page.
constexpr double kTopBand = 0.12;
constexpr int kMostHeadWords = 5;

bool IsHeadWord(const QString& text)
{
    const QString w = WithoutPunctuation(text);
    if (w.isEmpty())
        return false;
    return IsPageNumber(w) || std::all_of(w.begin(), w.end(), [](QChar c) {
        return c.isLetter() || c == u'-' || c == u'\'' || c.category() == QChar::Mark_NonSpacing;
    });
}

} // namespace

bool IsPageNumber(const QString& word)
{
    // Roman numerals as they are written: "civil" or "mild" is a word.
    static const QRegularExpression number(QStringLiteral(
        "^(\\d{1,5}|m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})|M{0,3}(CM|CD|D?C{0,3})(XC|XL|L?X{0,3})(IX|IV|V?I{0,3}))$"));
    const QString w = WithoutPunctuation(word);
    return !w.isEmpty() && number.match(w).hasMatch();
}

QList<int> RunningHeadLines(const TextLayer& layer)
{
    QList<int> head;
    if (!layer.present || layer.lines.size() < 3 || layer.pageSize.height() <= 0)
        return head;
    const int band = int(layer.pageSize.height() * kTopBand);
    int bodyTop = layer.pageSize.height();
    for (int i = 0; i < layer.lines.size(); ++i) {
        const TextLine& l = layer.lines[i];
        bool candidate = l.box.top() < band && l.count <= kMostHeadWords;
        for (int w = l.first; candidate && w < l.first + l.count; ++w)
            candidate = IsHeadWord(layer.words[w].text);
        if (candidate)
            head << i;
        else
            bodyTop = std::min(bodyTop, l.box.top());
    }
    // A head stands above the body, on its own, and leaves most lines to it.
    QList<int> out;
    for (int i : head)
        if (layer.lines[i].box.bottom() < bodyTop)
            out << i;
    if (out.size() * 2 >= layer.lines.size())
        out.clear();
    return out;
}

QList<bool> RunningHeadWords(const TextLayer& layer)
{
    QList<bool> flags(layer.words.size(), false);
    for (int i : RunningHeadLines(layer)) {
        const TextLine& l = layer.lines[i];
        for (int w = l.first; w < l.first + l.count; ++w)
            flags[w] = true;
    }
    return flags;
}

} // namespace lexifol::djvu
