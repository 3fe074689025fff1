#include "djvu/Document.h"

#include "djvu/Components.h"
#include "djvu/Context.h"
#include "djvu/TextHelper.h"
#include "djvu/TextLayerParse.h"

#include <QDir>
#include <QFile>
#include <cstring>

namespace lexifol::djvu {

struct Document::Impl {
    ddjvu_document_t* doc = nullptr;
    int stallMs = 10000;
    ~Impl()
    {
        if (doc)
            ddjvu_document_release(doc);
    }
};

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A file read whole is held in memory as long as the document is open;
// past this size it is read by name, as a viewer would.
constexpr qint64 kWholeFileBytes = qint64(256) << 20;

// Whether the file holds all its pages itself: one page, or a bundled
// document (an indirect one names other files, which only a reader by name
// finds).
bool SelfContained(QFile& file)
{
    const QByteArray head = file.peek(25);
    if (head.size() < 16 || !head.startsWith("AT&TFORM"))
        return false;
    const QByteArray kind = head.mid(12, 4);
    if (kind == "DJVU")
        return true;
    return kind == "DJVM" && head.size() == 25 && head.mid(16, 4) == "DIRM" && (uchar(head[24]) & 0x80);
}

// The document made from the file's bytes, or null when it is not to be
// read so (too large, not self-contained, unreadable).
ddjvu_document_t* CreateFromBytes(ddjvu_context_t* ctx, const QString& path)
{
    QFile file(path);
    if (file.size() > kWholeFileBytes || !file.open(QIODevice::ReadOnly) || !SelfContained(file))
        return nullptr;
    ddjvu_document_t* doc = ddjvu_document_create(ctx, nullptr, 0);
    if (!doc)
        return nullptr;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = file.read(block.data(), block.size())) > 0;)
        ddjvu_stream_write(doc, 0, block.constData(), got);
    // A read that failed on the way gives a document cut short, which fails
    // as such a file fails.
    ddjvu_stream_close(doc, 0, 0);
    return doc;
}

} // namespace

Document::Document(std::unique_ptr<Impl> impl, QString path)
    : d(std::move(impl))
    , path_(std::move(path))
{ }
Document::~Document() = default;

Result<std::unique_ptr<Document>> Document::open(const QString& path, const OpenLimits& limits)
{
    if (QString refusal = DocumentRefusal(path); !refusal.isEmpty())
        return Status::failure(refusal);
    Context& context = Context::shared();
    if (!context.get())
        return Status::failure(QStringLiteral("DjVuLibre could not be started"));
    auto impl = std::make_unique<Impl>();
    impl->stallMs = limits.stallMs;
    if (limits.readWhole)
        impl->doc = CreateFromBytes(context.get(), path);
    if (!impl->doc)
        impl->doc = ddjvu_document_create_by_filename_utf8(context.get(), path.toUtf8().constData(), 0);
    if (!impl->doc)
        return Status::failure(QStringLiteral("Cannot open file %1").arg(Native(path)));
    ddjvu_document_t* doc = impl->doc;
    if (!context.waitFor([doc] { return ddjvu_document_decoding_done(doc) != 0; }, limits.stallMs))
        return Status::failure(QStringLiteral("Cannot decode file %1 (it stopped decoding)").arg(Native(path)));
    if (ddjvu_document_decoding_error(doc) || ddjvu_document_get_pagenum(doc) <= 0)
        return Status::failure(QStringLiteral("Cannot decode file %1").arg(Native(path)));
    if (QString refusal = ComponentRefusal(doc, path); !refusal.isEmpty())
        return Status::failure(refusal);
    return std::unique_ptr<Document>(new Document(std::move(impl), path));
}

int Document::pageCount() const
{
    return ddjvu_document_get_pagenum(d->doc);
}

Result<TextLayer> Document::pageText(int index, bool asStored) const
{
    if (index < 0 || index >= pageCount())
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(Native(path_)));
    if (!TextHelperProgram().isEmpty())
        return ReadPageText(path_, index, asStored);
    ddjvu_document_t* doc = d->doc;
    ddjvu_pageinfo_t info{};
    ddjvu_status_t infoStatus = asStored ? DDJVU_JOB_OK : DDJVU_JOB_NOTSTARTED;
    miniexp_t text = miniexp_dummy;
    const bool done = Context::shared().waitFor(
        [&] {
            if (infoStatus < DDJVU_JOB_OK)
                infoStatus = ddjvu_document_get_pageinfo(doc, index, &info);
            if (infoStatus < DDJVU_JOB_OK)
                return false;
            text = ddjvu_document_get_pagetext(doc, index, "word");
            return text != miniexp_dummy;
        },
        d->stallMs);
    if (!done || infoStatus >= DDJVU_JOB_FAILED)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    TextLayer layer = ParseTextLayer(text, asStored ? 0 : info.rotation);
    if (text != miniexp_nil)
        ddjvu_miniexp_release(doc, text);
    return layer;
}

