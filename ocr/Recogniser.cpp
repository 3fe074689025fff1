#include "ocr/Recogniser.h"

#include <QDir>
#include <QFileInfo>
#include <QRect>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

namespace lexifol::ocr {

namespace {

// Where Debian and a TESSDATA_PREFIX put the language data.
QStringList DataFolders()
{
    QStringList out;
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        out << prefix << prefix + QStringLiteral("/tessdata");
    out << QStringLiteral("/usr/share/tesseract-ocr/5/tessdata")
        << QStringLiteral("/usr/share/tesseract-ocr/4.00/tessdata") << QStringLiteral("/usr/share/tessdata");
    return out;
}

QString DataFolderOf(const QString& language)
{
    for (const QString& folder : DataFolders())
        if (QFileInfo(folder + u'/' + language + QStringLiteral(".traineddata")).isFile())
            return folder;
    return {};
}

QString Quote(const QString& s)
{
    QString q = s;
    q.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + q + u'"';
}

// A zone of the layer being written: its box in page pixels, y from the top.
struct Zone {
    const char* type;
    QRect box;
    QString text;
    QList<Zone> children;
};

void Write(const Zone& z, int height, QString& out)
{
    out += QStringLiteral("(%1 %2 %3 %4 %5")
               .arg(QLatin1StringView(z.type))
               .arg(z.box.left())
               .arg(height - z.box.bottom() - 1)
               .arg(z.box.right() + 1)
               .arg(height - z.box.top());
    // A zone holds words or other zones; djvused wants an empty text in one with neither.
    if (!z.text.isEmpty() || z.children.isEmpty())
        out += u' ' + Quote(z.text);
    for (const Zone& c : z.children)
        out += u'\n', Write(c, height, out);
    out += u')';
}

QRect BoxOf(const tesseract::PageIterator& it, tesseract::PageIteratorLevel level, double scale, QSize page)
{
    int l = 0, t = 0, r = 0, b = 0;
    if (!it.BoundingBox(level, &l, &t, &r, &b))
        return {};
    const QRect box(QPoint(int(l / scale), int(t / scale)), QPoint(int((r - 1) / scale), int((b - 1) / scale)));
    return box & QRect(QPoint(0, 0), page);
}

} // namespace

QString LanguageOfLocale(const QString& locale)
{
    static const QHash<QString, QString> languages{
        {"en", "eng"}, {"ru", "rus"}, {"de", "deu"}, {"fr", "fra"}, {"es", "spa"}, {"it", "ita"},
        {"uk", "ukr"}, {"pl", "pol"}, {"cs", "ces"}, {"nl", "nld"}, {"pt", "por"}, {"sv", "swe"},
        {"fi", "fin"}, {"el", "ell"}, {"he", "heb"}, {"la", "lat"}, {"be", "bel"}, {"bg", "bul"},
    };
    return languages.value(locale.section(u'_', 0, 0).section(u'-', 0, 0).section(u'@', 0, 0).toLower());
}

QString LanguagePackage(const QString& language)
{
    return QStringLiteral("tesseract-ocr-") + language.toLower().replace(u'_', u'-');
}

QStringList MissingLanguages(const QString& languages)
{
    QStringList missing;
    for (const QString& l : languages.split(u'+', Qt::SkipEmptyParts))
        if (DataFolderOf(l).isEmpty())
            missing << l;
    return missing;
}

struct Recogniser::Impl {
    tesseract::TessBaseAPI api;
};

Recogniser::Recogniser(std::unique_ptr<Impl> impl)
    : d(std::move(impl))
{ }
Recogniser::~Recogniser() = default;

Result<std::unique_ptr<Recogniser>> Recogniser::create(const QString& languages)
{
    const QStringList missing = MissingLanguages(languages);
    if (!missing.isEmpty() || languages.isEmpty())
        return Status::failure(QStringLiteral("No Tesseract data for %1: install %2")
                                   .arg(missing.join(u'+'), LanguagePackage(missing.value(0))));
    auto impl = std::make_unique<Impl>();
    const QByteArray folder = DataFolderOf(languages.section(u'+', 0, 0)).toUtf8();
    if (impl->api.Init(folder.constData(), languages.toUtf8().constData(), tesseract::OEM_DEFAULT) != 0)
        return Status::failure(QStringLiteral("Tesseract could not start for %1").arg(languages));
    impl->api.SetPageSegMode(tesseract::PSM_AUTO);
    impl->api.SetVariable("debug_file", "/dev/null");
    return std::unique_ptr<Recogniser>(new Recogniser(std::move(impl)));
}

Result<QString> Recogniser::recognise(const QImage& image, int dpi, double scale, QSize page)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    tesseract::TessBaseAPI& api = d->api;
    api.SetImage(grey.constBits(), grey.width(), grey.height(), 1, int(grey.bytesPerLine()));
    api.SetSourceResolution(dpi);
    if (api.Recognize(nullptr) != 0)
        return Status::failure(QStringLiteral("Tesseract could not read the page"));
    Zone root{"page", QRect(QPoint(0, 0), page), {}, {}};
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    using L = tesseract::PageIteratorLevel;
    Zone *region = nullptr, *para = nullptr, *line = nullptr;
    if (it && !it->Empty(L::RIL_WORD)) {
        do {
            std::unique_ptr<char[]> word(it->GetUTF8Text(L::RIL_WORD));
            const QString text = QString::fromUtf8(word.get()).trimmed();
            if (text.isEmpty())
                continue;
            if (!region || it->IsAtBeginningOf(L::RIL_BLOCK)) {
                // A block of text is a column holding one region.
                const QRect box = BoxOf(*it, L::RIL_BLOCK, scale, page);
                root.children.append({"column", box, {}, {{"region", box, {}, {}}}});
                region = &root.children.last().children.last();
                para = line = nullptr;
            }
            if (!para || it->IsAtBeginningOf(L::RIL_PARA)) {
                region->children.append({"para", BoxOf(*it, L::RIL_PARA, scale, page), {}, {}});
                para = &region->children.last();
                line = nullptr;
            }
            if (!line || it->IsAtBeginningOf(L::RIL_TEXTLINE)) {
                para->children.append({"line", BoxOf(*it, L::RIL_TEXTLINE, scale, page), {}, {}});
                line = &para->children.last();
            }
            line->children.append({"word", BoxOf(*it, L::RIL_WORD, scale, page), text, {}});
        } while (it->Next(L::RIL_WORD));
    }
    api.Clear();
    QString out;
    Write(root, page.height(), out);
    return out + u'\n';
}

} // namespace lexifol::ocr
