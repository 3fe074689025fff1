#include "library/KeyTranslator.h"

#include "library/KeyboardLayout.h"

#include <QCoreApplication>
#include <xkbcommon/xkbcommon.h>

namespace lexifol {

struct KeyTranslator::Keymap {
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    ~Keymap()
    {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
};

KeyTranslator::KeyTranslator(QByteArray name, Keymap* keymap)
    : name_(std::move(name))
    , keymap_(keymap)
{ }

KeyTranslator::~KeyTranslator()
{
    delete keymap_;
}

Result<std::shared_ptr<const KeyTranslator>> KeyTranslator::ForLayout(const QByteArray& name)
{
    const QByteArray trimmed = name.trimmed();
    const int open = trimmed.indexOf('(');
    const QByteArray layout = open < 0 ? trimmed : trimmed.left(open);
    const QByteArray variant = open < 0 ? QByteArray() : trimmed.mid(open + 1).chopped(trimmed.endsWith(')') ? 1 : 0);
    const auto unknown = Status::failure(
        QCoreApplication::translate("lexifol", "Unknown keyboard layout \u201c%1\u201d").arg(QString::fromUtf8(name)));
    // Names reach the compiler only when they look like XKB's own.
    for (const char c : layout + variant)
        if (!(QChar::fromLatin1(c).isLetterOrNumber() || c == '_' || c == '-'))
            return unknown;
    if (layout.isEmpty())
        return unknown;
    auto map = std::make_unique<Keymap>();
    map->context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!map->context)
        return Status::failure(
            QCoreApplication::translate("lexifol", "The keyboard layouts cannot be read (libxkbcommon)"));
    xkb_context_set_log_level(map->context, XKB_LOG_LEVEL_CRITICAL);
    const xkb_rule_names names{"evdev", "pc105", layout.constData(), variant.isEmpty() ? nullptr : variant.constData(),
                               nullptr};
    map->keymap = xkb_keymap_new_from_names(map->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!map->keymap)
        return unknown;
    return std::shared_ptr<const KeyTranslator>(new KeyTranslator(trimmed, map.release()));
}

QString KeyTranslator::text(quint32 keycode, bool shift, bool capsLock, bool altGr) const
{
    xkb_state* state = xkb_state_new(keymap_->keymap);
    if (!state)
        return {};
    xkb_mod_mask_t mods = 0;
    auto add = [&](const char* mod, bool on) {
        const xkb_mod_index_t i = xkb_keymap_mod_get_index(keymap_->keymap, mod);
        if (on && i != XKB_MOD_INVALID)
            mods |= xkb_mod_mask_t(1) << i;
    };
    add(XKB_MOD_NAME_SHIFT, shift);
    add(XKB_MOD_NAME_CAPS, capsLock);
    add("Mod5", altGr); // level 3, where evdev's AltGr puts it
    xkb_state_update_mask(state, mods, 0, 0, 0, 0, 0);
    char buffer[64] = {};
    const int size = xkb_state_key_get_utf8(state, keycode, buffer, sizeof buffer);
    xkb_state_unref(state);
    const QString out = size > 0 ? QString::fromUtf8(buffer, qMin(size, int(sizeof buffer) - 1)) : QString();
    // Control characters (Return, Tab, Escape) are left to the widget.
    return !out.isEmpty() && out.front().isPrint() ? out : QString();
}

KeyMode DecideKeyMode(const QString& setting, bool platformCanSwitch, bool layoutKnown)
{
    const QString s = setting.trimmed().toLower();
    if (s == u"off" || !layoutKnown)
        return KeyMode::Off;
    if (s == u"translate")
        return KeyMode::Translate;
    if (s == u"switch")
        return platformCanSwitch ? KeyMode::Switch : KeyMode::Off;
    return platformCanSwitch ? KeyMode::Switch : KeyMode::Translate;
}

bool IsXkbLayoutName(const QByteArray& name)
{
    if (name.isEmpty() || name.size() > 48 || !QChar::isLetter(uchar(name[0])) || KeyboardLayoutLanguage(name))
        return false;
    const int open = name.indexOf('(');
    if (open >= 0 && (!name.endsWith(')') || open == name.size() - 2))
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool paren = (c == '(' && i == open) || (c == ')' && i == name.size() - 1 && open >= 0);
        if (!paren && !(QChar::fromLatin1(c).isLetterOrNumber() || c == '_' || c == '-'))
            return false;
    }
    return true;
}

QByteArray KeyboardIdentifierOf(const QByteArray& layout)
{
    return IsXkbLayoutName(layout) ? IdentifierForXkbLayout(layout) : layout;
}

KeyboardChoice ChooseKeyboard(const QByteArray& identifier, const QString& setting)
{
    KeyboardChoice c;
    const std::optional<quint16> language = KeyboardLayoutLanguage(identifier);
    const QByteArray layout = IsXkbLayoutName(identifier) ? identifier
        : language                                        ? XkbLayoutForLanguage(*language)
                                                          : QByteArray();
    c.mode = DecideKeyMode(setting, CanSwitchTo(layout), !layout.isEmpty());
    if (c.mode == KeyMode::Translate) {
        if (auto t = KeyTranslator::ForLayout(layout))
            c.translator = t.value();
        else
            c.mode = KeyMode::Off;
    }
    if (c.mode == KeyMode::Off)
        return c;
    c.label = QString::fromLatin1(layout.left(layout.indexOf('(') < 0 ? layout.size() : layout.indexOf('('))).toUpper();
    c.tooltip = c.mode == KeyMode::Switch
        ? QCoreApplication::translate("lexifol", "The keyboard layout %1: the system switched to it")
              .arg(QString::fromLatin1(layout))
        : QCoreApplication::translate(
              "lexifol", "The keyboard layout %1: Lexifol maps the keys typed here; other programs keep yours")
              .arg(QString::fromLatin1(layout));
    return c;
}

} // namespace lexifol
