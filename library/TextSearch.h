#pragma once
// A dictionary as the text search sees it: its pages' document, how they
// are stored, its replacement rules and its title, read from its files.
#include "library/Dictionary.h"
#include "search/PageTextIndex.h"

namespace lexifol {

search::TextSource TextSourceFor(const DictionaryPaths& paths);

} // namespace lexifol
