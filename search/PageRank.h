#pragma once
// How well a page answers a query: BM25 without the page's length. The
// pages of a dictionary are about equally long, and knowing each one's
// length would cost a lookup for every page that matches, which for a
// common word is every page.
struct sqlite3;

namespace lexifol::search {

// Makes "pagerank(table)" known to FTS5 on this connection: lower is better.
bool RegisterPageRank(sqlite3* db);

} // namespace lexifol::search
