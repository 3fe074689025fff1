// The HTML pages of the sample program folder: intro, help, annotation.
#include "mksample.h"

namespace mksample {

QString htmlPage(const QString& title, const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html>\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
               "<title>%1</title>\n"
               "<style>\n"
               "body { font-family: \"DejaVu Serif\", Georgia, serif; margin: 2em 3em; max-width: 46em; }\n"
               "h1 { font-size: 160%; border-bottom: 1px solid #888; }\n"
               "h2 { font-size: 120%; margin-top: 1.5em; }\n"
               "table { border-collapse: collapse; }\n"
               "td, th { border: 1px solid #bbb; padding: 3px 8px; vertical-align: top; text-align: left; }\n"
               "code { font-family: \"DejaVu Sans Mono\", monospace; }\n"
               "</style>\n</head>\n<body>\n")
               .arg(title.toHtmlEscaped())
        + body + QStringLiteral("</body>\n</html>\n");
}

// clang-format off
QString introPage(const QVector<Summary>& dicts)
{
    QString list;
    for (const Summary& d : dicts)
        list += QStringLiteral("<li><b>%1</b>: %2, %3 headwords on %4 pages</li>\n")
                    .arg(d.name.toHtmlEscaped(), d.title.toHtmlEscaped())
                    .arg(d.entries)
                    .arg(d.pages);
    return htmlPage(
        QStringLiteral("Welcome to Lexifol"),
        QStringLiteral(
            "<h1>Welcome to Lexifol</h1>\n"
            "<p>Lexifol shows the pages of printed dictionaries that have been scanned. "
            "Every installed dictionary comes with a headword index, so that you can go "
            "straight to the page on which a word is printed.</p>\n"
            "<h2>Looking a word up</h2>\n"
            "<ol>\n"
            "<li>Pick a dictionary in the list at the top left (double-click it).</li>\n"
            "<li>Type the word in the search box. With every key the nearest headword is "
            "selected in the index list.</li>\n"
            "<li>Press <b>Enter</b> to show the page that holds it, or double-click an "
            "entry of the index list.</li>\n"
            "</ol>\n"
            "<p>The arrow keys, <b>Page Up</b> and <b>Page Down</b> scroll the page; "
            "<b>Ctrl+Page Up</b> and <b>Ctrl+Page Down</b> go to the previous or next page "
            "of the dictionary; <b>Ctrl+0</b> to <b>Ctrl+9</b> open the dictionaries bound "
            "to those keys (<b>Ctrl+1</b> to <b>Ctrl+3</b> here). <b>Help &gt; Lexifol Help</b> "
            "lists all keys.</p>\n"
            "<h2>Installed sample dictionaries</h2>\n"
            "<ul>\n%1</ul>\n"
            "<p>Try typing <i>apple</i> and pressing Enter.</p>\n")
            .arg(list));
}

