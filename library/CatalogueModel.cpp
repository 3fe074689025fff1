// The catalogue's entries, check marks and selection.
#include "library/Catalogue.h"
#include "library/Dictionary.h"
#include "library/Profile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace lexifol {

void Catalogue::load(const QStringList& roots, const QString& savedOrderFile)
{
    QStringList saved;
    if (const Result<QStringList> read = LoadSavedOrder(savedOrderFile))
        saved = read.value();
    merge(roots, saved);
}

void Catalogue::rescan(const QStringList& roots)
{
    const QString selected = current_ >= 0 ? name(current_) : QString();
    merge(roots, savedOrder());
    setCurrent(selected.isEmpty() ? -1 : find(selected));
}

void Catalogue::merge(const QStringList& roots, const QStringList& saved)
{
    QStringList names;
    QHash<QString, QString> rootOf;
    for (const QString& root : roots)
        for (const QString& name : DiscoverDictionaries(root + QStringLiteral("Data")))
            if (!rootOf.contains(name)) {
                rootOf.insert(name, root);
                names << name;
            }
    entries_.clear();
    current_ = -1;
    for (const QString& name : MergeCatalogue(names, saved))
        entries_.append({name, SavedCheckMark(saved, name).value_or(false), rootOf.value(name)});
}

void Catalogue::setChecked(int row, bool checked)
{
    if (row >= 0 && row < count())
        entries_[row].checked = checked;
}

QStringList Catalogue::names() const
{
    QStringList out;
    for (const CatalogueEntry& e : entries_)
        out << e.name;
    return out;
}

int Catalogue::find(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (entries_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Catalogue::findByNameOrTitle(const QString& nameOrTitle) const
{
    const QString asked = nameOrTitle.trimmed();
    if (const int row = find(asked); row >= 0)
        return row;
    for (int i = 0; i < count(); ++i) {
        const QString title = titles_.value(entries_[i].name);
        if (!title.isEmpty() && title.compare(asked, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QHash<QString, QString> Catalogue::titleSources(const QString& programFolder) const
{
    QHash<QString, QString> out;
    for (const CatalogueEntry& e : entries_)
        out.insert(e.name, DictionaryPaths{e.root.isEmpty() ? programFolder : e.root, e.name, {}}.descriptor());
    return out;
}

QHash<QString, QString> TitleReader::read(const QHash<QString, QString>& descriptorByName)
{
    QHash<QString, QString> out;
    for (auto it = descriptorByName.begin(); it != descriptorByName.end(); ++it) {
        const QFileInfo descriptor(it.value());
        if (!descriptor.exists())
            continue;
        Known& known = known_[it.value()];
        const qint64 modified = descriptor.lastModified().toMSecsSinceEpoch();
        if (known.size != descriptor.size() || known.modified != modified)
            known = {descriptor.size(), modified, ReadDescriptor(it.value()).name.value_or(QString()).trimmed()};
        if (!known.title.isEmpty())
            out.insert(it.key(), known.title);
    }
    return out;
}

int Catalogue::firstChecked() const
{
    for (int i = 0; i < count(); ++i)
        if (entries_[i].checked)
            return i;
    return -1;
}

bool Catalogue::moveCurrent(int direction)
{
    const int target = current_ + direction;
    if (current_ < 0 || target < 0 || target >= count())
        return false;
    entries_.swapItemsAt(current_, target);
    current_ = target;
    return true;
}

std::optional<NeighbourStep> Catalogue::checkedNeighbour(bool up) const
{
    QList<bool> marks;
    for (const CatalogueEntry& e : entries_)
        marks << e.checked;
    return FindCheckedNeighbour(marks, current_, up);
}

int Catalogue::shortcutRow(const ProfileFile& settings, int digit) const
{
    if (digit < 0 || digit > 9)
        return -1;
    const QString value = settings.readString(QStringLiteral("Shortcuts"), QString::number(digit));
    return value.isEmpty() ? -1 : find(value);
}

} // namespace lexifol
