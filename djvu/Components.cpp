#include "djvu/Components.h"

#include "base/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <limits>

namespace lexifol::djvu {

QString DocumentRefusal(const QString& path)
{
    return RegularFileRefusal(path, std::numeric_limits<qint64>::max());
}

QString ComponentRefusal(ddjvu_document_t* doc, const QString& path)
{
    if (ddjvu_document_get_type(doc) != DDJVU_DOCTYPE_INDIRECT)
        return QString();
    const QDir folder = QFileInfo(path).absoluteDir();
    const int files = ddjvu_document_get_filenum(doc);
    for (int i = 0; i < files; ++i) {
        ddjvu_fileinfo_t info;
        if (ddjvu_document_get_fileinfo(doc, i, &info) != DDJVU_JOB_OK || !info.id)
            continue;
        const QString id = QString::fromUtf8(info.id);
        // A component lies beside the document; a name that climbs out of
        // its folder is refused like a FIFO.
        if (id.contains(u'/') || id.contains(u'\\') || id == QLatin1StringView(".."))
            return QStringLiteral("Cannot open file \"%1\". Its part \"%2\" lies outside its folder.").arg(path, id);
        // A missing part is DjVuLibre's to report for its page alone.
        const QString file = folder.filePath(id);
        if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink())
            continue;
        if (QString refusal = DocumentRefusal(file); !refusal.isEmpty())
            return refusal;
    }
    return QString();
}

QHash<QString, int> ReadPageNames(ddjvu_document_t* doc)
{
    QHash<QString, int> names;
    const int files = ddjvu_document_get_filenum(doc);
    for (int i = 0; i < files; ++i) {
        ddjvu_fileinfo_t info;
        if (ddjvu_document_get_fileinfo(doc, i, &info) != DDJVU_JOB_OK || info.type != 'P' || info.pageno < 0)
            continue;
        for (const char* s : {info.id, info.name, info.title}) {
            if (!s || !*s)
                continue;
            const QString name = QString::fromUtf8(s);
            names.insert(name, info.pageno);
            const qsizetype dot = name.lastIndexOf(u'.');
            if (dot > 0)
                names.insert(name.left(dot), info.pageno);
        }
    }
    return names;
}

QStringList ReadPageTitles(ddjvu_document_t* doc)
{
    QStringList titles;
    bool any = false;
    const int files = ddjvu_document_get_filenum(doc);
    for (int i = 0; i < files; ++i) {
        ddjvu_fileinfo_t info;
        if (ddjvu_document_get_fileinfo(doc, i, &info) != DDJVU_JOB_OK || info.type != 'P' || info.pageno < 0
            || info.pageno > 1000000)
            continue;
        const QString title = info.title ? QString::fromUtf8(info.title) : QString();
        // DjVuLibre gives the file's id as the title of a page without one.
        if (title.isEmpty() || (info.id && title == QString::fromUtf8(info.id)))
            continue;
        if (titles.size() <= info.pageno)
            titles.resize(info.pageno + 1);
        titles[info.pageno] = title;
        any = true;
    }
    return any ? titles : QStringList();
}

} // namespace lexifol::djvu