QString helpPage()
{
    return htmlPage(
        QStringLiteral("Lexifol Help"),
        QStringLiteral(
            "<h1>Lexifol Help</h1>\n"
            "<p>Lexifol is a viewer for printed dictionaries scanned into DjVu documents. "
            "Each dictionary has an index that names the page of every headword; Lexifol "
            "finds the headword you type and shows its page.</p>\n"

            "<h2>Finding a word</h2>\n"
            "<p>Type in the search box: as each key is typed, the nearest headword is "
            "selected in the index list. Press <b>Enter</b> to show its page. An entry that "
            "refers to another headword (a variant spelling, for example) shows the page of "
            "that headword. Double-clicking an entry of the index list also shows its page. "
            "If the dictionary has a second index, the word may be typed with the characters "
            "that its replacement rules change typed differently or left out.</p>\n"

            "<h2>Keys</h2>\n"
            "<table>\n"
            "<tr><th>Key</th><th>Action</th></tr>\n"
            "<tr><td>typing</td><td>selects the nearest headword in the index list</td></tr>\n"
            "<tr><td>Enter</td><td>shows the page of the selected headword</td></tr>\n"
            "<tr><td>double-click</td><td>on an index entry: shows its page; on a dictionary: opens it</td></tr>\n"
            "<tr><td>Up, Down</td><td>scroll the page a little (in the lists they move the selection)</td></tr>\n"
            "<tr><td>Page Up, Page Down</td><td>scroll the page by a screen</td></tr>\n"
            "<tr><td>Home, End</td><td>scroll the page by three screens (outside the search box)</td></tr>\n"
            "<tr><td>Ctrl+Page Up, Ctrl+Page Down</td><td>step to the previous or next page of the index and show it</td></tr>\n"
            "<tr><td>Ctrl+Up, Ctrl+Down</td><td>open the previous or next checked dictionary of the list</td></tr>\n"
            "<tr><td>Ctrl+0 &hellip; Ctrl+9</td><td>open the dictionary bound to that digit "
            "(Configuration, Shortcuts)</td></tr>\n"
            "<tr><td>F2</td><td>Find: search the typed word in the text of the page, as the Find "
            "button does (dictionaries with a text layer)</td></tr>\n"
            "<tr><td>F3</td><td>find again: the next place of the word on the page, the marks stay; "
            "on the text search tab, the next hit, then the next page found</td></tr>\n"
            "<tr><td>right button on a page</td><td>in a page index made from a scan: &ldquo;Page begins with&rdquo; "
            "the word under the pointer corrects that page's line; &ldquo;Next page in doubt&rdquo; shows the next page to "
            "look at</td></tr>\n"
            "<tr><td>Ctrl+Shift+F</td><td>the text search tab: words, \"a phrase\" or a prefix* inside the "
            "printed pages of the open dictionary or of every checked one; Enter shows the page</td></tr>\n"
            "<tr><td>Insert</td><td>back to the search box, the search is run again and its text selected</td></tr>\n"
            "<tr><td>Ctrl+Left, Ctrl+Right</td><td>history: back and forward</td></tr>\n"
            "<tr><td>Delete</td><td>in the bookmarks list: delete the selected bookmark</td></tr>\n"
            "<tr><td>Ctrl+Delete</td><td>on the bookmarks tab: delete all bookmarks (Ctrl+Z, or Undo in "
            "the status bar, brings them back for a few seconds)</td></tr>\n"
            "<tr><td>Alt+1 &hellip; Alt+9</td><td>open the dictionary of that entry of the strip "
            "under the search box (what the other checked dictionaries have for the word) with the word</td></tr>\n"
            "<tr><td>Ctrl+G</td><td>go to a page (also a click on the page number in the status bar)</td></tr>\n"
            "<tr><td>Ctrl+P</td><td>print the page shown</td></tr>\n"
            "<tr><td>F11</td><td>full screen with the page alone, and back (also Escape)</td></tr>\n"
            "<tr><td>Ctrl++, Ctrl+=, Ctrl+\u2212</td><td>zoom in, zoom out (the zoom is shown in the status bar; "
            "the page's toolbar fits the width again)</td></tr>\n"
            "<tr><td>Ctrl+D</td><td>add a bookmark for the word shown</td></tr>\n"
            "<tr><td>F1</td><td>this help</td></tr>\n"
            "<tr><td>a letter</td><td>typed while a list or the page has the focus, it goes to the search "
            "box</td></tr>\n"
            "</table>\n"
            "<h2>The mouse on the page</h2>\n"
            "<p><b>Ctrl+wheel</b> (or a touchpad pinch) zooms around the pointer; the zoom stays for the "
            "following pages of the dictionary until you choose <i>Fit width</i> or <i>Fit page</i> or "
            "open another dictionary. Drag the page to move it. <b>Shift</b>+drag draws a rectangle: "
            "<b>Ctrl+C</b> copies its words. Double-click a printed word to look it up. The right "
            "button opens a menu: Fit width, Fit page, Actual size, Zoom in, Zoom out, Copy page text, "
            "and for the word under the pointer Copy and Look up.</p>\n"
            "<p>The pages of a dictionary follow one another in one column: scroll (the wheel, Down, "
            "Page Down, the scroll bar, a drag) past the end of a page and the next one follows; the "
            "status bar tells the page in view.</p>\n"

            "<h2>History and bookmarks</h2>\n"
            "<p>Every page shown is remembered in the history; the Back and Forward buttons "
            "(or Ctrl+Left and Ctrl+Right) go through it. The bookmark button keeps the "
            "selected headword in the bookmarks list; the bookmarks are saved at every change "
            "(and merged with what another Lexifol wrote meanwhile). Opening a history entry or a bookmark of another dictionary switches "
            "to that dictionary.</p>\n"

            "<h2>Folders and files</h2>\n"
            "<p>Everything lies in the program folder, the folder of the executable:</p>\n"
            "<table>\n"
            "<tr><th>Path</th><th>Content</th></tr>\n"
            "<tr><td><code>Lexifol.ini</code></td><td>settings: [Scroll] Browser_Mouse, [main] advanced, "
            "[Shortcuts] 0 to 9, [View] LocateHeadword (1, the default: the page is scrolled to the "
            "headword looked up, which is marked in blue; 0: every page from its top), [Memory] "
            "DictionaryCacheMB (512: dictionaries opened a moment ago stay in memory up to this size), [View] "
            "OtherDictionaries (1: the strip of the other checked dictionaries; 0 hides it), [View] "
            "Continuous (1: the pages follow one another as in a book; 0: one page at a time)</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.list</code></td><td>the index of the dictionary "
            "<i>name</i>: one line per headword, the headword, a TAB and the page, sorted; "
            "its presence installs the dictionary</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/</code></td><td>the dictionary's folder: its DjVu "
            "document <code>&lt;name&gt;.djvu</code>, or one file per page named after the page</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/&lt;name&gt;.ini</code></td><td>the descriptor: "
            "[main] name (title), whole_file, text_layer, keyboard_layout (an XKB layout such as "
            "<code>ru</code> or <code>ru(phonetic)</code>, chosen in Configuration, Keyboard; or a Windows "
            "identifier); page_index=yes for an index "
            "with one line per page, the first headword printed on it (a typed word shows the page it "
            "would stand on, and history and bookmarks keep the word as typed); collation, the locale "
            "whose order the index is sorted in (for example <code>sv</code>, "
            "<code>es@collation=traditional</code>, <code>cs_CZ</code>; without it, the user's); "
            "page_offset, the pages of the file before the one printed 1 (Ctrl+G then takes printed "
            "numbers, #N the file's N-th page)</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/Plugin.dat</code></td><td>parameters of the DjVu "
            "plug-in, one per line</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/secondindex.list</code>, <code>replacelist.dat</code>"
            "</td><td>the second index and its replacement rules, built in the Configuration dialog</td></tr>\n"
            "<tr><td><code>Data/&lt;name&gt;.files/Annotation.djvu</code>, <code>Annotation.htm</code>"
            "</td><td>a page about the dictionary, shown by the Annotation icon</td></tr>\n"
            "<tr><td><code>Intro/intro.htm</code></td><td>the welcome page shown at start</td></tr>\n"
            "<tr><td><code>Help/main.htm</code></td><td>this page</td></tr>\n"
            "</table>\n"
            "<p>Three files are kept in the current directory, the folder Lexifol was started from: "
            "<code>diclist.dat</code> (the order and check marks of the dictionary list), "
            "<code>Bookmarks.dat</code> (the bookmarks) and a fallback <code>Plugin.dat</code> "
            "for dictionaries without their own.</p>\n"));
}

