#pragma once
// Input languages named by Windows keyboard layout identifiers (8 hex
// digits, e.g. "00000419"): the low 16 bits are the language. On X11 the
// language is mapped to one of the user's configured XKB layouts, whose group
// is then locked; elsewhere the identifier is only remembered.
#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <optional>

namespace lexifol {

// Loads and activates the input language of an identifier of exactly 8 hex
// digits. False (and nothing changes) for any other text.
// With `switchSystem` false it is only remembered: Lexifol maps the keys.
bool LoadKeyboardLayout(const QByteArray& id8hex, bool switchSystem = true);

// Whether the window system can switch to that XKB layout itself: X11 with
// it among the user's groups.
bool CanSwitchTo(const QByteArray& xkbLayout);

// The active input language's identifier, 8 upper-case hex digits: the one
// last activated, unless the user has since switched the XKB group; at start
// the one matching the current XKB group; else "00000409".
QByteArray ActiveKeyboardLayoutName();

// --- the language table, exposed for tests and for the platform layer ---

// The language (low 16 bits) of an identifier of exactly 8 hex digits.
std::optional<quint16> KeyboardLayoutLanguage(const QByteArray& id8hex);
// The XKB layout for a language ("ru" for 0x0419), empty when unknown.
QByteArray XkbLayoutForLanguage(quint16 langId);
// The identifier for an XKB layout, e.g. "ru" or "ru(phonetic)" ->
// "00000419"; empty when unknown.
QByteArray IdentifierForXkbLayout(const QByteArray& layout);
// The identifier for a descriptive XKB group name such as "Russian" or
// "English (US)", used when the server publishes no layout list; empty when
// unknown.
QByteArray IdentifierForXkbGroupName(const QString& groupName);
// The layouts of an _XKB_RULES_NAMES property value (NUL-separated rules,
// model, layouts, variants, options), one per group: "us,ru" -> us, ru.
QByteArrayList LayoutsFromRulesNames(const QByteArray& property);

} // namespace lexifol
