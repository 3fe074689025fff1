#include "djvu/TextReply.h"

#include <QDataStream>
#include <QIODevice>

namespace lexifol::djvu {

QByteArray EncodeTextLayer(const TextLayer& layer)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << qint8(1) << layer.present << layer.pageSize << qint32(layer.words.size());
    for (const PageWord& w : layer.words)
        s << w.text << w.box;
    s << qint32(layer.lines.size());
    for (const TextLine& l : layer.lines)
        s << l.box << qint32(l.first) << qint32(l.count);
    return out;
}

std::optional<TextLayer> DecodeTextLayer(const QByteArray& bytes)
{
    QDataStream s(bytes);
    qint8 flag = 0;
    qint32 words = 0, lines = 0;
    TextLayer layer;
    s >> flag >> layer.present >> layer.pageSize >> words;
    if (flag != 1 || words < 0)
        return std::nullopt;
    // Counts are believed only as far as the bytes go.
    for (qint32 i = 0; i < words && s.status() == QDataStream::Ok; ++i) {
        PageWord w;
        s >> w.text >> w.box;
        layer.words.append(w);
    }
    s >> lines;
    for (qint32 i = 0; i < lines && s.status() == QDataStream::Ok; ++i) {
        TextLine l;
        qint32 first = 0, count = 0;
        s >> l.box >> first >> count;
        if (first < 0 || count < 0 || qint64(first) + count > layer.words.size())
            return std::nullopt;
        l.first = first, l.count = count;
        layer.lines.append(l);
    }
    if (s.status() != QDataStream::Ok || layer.words.size() != words || layer.lines.size() != lines || !s.atEnd())
        return std::nullopt;
    return layer;
}

QByteArray EncodePlainText(const QString& text)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << qint8(1) << text;
    return out;
}

std::optional<QString> DecodePlainText(const QByteArray& bytes)
{
    QDataStream s(bytes);
    qint8 flag = 0;
    QString text;
    s >> flag >> text;
    if (flag != 1 || s.status() != QDataStream::Ok || !s.atEnd())
        return std::nullopt;
    return text;
}

} // namespace lexifol::djvu
