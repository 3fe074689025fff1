#include "search/PageRank.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lexifol::search {

namespace {

constexpr double kSaturation = 1.2; // BM25's k1: the fifth hit on a page adds little

struct QueryData {
    std::vector<double> idf; // of each phrase, over all pages
    std::vector<int> hits;   // of each phrase on the page ranked
};

int CountRow(const Fts5ExtensionApi*, Fts5Context*, void* rows)
{
    ++*static_cast<sqlite3_int64*>(rows);
    return SQLITE_OK;
}

// Computed once a query: how rare each phrase is.
QueryData* DataFor(const Fts5ExtensionApi* api, Fts5Context* fts, int* rc)
{
    if (auto* d = static_cast<QueryData*>(api->xGetAuxdata(fts, 0)))
        return d;
    auto* d = new QueryData;
    sqlite3_int64 rows = 0;
    *rc = api->xRowCount(fts, &rows);
    const int phrases = api->xPhraseCount(fts);
    for (int p = 0; p < phrases && *rc == SQLITE_OK; ++p) {
        sqlite3_int64 with = 0;
        *rc = api->xQueryPhrase(fts, p, &with, CountRow);
        // Never zero or below: a word on every page still counts a little.
        d->idf.push_back(std::max(1e-6, std::log((double(rows) - double(with) + 0.5) / (double(with) + 0.5))));
    }
    d->hits.assign(size_t(phrases), 0);
    if (*rc == SQLITE_OK)
        *rc = api->xSetAuxdata(fts, d, [](void* p) { delete static_cast<QueryData*>(p); });
    else
        delete d;
    return *rc == SQLITE_OK ? d : nullptr;
}

void PageRank(const Fts5ExtensionApi* api, Fts5Context* fts, sqlite3_context* ctx, int, sqlite3_value**)
{
    int rc = SQLITE_OK;
    QueryData* d = DataFor(api, fts, &rc);
    int count = 0;
    if (rc == SQLITE_OK)
        rc = api->xInstCount(fts, &count);
    if (rc != SQLITE_OK || !d) {
        sqlite3_result_error_code(ctx, rc == SQLITE_OK ? SQLITE_ERROR : rc);
        return;
    }
    std::fill(d->hits.begin(), d->hits.end(), 0);
    for (int i = 0; i < count; ++i) {
        int phrase = 0, column = 0, offset = 0;
        if (api->xInst(fts, i, &phrase, &column, &offset) == SQLITE_OK && phrase >= 0
            && size_t(phrase) < d->hits.size())
            ++d->hits[size_t(phrase)];
    }
    double score = 0;
    for (size_t p = 0; p < d->hits.size(); ++p) {
        const double tf = d->hits[p];
        score += d->idf[p] * tf * (kSaturation + 1) / (tf + kSaturation);
    }
    sqlite3_result_double(ctx, -score);
}

} // namespace

bool RegisterPageRank(sqlite3* db)
{
    fts5_api* api = nullptr;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &s, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(s, 1, &api, "fts5_api_ptr", nullptr);
        sqlite3_step(s);
    }
    sqlite3_finalize(s);
    return api && api->xCreateFunction(api, "pagerank", nullptr, PageRank, nullptr) == SQLITE_OK;
}

} // namespace lexifol::search
