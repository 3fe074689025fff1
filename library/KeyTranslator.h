#pragma once
// Characters made from the physical key through a dictionary's keyboard
// layout, inside Lexifol: for desktops that cannot switch to it (Wayland,
// X11 without that layout among its groups). Other programs never see a
// changed layout.
#include "base/Status.h"
#include <QByteArray>
#include <QString>
#include <memory>

namespace lexifol {

class KeyTranslator
{
public:
    // An XKB layout name with an optional variant: "ru", "ru(phonetic)",
    // "de(neo)". Fails, naming it, for a layout the system does not know.
    static Result<std::shared_ptr<const KeyTranslator>> ForLayout(const QByteArray& name);
    ~KeyTranslator();

    const QByteArray& name() const { return name_; }
    // What the key typed: `keycode` is the XKB keycode (the platform's
    // native scan code); empty for a key that types nothing (Shift, F5,
    // a dead key).
    QString text(quint32 keycode, bool shift, bool capsLock, bool altGr) const;

private:
    struct Keymap;
    KeyTranslator(QByteArray name, Keymap* keymap);
    QByteArray name_;
    Keymap* keymap_;
};

// Whether the platform switches its own layout, Lexifol maps the keys, or
// nothing is done: `setting` is [Keyboard] Mode (auto, switch, translate or
// off; anything else is auto).
enum class KeyMode { Switch, Translate, Off };
KeyMode DecideKeyMode(const QString& setting, bool platformCanSwitch, bool layoutKnown);

// A layout named as XKB names it ("ru", "ru(phonetic)", "de(neo)"), which a
// descriptor may give instead of a Windows identifier: it keeps the variant.
bool IsXkbLayoutName(const QByteArray& name);
// The Windows identifier that stands for a layout, for "Current keyboard
// layout" ("ru(phonetic)" is 00000419); an identifier as it is; empty for
// an XKB name of no known language.
QByteArray KeyboardIdentifierOf(const QByteArray& layout);

// What a dictionary's layout (a Windows identifier, "00000419", or an XKB
// name) comes to on this desktop: the mode, the translator when Lexifol maps the keys, and
// what the status bar shows ("RU") with its tooltip.
struct KeyboardChoice {
    KeyMode mode = KeyMode::Off;
    std::shared_ptr<const KeyTranslator> translator;
    QString label, tooltip;
};
KeyboardChoice ChooseKeyboard(const QByteArray& identifier, const QString& setting);

} // namespace lexifol