QString annotationPage(const Summary& s)
{
    return htmlPage(
        QStringLiteral("About %1").arg(s.title),
        QStringLiteral(
            "<h1>%1</h1>\n"
            "<p>A small general dictionary of English made for trying Lexifol out. "
            "Its %2 pages are bundled into one DjVu document and carry a hidden text "
            "layer, so the Find command can search them.</p>\n"
            "<p>The index lists %3 headwords. Some entries only point to another "
            "headword: variant spellings such as <i>colour</i> show the page of "
            "<i>color</i>, irregular forms such as <i>went</i> the page of <i>go</i>. "
            "Loan words keep their accents (<i>café</i>, <i>naïve</i>, <i>résumé</i>), "
            "and some headwords contain hyphens, apostrophes or blanks "
            "(<i>well-being</i>, <i>o'clock</i>, <i>ice cream</i>).</p>\n"
            "<p>Each page has the first and the last headword at the top, with the page "
            "number between them, and two columns of entries: the headword in bold, the "
            "part of speech in italics, then a short definition.</p>\n"
            "<p>Example: %4.</p>\n")
            .arg(s.title.toHtmlEscaped())
            .arg(s.pages)
            .arg(s.entries)
            .arg(s.example.toHtmlEscaped()));
}
// clang-format on

} // namespace mksample
