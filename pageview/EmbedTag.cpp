#include "pageview/EmbedTag.h"

#include "base/CodePage.h"
#include "pageview/Composition.h"

#include <QUrl>

namespace lexifol {

namespace {

bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

struct Attribute {
    QString name; // lower case
    QString value;
};

// A quoted value with the entities the page view file writes decoded.
QString Unescaped(QString v)
{
    if (!v.contains(u'&'))
        return v;
    v.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    v.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return v.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// Reads the attributes of a tag whose name ends at `pos`; stops after the
// closing '>' (or at the end of the text). Unquoted values are taken
// verbatim; quoted ones lose the entities the page view file may write.
QList<Attribute> ReadAttributes(const QString& html, qsizetype& pos)
{
    QList<Attribute> attributes;
    const qsizetype n = html.size();
    while (pos < n) {
        while (pos < n && (IsSpace(html[pos]) || html[pos] == u'/'))
            ++pos;
        if (pos >= n)
            break;
        if (html[pos] == u'>') {
            ++pos;
            break;
        }
        const qsizetype nameStart = pos;
        while (pos < n && !IsSpace(html[pos]) && html[pos] != u'=' && html[pos] != u'>')
            ++pos;
        Attribute a;
        a.name = html.mid(nameStart, pos - nameStart).toLower();
        qsizetype look = pos;
        while (look < n && IsSpace(html[look]))
            ++look;
        if (look < n && html[look] == u'=') {
            pos = look + 1;
            while (pos < n && IsSpace(html[pos]))
                ++pos;
            if (pos < n && (html[pos] == u'"' || html[pos] == u'\'')) {
                const QChar quote = html[pos++];
                const qsizetype valueStart = pos;
                while (pos < n && html[pos] != quote)
                    ++pos;
                a.value = Unescaped(html.mid(valueStart, pos - valueStart));
                if (pos < n)
                    ++pos;
            } else {
                const qsizetype valueStart = pos;
                while (pos < n && !IsSpace(html[pos]) && html[pos] != u'>')
                    ++pos;
                a.value = html.mid(valueStart, pos - valueStart);
            }
        }
        if (!a.name.isEmpty())
            attributes.append(a);
    }
    return attributes;
}

bool IsNo(const QString& value)
{
    const QString v = value.trimmed().toLower();
    return v == QLatin1StringView("no") || v == QLatin1StringView("false") || v == QLatin1StringView("0")
        || v == QLatin1StringView("off");
}

QString SourceToPath(const QString& raw)
{
    const QString src = raw.trimmed();
    const QLatin1StringView prefix(kSrcPrefix);
    if (src.startsWith(prefix, Qt::CaseInsensitive))
        return src.mid(prefix.size());
    if (src.startsWith(QLatin1StringView("file:"), Qt::CaseInsensitive)) {
        const QUrl url(src);
        // "localhost" names this machine, not a share.
        if (url.isValid() && url.host().compare(QLatin1StringView("localhost"), Qt::CaseInsensitive) == 0)
            return url.path(QUrl::FullyDecoded);
        if (url.isValid() && url.isLocalFile())
            return url.toLocalFile();
        return src.mid(5);
    }
    return src;
}

// Applies one attribute; `type` says whether the tag is a DjVu embed.
void Apply(EmbedTag& tag, const Attribute& a, bool* djvu)
{
    if (a.name == QLatin1StringView("type")) {
        if (djvu)
            *djvu = a.value.trimmed().compare(QLatin1StringView("image/vnd.djvu"), Qt::CaseInsensitive) == 0;
    } else if (a.name == QLatin1StringView("src")) {
        tag.src = SourceToPath(a.value);
    } else if (a.name == QLatin1StringView("page")) {
        tag.page = a.value;
    } else if (a.name == QLatin1StringView("zoom") && !a.value.trimmed().isEmpty()) {
        tag.zoom = a.value.trimmed();
    } else if (a.name == QLatin1StringView("width")) {
        tag.width = a.value;
    } else if (a.name == QLatin1StringView("height")) {
        tag.height = a.value;
    } else if (a.name == QLatin1StringView("toolbar")) {
        tag.toolbar = !IsNo(a.value);
    } else if (a.name == QLatin1StringView("scrollbars")) {
        tag.scrollBars = !IsNo(a.value);
    }
}

} // namespace

EmbedTag TagForRequest(const PageViewRequest& request)
{
    EmbedTag tag;
    tag.zoom = QStringLiteral("width");
    tag.src = request.document;
    // The parameters read as they do inside the page view file, in the
    // same order, with the page after them.
    QString attributes;
    for (const QByteArray& parameter : request.pluginParameters)
        attributes += u' ' + Ansi().decode(parameter);
    qsizetype pos = 0;
    for (const Attribute& a : ReadAttributes(attributes, pos))
        Apply(tag, a, nullptr);
    tag.page = request.page;
    tag.pageByPage = request.pageByPage;
    return tag;
}

std::optional<EmbedTag> ParseDjvuEmbed(const QString& html)
{
    const QLatin1StringView open("<embed");
    qsizetype from = 0;
    while (true) {
        const qsizetype at = html.indexOf(open, from, Qt::CaseInsensitive);
        if (at < 0)
            return std::nullopt;
        qsizetype pos = at + open.size();
        if (pos < html.size() && !IsSpace(html[pos]) && html[pos] != u'>' && html[pos] != u'/') {
            from = pos; // "<embedded" or the like
            continue;
        }
        const QList<Attribute> attributes = ReadAttributes(html, pos);
        from = pos;

        bool djvu = false;
        EmbedTag tag;
        tag.zoom = QStringLiteral("width");
        for (const Attribute& a : attributes)
            Apply(tag, a, &djvu);
        if (djvu)
            return tag;
    }
}

} // namespace lexifol
