#include "library/Shelf.h"

#include "index/IndexOps.h"
#include "library/WordLookup.h"

#include <QCoreApplication>

namespace lexifol {

namespace {

QString Key(const ShelfEntry& e)
{
    return e.root + u'\n' + e.name;
}

size_t Bytes(const ActiveDictionary& d)
{
    return d.first.memoryBytes() + d.second.memoryBytes();
}

} // namespace

ShelfHit LookUpIn(const ActiveDictionary& d, const QString& text)
{
    ShelfHit hit;
    hit.name = d.name;
    const int landed = TypedRow(d, text);
    const std::optional<Hit> found = LookUp(d, text);
    if (!found || landed < 0 || landed >= d.first.count())
        return hit;
    hit.page = found->page;
    if (d.pageIndex) {
        hit.kind = ShelfHit::Kind::Page;
        hit.headword = d.first.headword(landed).toString();
        return hit;
    }
    hit.headword = d.first.headword(landed).toString();
    const bool exact = d.order().compare(hit.headword, text) == 0
        || (!d.second.isEmpty() && d.second.line(landed) == NormaliseHeadword(text, d.rules));
    hit.kind = exact ? ShelfHit::Kind::Exact : ShelfHit::Kind::Nearest;
    return hit;
}

void Shelf::open(const QList<ShelfEntry>& entries)
{
    for (const ShelfEntry& e : entries) {
        {
            std::lock_guard lock(mutex_);
            if (opened_.count(Key(e)))
                continue;
        }
        auto d = std::make_shared<ActiveDictionary>();
        d->userRoot = userRoot;
        d->cache = cache_;
        const OpenOutcome out = d->open({e.root, e.name, false, false});
        Opened o;
        if (out.opened) {
            o.title = d->title.isEmpty() ? e.name : d->title;
            o.dictionary = d;
        } else {
            o.why = out.messages.isEmpty() ? QCoreApplication::translate("lexifol", "its index cannot be read")
                                           : out.messages.first();
            o.why.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        }
        std::lock_guard lock(mutex_);
        const size_t bytes = o.dictionary ? Bytes(*o.dictionary) : 0;
        if (o.dictionary && (bytes > cache_->budget() || !cache_->fits())) {
            o.dictionary.reset();
            d.reset();
            cache_->fits(); // its lists, now held by nobody, go
            o.why = QCoreApplication::translate("lexifol",
                                                "not opened: the memory set aside for dictionaries is used up");
        } else {
            held_ += bytes;
        }
        opened_.emplace(Key(e), std::move(o));
    }
}

QList<ShelfHit> Shelf::lookUp(const QList<ShelfEntry>& entries, const QString& text) const
{
    QList<ShelfHit> hits;
    for (const ShelfEntry& e : entries) {
        Opened o;
        bool known = false;
        {
            std::lock_guard lock(mutex_);
            if (auto it = opened_.find(Key(e)); it != opened_.end()) {
                o = it->second;
                known = true;
            }
        }
        ShelfHit hit;
        if (!known) {
            hit.kind = ShelfHit::Kind::Opening;
        } else if (!o.dictionary) {
            hit.kind = ShelfHit::Kind::Broken;
            hit.why = o.why;
        } else if (!text.isEmpty()) {
            hit = LookUpIn(*o.dictionary, text);
        }
        hit.name = e.name;
        hit.title = known && !o.title.isEmpty() ? o.title : e.name;
        hits << hit;
    }
    return hits;
}

size_t Shelf::heldBytes() const
{
    std::lock_guard lock(mutex_);
    return held_;
}

} // namespace lexifol
