#include "app/KeyMapper.h"

#include "library/KeyboardLayout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace lexifol {

KeyMapper::KeyMapper(QObject* parent)
    : QObject(parent)
{
    // The whole application: Find's field is made only when first opened.
    qApp->installEventFilter(this);
}

KeyMapper::~KeyMapper()
{
    qApp->removeEventFilter(this);
}

KeyboardChoice KeyMapper::apply(const QByteArray& identifier, const QString& mode)
{
    KeyboardChoice choice = ChooseKeyboard(identifier, mode);
    // Remembered in every mode but off, for "Current keyboard layout"; the
    // system's own layout changes only when it switches.
    if (!identifier.isEmpty() && mode.trimmed().toLower() != u"off")
        LoadKeyboardLayout(KeyboardIdentifierOf(identifier), choice.mode != KeyMode::Translate);
    translator_ = choice.translator;
    return choice;
}

void KeyMapper::watch(QWidget* field)
{
    fields_.insert(field);
    connect(field, &QObject::destroyed, this, [this, field] { fields_.remove(field); });
}

bool KeyMapper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !translator_ || sending_)
        return false;
    if (!fields_.contains(watched) && watched->objectName() != QLatin1StringView("findField"))
        return false;
    auto* e = static_cast<QKeyEvent*>(event);
    // A character key without Ctrl or Alt: its character through the
    // dictionary's layout. Shortcuts, navigation and dead keys stay Qt's.
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!plain || e->nativeScanCode() == 0 || e->text().isEmpty() || !e->text().front().isPrint())
        return false;
    // The window system's modifier state: Shift, Lock and Mod5 (AltGr) bits.
    const quint32 m = e->nativeModifiers();
    const QString typed = translator_->text(e->nativeScanCode(), m & 0x1, m & 0x2, m & 0x80);
    if (typed.isEmpty())
        return false;
    QKeyEvent mapped(e->type(), e->key(), e->modifiers(), e->nativeScanCode(), e->nativeVirtualKey(),
                     e->nativeModifiers(), typed, e->isAutoRepeat(), ushort(e->count()));
    sending_ = true;
    QCoreApplication::sendEvent(watched, &mapped);
    sending_ = false;
    return true;
}

} // namespace lexifol
