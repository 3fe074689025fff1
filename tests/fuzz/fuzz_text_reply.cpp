// The text helper's answer as the program reads it from the pipe: any bytes
// give a layer whose lines hold only its own words, or nothing; what was
// read is written and read back the same.
#include "FuzzCheck.h"
#include "djvu/TextReply.h"

using namespace lexifol;
using namespace lexifol::djvu;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    if (const std::optional<QString> text = DecodePlainText(bytes))
        FUZZ_CHECK(DecodePlainText(EncodePlainText(*text)) == text);
    const std::optional<TextLayer> layer = DecodeTextLayer(bytes);
    if (!layer)
        return 0;
    for (int i = 0; i < layer->lines.size(); ++i) {
        const TextLine& l = layer->lines[i];
        FUZZ_CHECK(l.first >= 0 && l.count >= 0 && l.first + l.count <= layer->words.size());
        (void)layer->lineText(i);
    }
    const std::optional<TextLayer> again = DecodeTextLayer(EncodeTextLayer(*layer));
    FUZZ_CHECK(again && again->present == layer->present && again->pageSize == layer->pageSize
               && again->words.size() == layer->words.size() && again->lines.size() == layer->lines.size());
    for (int i = 0; i < layer->words.size(); ++i)
        FUZZ_CHECK(again->words[i].text == layer->words[i].text && again->words[i].box == layer->words[i].box);
    return 0;
}
