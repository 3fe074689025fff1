#include "library/TextSearch.h"

#include "index/IndexOps.h"

#include <QFileInfo>

namespace lexifol {

search::TextSource TextSourceFor(const DictionaryPaths& paths)
{
    search::TextSource s;
    s.name = paths.name;
    s.folder = paths.folder();
    const Descriptor d = QFileInfo::exists(paths.descriptor()) ? ReadDescriptor(paths.descriptor()) : Descriptor();
    s.wholeFile = WholeFileValue(d.wholeFile) == u"yes";
    s.title = d.name && !d.name->trimmed().isEmpty() ? d.name->trimmed() : paths.name;
    LoadReplacementList(paths.replacementList(), s.rules);
    return s;
}

} // namespace lexifol
