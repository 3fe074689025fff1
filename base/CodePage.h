#pragma once
// The 8-bit "ANSI code page": chosen once from the user's locale the way
// Windows chooses it for that language. Every 8-bit file of the program
// (catalogue, settings, page view file, 8-bit indexes) goes through it.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>

namespace lexifol {

// ICU converter name for a locale name such as "ru_RU.UTF-8", "pl", "zh_TW":
// "windows-1251", "windows-1250", ..., "windows-1252" for every other language.
QString AnsiCodePageForLocale(const QString& localeName);

class AnsiCodec
{
public:
    explicit AnsiCodec(const QString& codePageName);
    ~AnsiCodec();
    AnsiCodec(const AnsiCodec&) = delete;
    AnsiCodec& operator=(const AnsiCodec&) = delete;

    QString name() const;
    QString decode(QByteArrayView bytes) const;
    // Characters the code page cannot hold become "?".
    QByteArray encode(QStringView text) const;
    // For a single-byte code page the unit that decode gives for each of the
    // 256 bytes (for loaders that decode and cut in one pass); else nullptr.
    const char16_t* singleByteTable() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The locale name the process-wide codec is chosen from: the first set of
// LC_ALL, LC_CTYPE, LANG (empty when none is).
QString AnsiLocaleName();
// The process-wide codec, from the user's locale (LC_ALL, LC_CTYPE, LANG).
const AnsiCodec& Ansi();
// Tests (and nothing else) switch the process-wide code page with this.
void SetAnsiLocale(const QString& localeName);

} // namespace lexifol
