#pragma once
// Icons and button glyphs, drawn by the program itself so that nothing needs
// image files or an SVG module.
#include <QIcon>

namespace lexifol::glyphs {

enum class Glyph {
    App, MoveUp, MoveDown, Back, Forward, AddBookmark, Find, Annotation,
    Preview, TabBookmarks, TabHistory, TabIndex, Cross, Abc1, Abc2
};

QIcon icon(Glyph g, int size = 32);

} // namespace lexifol::glyphs
