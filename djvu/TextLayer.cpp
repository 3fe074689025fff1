#include "djvu/TextLayerParse.h"

namespace lexifol::djvu {

namespace {

int ToInt(miniexp_t e, bool* ok)
{
    if (!miniexp_numberp(e)) {
        *ok = false;
        return 0;
    }
    return miniexp_to_int(e);
}

bool IsLine(miniexp_t node)
{
    static const miniexp_t line = miniexp_symbol("line");
    return miniexp_car(node) == line;
}

// Nodes are (type x0 y0 x1 y1 children...) or (type x0 y0 x1 y1 "text").
void Collect(miniexp_t node, int pageHeight, TextLayer& out, int depth)
{
    // A layer nests page, column, region, paragraph, line, word: anything
    // far deeper is no layer DjVuLibre writes.
    if (depth > 16 || !miniexp_consp(node) || !miniexp_symbolp(miniexp_car(node)))
        return;
    bool ok = true;
    const int x0 = ToInt(miniexp_nth(1, node), &ok);
    const int y0 = ToInt(miniexp_nth(2, node), &ok);
    const int x1 = ToInt(miniexp_nth(3, node), &ok);
    const int y1 = ToInt(miniexp_nth(4, node), &ok);
    if (!ok)
        return;
    miniexp_t rest = miniexp_cddr(miniexp_cdddr(node));
    const bool line = IsLine(node);
    const qsizetype lineAt = out.lines.size();
    if (line)
        out.lines.append(TextLine{FromDjvuBox(x0, y0, x1, y1, pageHeight), int(out.words.size()), 0});
    if (miniexp_consp(rest) && miniexp_stringp(miniexp_car(rest))) {
        const QString text = QString::fromUtf8(miniexp_to_str(miniexp_car(rest)));
        if (!text.trimmed().isEmpty())
            out.words.append(PageWord{text, FromDjvuBox(x0, y0, x1, y1, pageHeight)});
    } else {
        for (; miniexp_consp(rest); rest = miniexp_cdr(rest))
            Collect(miniexp_car(rest), pageHeight, out, depth + 1);
    }
    if (line)
        out.lines[lineAt].count = int(out.words.size()) - out.lines[lineAt].first;
}

} // namespace

TextLayer ParseTextLayer(miniexp_t text, int quarterTurns)
{
    TextLayer layer;
    if (text == miniexp_nil || !miniexp_consp(text))
        return layer;
    layer.present = true;
    // The root node spans the unrotated page.
    bool ok = true;
    const int w0 = ToInt(miniexp_nth(3, text), &ok);
    const int h0 = ToInt(miniexp_nth(4, text), &ok);
    Collect(text, h0, layer, 0);
    layer.lines.removeIf([](const TextLine& l) { return l.count == 0; });
    layer.pageSize = QSize(w0, h0);
    if (ok && quarterTurns % 4 != 0) {
        for (PageWord& w : layer.words)
            w.box = RotateBox(w.box, QSize(w0, h0), quarterTurns);
        for (TextLine& l : layer.lines)
            l.box = RotateBox(l.box, QSize(w0, h0), quarterTurns);
        if (quarterTurns % 2 != 0)
            layer.pageSize.transpose();
    }
    // A layer without line nodes: each word its own line keeps callers simple.
    if (layer.lines.isEmpty())
        for (int i = 0; i < layer.words.size(); ++i)
            layer.lines.append(TextLine{layer.words[i].box, i, 1});
    return layer;
}

QString TextLayer::lineText(int line) const
{
    QString out;
    const TextLine& l = lines.at(line);
    for (int i = l.first; i < l.first + l.count; ++i) {
        if (!out.isEmpty())
            out += u' ';
        out += words.at(i).text;
    }
    return out;
}

} // namespace lexifol::djvu
