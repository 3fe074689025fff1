#include "app/WindowParts.h"
#include "index/IndexOps.h"
#include "library/Dictionary.h"

namespace lexifol {

QString WindowState::load(const Locations& folders)
{
    places = folders;
    QString said = places.prepareUserFolders();
    programFolder = places.programFolder();
    dictionary.cache = &indexCache;
    dictionary.userRoot = places.userRoot();
    catalogue.load(places.dictionaryRoots(), places.catalogueFile());
    bookmarks.load(places.bookmarksFile());
    // Read while the widgets are built.
    if (const int row = startRow(); row >= 0) {
        const DictionaryPaths paths{catalogue.root(row), catalogue.name(row), places.userRoot()};
        indexCache.prefetch(paths.firstIndex(),
                            [](const QString& p, IndexList& l) { return LoadFirstIndex(p, l).ok(); });
        indexCache.prefetch(paths.secondIndex(), [](const QString& p, IndexList& l) { return ReadSecondIndex(p, l); });
    }
    return said;
}

ViewSettings WindowState::readSettings()
{
    settings = std::make_unique<ProfileFile>(places.settingsFile());
    ViewSettings view = ReadViewSettings(*settings);
    browserMouse = view.browserMouse;
    locateHeadword = view.locateHeadword;
    indexCache.setBudget(view.cacheBytes);
    return view;
}

int WindowState::startRow() const
{
    return catalogue.count() > 0 ? qMax(catalogue.firstChecked(), 0) : -1;
}

} // namespace lexifol
