#include "library/XkbLayouts.h"

#include "library/KeyTranslator.h"
#include "library/KeyboardLayout.h"
#include "library/Profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace lexifol {

QString DefaultXkbList()
{
    return QStringLiteral("/usr/share/X11/xkb/rules/evdev.lst");
}

QList<XkbLayoutChoice> SystemLayouts(const QString& listFile)
{
    QFile f(listFile);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // "! layout" lines: "  ru              Russian"; "! variant" lines:
    // "  phonetic        ru: Russian (phonetic)".
    static const QRegularExpression entry(QStringLiteral("^\\s+(\\S+)\\s+(.*)$"));
    static const QRegularExpression variantOf(QStringLiteral("^(\\S+): (.*)$"));
    QList<XkbLayoutChoice> layouts;
    QHash<QString, QList<XkbLayoutChoice>> variants;
    QString section;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(u'!')) {
            section = line.mid(1).trimmed();
            continue;
        }
        const QRegularExpressionMatch m = entry.match(line);
        if (!m.hasMatch())
            continue;
        if (section == u"layout") {
            layouts.append({m.captured(1), m.captured(2).trimmed()});
        } else if (section == u"variant") {
            const QRegularExpressionMatch v = variantOf.match(m.captured(2).trimmed());
            if (v.hasMatch())
                variants[v.captured(1)].append(
                    {QStringLiteral("%1(%2)").arg(v.captured(1), m.captured(1)), v.captured(2)});
        }
    }
    QList<XkbLayoutChoice> out;
    for (const XkbLayoutChoice& l : layouts)
        out << l << variants.value(l.name);
    return out;
}

Status SaveKeyboardLayout(const QString& descriptor, const QString& layout, const QList<XkbLayoutChoice>& known)
{
    const QString value = layout.trimmed();
    const bool listed = std::any_of(known.begin(), known.end(),
                                    [&](const XkbLayoutChoice& c) { return c.name == value; });
    const bool wellFormed = IsXkbLayoutName(value.toLatin1());
    if (!value.isEmpty() && !KeyboardLayoutLanguage(value.toLatin1()) && !(known.isEmpty() ? wellFormed : listed))
        return Status::failure(
            QCoreApplication::translate("lexifol", "Unknown keyboard layout \u201c%1\u201d").arg(value));
    ProfileFile ini(descriptor, ProfileFile::Encoding::Detect);
    return ini.writeString(QStringLiteral("main"), QStringLiteral("keyboard_layout"), value);
}

} // namespace lexifol
