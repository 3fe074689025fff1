#include "djvu/TextReply.h"

#include <algorithm>
#include <cstring>

namespace lexifol::djvu {

namespace {

// The helper is this program itself: numbers and UTF-16 go as the machine
// holds them, copied whole rather than streamed field by field, which was a
// fifth of the time of reading a document's text through the helper.
constexpr char kLayerFormat = 2, kPlainFormat = 3;

class Writer
{
public:
    explicit Writer(qsizetype reserve) { out_.reserve(reserve); }
    void byte(char b) { out_.append(b); }
    void number(qint32 n) { out_.append(reinterpret_cast<const char*>(&n), sizeof n); }
    void rect(const QRect& r)
    {
        const qint32 v[4] = {r.x(), r.y(), r.width(), r.height()};
        out_.append(reinterpret_cast<const char*>(v), sizeof v);
    }
    void text(const QString& s)
    {
        number(qint32(s.size()));
        out_.append(reinterpret_cast<const char*>(s.constData()), s.size() * 2);
    }
    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
};

// Every read is checked against what is left: a cut or stray answer gives
// false, never a read past the end.
class Reader
{
public:
    explicit Reader(const QByteArray& bytes)
        : at_(bytes.constData())
        , end_(at_ + bytes.size())
    { }
    bool byte(char& b) { return take(&b, 1); }
    bool number(qint32& n) { return take(&n, sizeof n); }
    // No page is this large; a box past it is no answer, and its corners
    // would overflow where they are worked out.
    bool rect(QRect& r)
    {
        constexpr qint32 kFar = 1 << 24;
        qint32 v[4];
        if (!take(v, sizeof v) || std::any_of(v, v + 4, [](qint32 n) { return n < -kFar || n > kFar; }))
            return false;
        r = QRect(v[0], v[1], v[2], v[3]);
        return true;
    }
    bool text(QString& s)
    {
        qint32 n = 0;
        if (!number(n) || n < 0 || (end_ - at_) / 2 < n)
            return false;
        s = QString(n, Qt::Uninitialized);
        return take(s.data(), size_t(n) * 2);
    }
    bool atEnd() const { return at_ == end_; }

private:
    bool take(void* into, size_t n)
    {
        if (size_t(end_ - at_) < n)
            return false;
        std::memcpy(into, at_, n);
        at_ += n;
        return true;
    }
    const char* at_;
    const char* end_;
};

} // namespace

QByteArray EncodeTextLayer(const TextLayer& layer)
{
    qsizetype size = 16 + layer.lines.size() * 24;
    for (const PageWord& w : layer.words)
        size += 20 + w.text.size() * 2;
    Writer s(size);
    s.byte(kLayerFormat), s.byte(layer.present ? 1 : 0);
    s.number(layer.pageSize.width()), s.number(layer.pageSize.height());
    s.number(qint32(layer.words.size()));
    for (const PageWord& w : layer.words)
        s.rect(w.box), s.text(w.text);
    s.number(qint32(layer.lines.size()));
    for (const TextLine& l : layer.lines)
        s.rect(l.box), s.number(l.first), s.number(l.count);
    return s.take();
}

std::optional<TextLayer> DecodeTextLayer(const QByteArray& bytes)
{
    Reader s(bytes);
    char format = 0, present = 0;
    qint32 width = 0, height = 0, words = 0, lines = 0;
    if (!s.byte(format) || format != kLayerFormat || !s.byte(present) || !s.number(width) || !s.number(height)
        || !s.number(words) || words < 0 || words > bytes.size() / 20)
        return std::nullopt;
    TextLayer layer;
    layer.present = present != 0;
    layer.pageSize = QSize(width, height);
    layer.words.resize(words);
    for (PageWord& w : layer.words)
        if (!s.rect(w.box) || !s.text(w.text))
            return std::nullopt;
    if (!s.number(lines) || lines < 0 || lines > bytes.size() / 24)
        return std::nullopt;
    layer.lines.resize(lines);
    for (TextLine& l : layer.lines) {
        qint32 first = 0, count = 0;
        if (!s.rect(l.box) || !s.number(first) || !s.number(count) || first < 0 || count < 0
            || qint64(first) + count > words)
            return std::nullopt;
        l.first = first, l.count = count;
    }
    if (!s.atEnd())
        return std::nullopt;
    return layer;
}

QByteArray EncodePlainText(const QString& text)
{
    Writer s(5 + text.size() * 2);
    s.byte(kPlainFormat), s.text(text);
    return s.take();
}

std::optional<QString> DecodePlainText(const QByteArray& bytes)
{
    Reader s(bytes);
    char format = 0;
    QString text;
    if (!s.byte(format) || format != kPlainFormat || !s.text(text) || !s.atEnd())
        return std::nullopt;
    return text;
}

} // namespace lexifol::djvu
