#pragma once
// INI files with the semantics of the Windows profile-string functions:
// section and key names case-insensitive, the first occurrence counts, a
// missing file or key reads as the default, every write goes to the file at
// once (atomically, every other line kept as it was).
#include "base/Status.h"
#include <QString>

namespace lexifol {

class ProfileFile
{
public:
    enum class Encoding {
        Ansi,  // 8-bit in the ANSI code page (Lexifol.ini)
        Detect // byte-order marks as for index files, else ANSI (descriptors)
    };
    explicit ProfileFile(const QString& path, Encoding enc = Encoding::Ansi);

    QString path() const { return path_; }
    bool exists() const;

    // Returns `def` for a missing file, section or key. Values are trimmed of
    // blanks around them; a value in matching quotes loses its quotes.
    // Returns false in *ok when the file exists but cannot be read.
    QString readString(const QString& section, const QString& key, const QString& def = QString(),
                       bool* ok = nullptr) const;
    // Non-zero integer (decimal, or hex with 0x) is true, zero false,
    // anything else `def`.
    bool readBool(const QString& section, const QString& key, bool def) const;
    // Writes at once; false when the file could not be replaced.
    Status writeString(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
    Encoding enc_;
};

// The settings the window reads at start-up.
struct ViewSettings {
    bool browserMouse = false;             // [Scroll] Browser_Mouse
    bool locateHeadword = true;            // [View] LocateHeadword
    bool otherDictionaries = true;         // [View] OtherDictionaries
    bool continuous = true;                // [View] Continuous
    size_t cacheBytes = size_t(512) << 20; // [Memory] DictionaryCacheMB
    qint64 pageImageBytes = 96LL << 20;    // [Memory] PageImagesMB
    qint64 pageTextBytes = 8LL << 20;      // [Memory] PageTextsMB
    QString language;                      // [View] Language: "" follows the system
};
ViewSettings ReadViewSettings(const ProfileFile& settings);

} // namespace lexifol
