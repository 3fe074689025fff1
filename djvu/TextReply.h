#pragma once
// The text helper's answers as bytes on a pipe. What comes back is checked
// as any input from outside is: a helper that died half way through an
// answer, or a stray program in its place, gives a page told unreadable,
// never a word outside its page's list.
#include "djvu/TextLayer.h"

#include <QByteArray>
#include <optional>

namespace lexifol::djvu {

QByteArray EncodeTextLayer(const TextLayer& layer);
// Nothing for bytes that are not a whole, consistent answer.
std::optional<TextLayer> DecodeTextLayer(const QByteArray& bytes);

QByteArray EncodePlainText(const QString& text);
std::optional<QString> DecodePlainText(const QByteArray& bytes);

} // namespace lexifol::djvu