namespace {

// The strings of a text expression in order, a line end after each line
// (and each larger zone).
void GatherText(miniexp_t e, QString& out, int depth)
{
    if (depth > 32)
        return;
    const bool lineOrMore = miniexp_consp(e) && miniexp_symbolp(miniexp_car(e))
        && std::strcmp(miniexp_to_name(miniexp_car(e)), "word") != 0
        && std::strcmp(miniexp_to_name(miniexp_car(e)), "char") != 0;
    bool wordSeen = false;
    for (miniexp_t rest = miniexp_consp(e) ? miniexp_cdr(e) : miniexp_nil; miniexp_consp(rest);
         rest = miniexp_cdr(rest)) {
        const miniexp_t item = miniexp_car(rest);
        if (miniexp_stringp(item)) {
            out += QString::fromUtf8(miniexp_to_str(item));
        } else if (miniexp_consp(item)) {
            if (wordSeen)
                out += u' ';
            GatherText(item, out, depth + 1);
            wordSeen = true;
        }
    }
    if (lineOrMore && !out.endsWith(u'\n'))
        out += u'\n';
}

} // namespace

Result<QString> Document::pagePlainText(int index) const
{
    if (index < 0 || index >= pageCount())
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(Native(path_)));
    if (!TextHelperProgram().isEmpty())
        return ReadPagePlainText(path_, index);
    ddjvu_document_t* doc = d->doc;
    miniexp_t text = miniexp_dummy;
    const bool done = Context::shared().waitFor(
        [&] {
            text = ddjvu_document_get_pagetext(doc, index, "page");
            return text != miniexp_dummy;
        },
        d->stallMs);
    if (!done)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    QString out;
    if (text != miniexp_nil) {
        GatherText(text, out, 0);
        ddjvu_miniexp_release(doc, text);
    }
    // The separators of columns, regions and paragraphs are line ends too.
    for (QChar& c : out)
        if (c == u'\x0b' || c == u'\x1d' || c == u'\x1f')
            c = u'\n';
    return out;
}

Result<QSize> Document::pageSize(int index, int* dpi) const
{
    if (index < 0 || index >= pageCount())
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(Native(path_)));
    ddjvu_pageinfo_t info;
    ddjvu_status_t status = DDJVU_JOB_NOTSTARTED;
    const bool done = Context::shared().waitFor(
        [&] {
            status = ddjvu_document_get_pageinfo(d->doc, index, &info);
            return status >= DDJVU_JOB_OK;
        },
        d->stallMs);
    if (!done || status != DDJVU_JOB_OK || info.width <= 0 || info.height <= 0)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    if (dpi)
        *dpi = info.dpi;
    return QSize(info.width, info.height);
}

int Document::pageOf(const QString& reference) const
{
    const QString ref = reference.trimmed();
    bool number = false;
    const qlonglong n = ref.toLongLong(&number);
    if (number && !ref.startsWith(u'+') && !ref.startsWith(u'-'))
        return n >= 1 && n <= pageCount() ? int(n - 1) : -1;
    const QHash<QString, int> names = ReadPageNames(d->doc);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        if (it.key().compare(ref, Qt::CaseInsensitive) == 0)
            return it.value();
    return -1;
}

Status Document::decodePage(int index) const
{
    if (index < 0 || index >= pageCount())
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(Native(path_)));
    ddjvu_page_t* page = ddjvu_page_create_by_pageno(d->doc, index);
    if (!page)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    const bool done = Context::shared().waitFor([page] { return ddjvu_page_decoding_done(page) != 0; }, d->stallMs);
    const bool good = done && !ddjvu_page_decoding_error(page) && ddjvu_page_get_width(page) > 0;
    ddjvu_page_release(page);
    if (!good)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    return {};
}

Result<QImage> Document::render(int index, QSize size) const
{
    if (index < 0 || index >= pageCount() || size.isEmpty())
        return Status::failure(QStringLiteral("There is no page %1 in %2").arg(index + 1).arg(Native(path_)));
    ddjvu_page_t* page = ddjvu_page_create_by_pageno(d->doc, index);
    if (!page)
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    const bool done = Context::shared().waitFor([page] { return ddjvu_page_decoding_done(page) != 0; }, d->stallMs);
    QImage image;
    if (done && !ddjvu_page_decoding_error(page)) {
        static const unsigned int masks[4] = {0xff0000, 0xff00, 0xff, 0xff000000};
        ddjvu_format_t* format = ddjvu_format_create(DDJVU_FORMAT_RGBMASK32, 4, const_cast<unsigned int*>(masks));
        ddjvu_format_set_row_order(format, 1);
        ddjvu_format_set_y_direction(format, 1);
        image = QImage(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        ddjvu_rect_t rect{0, 0, unsigned(size.width()), unsigned(size.height())};
        if (image.isNull()
            || !ddjvu_page_render(page, DDJVU_RENDER_COLOR, &rect, &rect, format, size_t(image.bytesPerLine()),
                                  reinterpret_cast<char*>(image.bits())))
            image = QImage();
        ddjvu_format_release(format);
    }
    ddjvu_page_release(page);
    if (image.isNull())
        return Status::failure(QStringLiteral("Cannot decode page %1 of %2").arg(index + 1).arg(Native(path_)));
    return image;
}

} // namespace lexifol::djvu
