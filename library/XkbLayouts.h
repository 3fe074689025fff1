#pragma once
// The keyboard layouts the system knows, as xkeyboard-config lists them, for
// the dictionary's layout to be chosen from; and that choice stored in the
// dictionary's descriptor.
#include "base/Status.h"

#include <QList>
#include <QString>

namespace lexifol {

struct XkbLayoutChoice {
    QString name;        // "ru", "ru(phonetic)"
    QString description; // "Russian", "Russian (phonetic)"
};

QString DefaultXkbList();

// Each layout followed by its variants; empty when the list is missing (a
// system without xkeyboard-config), and then any well-formed name is taken.
QList<XkbLayoutChoice> SystemLayouts(const QString& listFile = DefaultXkbList());

// Writes keyboard_layout to the descriptor ("" for none). A name the list
// does not know is refused with the name in the message; 8 hexadecimal
// digits (a Windows identifier) are taken as they are.
Status SaveKeyboardLayout(const QString& descriptor, const QString& layout, const QList<XkbLayoutChoice>& known);

} // namespace lexifol
