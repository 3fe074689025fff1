#pragma once
// Icons and button glyphs, drawn by the program itself so that nothing needs
// image files or an SVG module.
#include <QIcon>
class QToolButton;

namespace lexifol::glyphs {

enum class Glyph {
    App,
    MoveUp,
    MoveDown,
    Back,
    Forward,
    AddBookmark,
    Find,
    Annotation,
    Preview,
    TabBookmarks,
    TabHistory,
    TabIndex,
    Cross,
    Abc1,
    Abc2
};

QIcon icon(Glyph g, int size = 32);
// A flat tool button that shows a glyph, named for tooltips and screen readers.
QToolButton* button(QWidget* parent, Glyph g, const QString& name, int size);

} // namespace lexifol::glyphs
