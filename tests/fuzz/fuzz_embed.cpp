// The page view file read back: any text parses without harm, and a tag as
// the program writes it gives back its document and page.
#include "FuzzCheck.h"
#include "pageview/EmbedTag.h"

using namespace lexifol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray html, page;
    FuzzSplit(FuzzBytes(data, size), html, page);
    (void)ParseDjvuEmbed(QString::fromLatin1(html));
    QString p;
    for (char c : page)
        if (QChar::fromLatin1(c).isLetterOrNumber() && uchar(c) < 0x80)
            p += QLatin1Char(c);
    if (p.isEmpty())
        return 0;
    const QString tag = QStringLiteral("<embed type=\"image/vnd.djvu\" SRC=\"file:\\\\localhost\\/x/book.djvu\" Page=")
        + p + QStringLiteral(">") + QString::fromLatin1(html).remove(u'<').remove(u'>');
    const auto parsed = ParseDjvuEmbed(tag);
    FUZZ_CHECK(parsed && parsed->page == p && parsed->src == QStringLiteral("/x/book.djvu"));
    return 0;
}
