#pragma once
// What the Configuration dialog may ask of the main window, and no more.
#include <QString>

namespace lexifol {

class MainWindowLink
{
public:
    virtual ~MainWindowLink() = default;
    // Shows or hides the main window's normalisation preview picture.
    virtual void setPreviewVisible(bool visible) = 0;
    // The folder the check log is written to, with its trailing separator.
    virtual QString programFolder() const = 0;
    // The folder holding the Data folder of that dictionary.
    virtual QString dictionaryRoot(const QString& name) const
    {
        Q_UNUSED(name);
        return programFolder();
    }
    // The user's own root: files built for a read-only dictionary go there.
    virtual QString userRoot() const { return QString(); }
    // Selects the catalogue entry of that name (case ignored) and opens it;
    // nothing when there is none.
    virtual void reopenDictionary(const QString& name) = 0;
};

} // namespace lexifol
