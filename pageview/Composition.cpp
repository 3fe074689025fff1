#include "pageview/Composition.h"

#include "base/CodePage.h"
#include "base/AtomicFile.h"
#include "djvu/PageFiles.h"

#include <algorithm>

namespace lexifol {

namespace {

const QLatin1StringView kHead("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=1251\">"
                              "<title></title></head><BODY SCROLL=NO>");
const QLatin1StringView kEmbedOpen("<embed type=\"image/vnd.djvu\" SRC=\"");
const QLatin1StringView kTail("> </embed></body></html>");

// A folder written the Windows way keeps Windows separators inside the
// document path; anything else (the Linux program folder) gets "/".
QChar SeparatorFor(const QString& programFolder)
{
    return programFolder.endsWith(u'\\') ? QChar(u'\\') : QChar(u'/');
}

// A page reference as an attribute value: as it is, unless something in it
// would end the value or the tag; then quoted, with entities.
QString AttributeValue(const QString& value)
{
    static const QString breaking = QStringLiteral(" \t\r\n\"'<>&=`");
    if (std::none_of(value.begin(), value.end(), [](QChar c) { return breaking.contains(c); }))
        return value;
    QString v = value;
    v.replace(u'&', QStringLiteral("&amp;")).replace(u'"', QStringLiteral("&quot;"));
    v.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    return u'"' + v + u'"';
}

} // namespace

namespace {
// The document and page attribute of a page, and what it does to the flag.
struct Target {
    QString document;
    QString page;
    bool hasPage = false;
    bool pageByPage = false;
};

Target TargetOf(const CompositionInput& in, PageViewState& state)
{
    const QChar sep = SeparatorFor(in.programFolder);
    const QString folder = in.programFolder + QStringLiteral("Data") + sep + in.dictionary + QStringLiteral(".files")
        + sep;
    const bool whole = in.wholeFile != QLatin1StringView("no");
    const djvu::PageSource source = djvu::PageSourceFor(folder, in.dictionary, whole, in.pageReference,
                                                        in.annotationCase);
    const bool annotation = in.annotationCase && in.pageReference == QLatin1StringView("Annotation");
    // The annotation leaves the flag as it was.
    if (!annotation)
        state.singleFileOnView = !whole;
    return {source.document, source.page, source.inDocument, !whole && !annotation};
}
} // namespace

PageViewRequest ComposePageRequest(const CompositionInput& in, const PageViewState& state)
{
    PageViewState scratch = state;
    const Target t = TargetOf(in, scratch);
    return {
        PageViewFilePath(in.programFolder), t.document, t.page, in.pluginParameters, t.pageByPage, QString(), 0, {}};
}

QString ComposePageLine(const CompositionInput& in, PageViewState& state)
{
    const Target target = TargetOf(in, state);
    QString line = kHead + kEmbedOpen + QLatin1StringView(kSrcPrefix)
        + QString(target.document).replace(u'"', QStringLiteral("&quot;"));
    const QString pageAttribute = target.hasPage ? QStringLiteral(" Page=") + AttributeValue(target.page) : QString();
    line += u'"';
    // Parameter lines are 8-bit text of the same code page the file is
    // written in, so decoding them here round-trips their bytes.
    for (const QByteArray& parameter : in.pluginParameters) {
        line += u' ';
        line += Ansi().decode(parameter);
    }
    line += pageAttribute;
    line += kTail;
    return line;
}

QByteArray PageViewFileBytes(const QString& line)
{
    QByteArray bytes = Ansi().encode(line);
    bytes += "\r\n";
    return bytes;
}

Status WritePageViewFile(const QString& path, const QString& line)
{
    return WriteFileAtomically(path, PageViewFileBytes(line), Durability::Unsynced);
}

PageViewRequest ComposeAndWrite(const CompositionInput& in, PageViewState& state, const QString& viewFile)
{
    PageViewRequest request = ComposePageRequest(in, state);
    request.viewFile = viewFile;
    // The file is what users and tools may read; the viewer gets the
    // request itself, with the real path the 8-bit file may not spell.
    (void)WritePageViewFile(viewFile, ComposePageLine(in, state));
    return request;
}

QString PageViewFilePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("temp.htm");
}

} // namespace lexifol
