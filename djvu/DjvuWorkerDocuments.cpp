// The worker's open documents and decoded pages: opened once, kept while
// they are used, the oldest let go beyond a few.
#include "djvu/DjvuWorker.h"
#include "djvu/Components.h"

#include <QDir>
#include <QFileInfo>

#include <libdjvu/ddjvuapi.h>
#include <libdjvu/miniexp.h>

#include <algorithm>

namespace lexifol::djvu {

namespace {

constexpr size_t kMaxDocuments = 12;
constexpr size_t kMaxPages = 10;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

DjvuWorker::Doc* DjvuWorker::openDocument(Job& job, QString* error)
{
    const QString& path = job.request.path;
    auto it = docs_.find(path);
    if (!job.fileChecked) {
        job.fileChecked = true;
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile() || !info.isReadable()) {
            releaseDocument(path);
            *error = QStringLiteral("Cannot open file %1").arg(Native(path));
            return nullptr;
        }
        if (const QString refusal = DocumentRefusal(path); !refusal.isEmpty()) {
            releaseDocument(path);
            *error = refusal;
            return nullptr;
        }
        const auto stamp = std::make_pair(info.lastModified(), info.size());
        const auto seen = stamps_.constFind(path);
        if (seen != stamps_.cend() && *seen != stamp) {
            releaseDocument(path);
            // The context also keeps decoded data by file name.
            if (ctx_)
                ddjvu_cache_clear(ctx_.get());
            it = docs_.end();
        }
        stamps_.insert(path, stamp);
        if (it == docs_.end()) {
            ensureContext();
            ddjvu_document_t* handle = ctx_
                ? ddjvu_document_create_by_filename_utf8(ctx_.get(), path.toUtf8().constData(), 1)
                : nullptr;
            if (!handle) {
                *error = QStringLiteral("Cannot open file %1").arg(Native(path));
                return nullptr;
            }
            auto doc = std::make_unique<Doc>();
            doc->path = path;
            doc->doc.reset(handle);
            doc->modified = info.lastModified();
            doc->size = info.size();
            doc->lastUse = ++useClock_;
            it = docs_.emplace(path, std::move(doc)).first;
            trimCaches();
            it = docs_.find(path);
        }
    } else if (it == docs_.end()) {
        // Dropped from the cache while this job waited: open it again.
        job.fileChecked = false;
        return openDocument(job, error);
    }
    it->second->lastUse = ++useClock_;
    return it->second.get();
}

void DjvuWorker::releaseDocument(const QString& path)
{
    std::erase_if(pages_, [&path](const auto& slot) { return slot.first.first == path; });
    docs_.erase(path);
}

void DjvuWorker::trimCaches()
{
    while (docs_.size() > kMaxDocuments) {
        auto oldest = std::min_element(docs_.begin(), docs_.end(), [](const auto& a, const auto& b) {
            return a.second->lastUse < b.second->lastUse;
        });
        releaseDocument(oldest->first);
    }
    while (pages_.size() > kMaxPages) {
        auto oldest = std::min_element(pages_.begin(), pages_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        pages_.erase(oldest);
    }
}

ddjvu_page_t* DjvuWorker::pageFor(Doc& doc, int index)
{
    const auto key = std::make_pair(doc.path, index);
    auto it = pages_.find(key);
    if (it == pages_.end()) {
        ddjvu_page_t* page = ddjvu_page_create_by_pageno(doc.doc.get(), index);
        if (!page)
            return nullptr;
        it = pages_.emplace(key, PageSlot{DjvuHandle<ddjvu_page_t>(page), 0}).first;
    }
    it->second.lastUse = ++useClock_;
    ddjvu_page_t* page = it->second.page.get();
    trimCaches();
    return page;
}

void DjvuWorker::readNames(Doc& doc)
{
    if (std::exchange(doc.namesRead, true))
        return;
    doc.names = ReadPageNames(doc.doc.get());
    doc.titles = ReadPageTitles(doc.doc.get());
}

} // namespace lexifol::djvu
