#include "library/Profile.h"

#include "base/CodePage.h"
#include "base/TextFile.h"
#include "library/FileUtil.h"

#include <QFileInfo>
#include <QtEndian>
#include <QList>
#include <optional>

namespace lexifol {

namespace {

// How the file's bytes hold text. Lines are cut in code units of this form
// so that a rewrite can keep every untouched line byte for byte.
enum class Form { Ansi8, Utf8, Utf16LE, Utf16BE };

struct RawLine {
    QByteArray content; // without the break
    QByteArray eol;     // the break as found (empty on a last line without one)
};

struct Parsed {
    Form form = Form::Ansi8;
    QByteArray bom;
    QList<RawLine> lines;
};

Form detectForm(const QByteArray& b, QByteArray& bom)
{
    // The same marks, in the same precedence, as the index file reader.
    const TextMark mark = DetectMark(b);
    bom = b.left(mark.length);
    switch (mark.kind) {
    case TextMark::Utf16LE:
        return Form::Utf16LE;
    case TextMark::Utf16BE:
        return Form::Utf16BE;
    case TextMark::Utf8:
        return Form::Utf8;
    case TextMark::None:
        break;
    }
    return Form::Ansi8;
}

Parsed parse(const QByteArray& bytes, ProfileFile::Encoding enc)
{
    Parsed p;
    if (enc == ProfileFile::Encoding::Detect)
        p.form = detectForm(bytes, p.bom);
    const bool wide = p.form == Form::Utf16LE || p.form == Form::Utf16BE;
    const qsizetype unit = wide ? 2 : 1;
    const qsizetype start = p.bom.size();
    // A trailing odd byte of UTF-16 is not a unit: dropped, as the index
    // reader drops it, so that what is written reads back.
    const qsizetype n = start + (bytes.size() - start) / unit * unit;
    auto unitAt = [&](qsizetype i) -> unsigned {
        if (!wide)
            return uchar(bytes[i]);
        const unsigned a = uchar(bytes[i]), b = uchar(bytes[i + 1]);
        return p.form == Form::Utf16LE ? (a | b << 8) : (a << 8 | b);
    };
    const qsizetype whole = n;
    qsizetype i = start;
    while (i < n) {
        qsizetype j = i;
        while (j < whole && unitAt(j) != '\r' && unitAt(j) != '\n')
            j += unit;
        if (j >= whole)
            j = n;
        RawLine line;
        line.content = bytes.mid(i, j - i);
        qsizetype k = j;
        if (k < whole && unitAt(k) == '\r')
            k += unit;
        if (k < whole && unitAt(k) == '\n')
            k += unit;
        line.eol = bytes.mid(j, k - j);
        p.lines.append(line);
        i = k;
    }
    return p;
}

QString decodeLine(const Parsed& p, const QByteArray& content)
{
    if (p.form == Form::Ansi8)
        return Ansi().decode(content);
    // The shared decoder picks the form from the mark, so each line is
    // handed over with the file's mark in front.
    return DecodeText(p.bom + content);
}

QByteArray encodeText(Form form, const QString& text)
{
    switch (form) {
    case Form::Ansi8:
        return Ansi().encode(text);
    case Form::Utf8:
        return text.toUtf8();
    case Form::Utf16LE: {
        QByteArray out;
        AppendUtf16Le(out, text);
        return out;
    }
    case Form::Utf16BE: {
        QByteArray out(text.size() * 2, Qt::Uninitialized);
        qToBigEndian<char16_t>(text.utf16(), text.size(), out.data());
        return out;
    }
    }
    return {};
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimBlanks(QStringView s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && isBlank(s[a]))
        ++a;
    while (b > a && isBlank(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}

enum class Kind { Other, Section, Key };

struct LineInfo {
    Kind kind = Kind::Other;
    QString name;                 // section or key name
    std::optional<QString> value; // keys only; none when the line has no "="
};

LineInfo classify(const QString& decoded)
{
    LineInfo info;
    const QStringView t = trimBlanks(decoded);
    if (t.isEmpty() || t.front() == u';')
        return info;
    if (t.front() == u'[') {
        const qsizetype close = t.lastIndexOf(u']');
        if (close > 0) {
            info.kind = Kind::Section;
            info.name = trimBlanks(t.mid(1, close - 1)).toString();
            return info;
        }
    }
    info.kind = Kind::Key;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0) {
        info.name = t.toString();
        return info;
    }
    info.name = trimBlanks(t.left(eq)).toString();
    QStringView v = trimBlanks(t.mid(eq + 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    info.value = v.toString();
    return info;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key stands: the first section of that name counts, and within it
// the first key of that name; later duplicates are never looked at.
struct Location {
    int section = -1; // line of the section header
    int key = -1;     // line of the key
    int lastKey = -1; // last key line of the section
    LineInfo keyInfo;
};

Location locate(const Parsed& p, const QString& section, const QString& key)
{
    Location loc;
    for (int i = 0; i < p.lines.size(); ++i) {
        const LineInfo info = classify(decodeLine(p, p.lines[i].content));
        if (loc.section < 0) {
            if (info.kind == Kind::Section && sameName(info.name, section))
                loc.section = i;
            continue;
        }
        if (info.kind == Kind::Section)
            break;
        if (info.kind != Kind::Key)
            continue;
        loc.lastKey = i;
        if (loc.key < 0 && sameName(info.name, key)) {
            loc.key = i;
            loc.keyInfo = info;
        }
    }
    return loc;
}

} // namespace

ProfileFile::ProfileFile(const QString& path, Encoding enc)
    : path_(path)
    , enc_(enc)
{ }

bool ProfileFile::exists() const
{
    return QFileInfo::exists(path_);
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& def, bool* ok) const
{
    if (ok)
        *ok = true;
    if (!exists())
        return def;
    const Result<QByteArray> bytes = ReadFileBytes(path_, kSmallFileCap);
    if (!bytes) {
        if (ok)
            *ok = false;
        return def;
    }
    const Location loc = locate(parse(bytes.value(), enc_), section, key);
    if (loc.key < 0 || !loc.keyInfo.value)
        return def;
    return *loc.keyInfo.value;
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool def) const
{
    // A sentinel that no trimmed value can equal tells a missing key apart.
    static const QString missing = QStringLiteral("\n");
    const QString v = readString(section, key, missing);
    if (v == missing)
        return def;
    QStringView s = v;
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        base = 16;
        s = s.mid(2);
    }
    // Digits only, within 32 bits: hexadecimal may use all of them, as a
    // 32-bit integer read allows.
    const qulonglong limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    bool parsed = !s.isEmpty();
    qulonglong magnitude = 0;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const char16_t lower = u | 0x20;
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (lower >= u'a' && lower <= u'f')
            digit = lower - u'a' + 10;
        if (digit < 0 || digit >= base) {
            parsed = false;
            break;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            parsed = false;
            break;
        }
    }
    if (!parsed)
        return def;
    return magnitude != 0;
}

Status ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    Parsed p;
    if (exists()) {
        const Result<QByteArray> bytes = ReadFileBytes(path_, kSmallFileCap);
        if (!bytes)
            return Status::failure(bytes.error());
        p = parse(bytes.value(), enc_);
    }
    const QByteArray crlf = encodeText(p.form, QStringLiteral("\r\n"));
    const Location loc = locate(p, section, key);

    auto keyLine = [&](const QString& name) { return RawLine{encodeText(p.form, name + u'=' + value), crlf}; };
    // A line that ended the file without a break gets one before anything
    // is put behind it.
    auto closeLine = [&](int i) {
        if (i >= 0 && p.lines[i].eol.isEmpty())
            p.lines[i].eol = crlf;
    };

    if (loc.key >= 0) {
        p.lines[loc.key].content = encodeText(p.form, loc.keyInfo.name + u'=' + value);
    } else if (loc.section >= 0) {
        const int after = loc.lastKey >= 0 ? loc.lastKey : loc.section;
        closeLine(after);
        p.lines.insert(after + 1, keyLine(key));
    } else {
        closeLine(int(p.lines.size()) - 1);
        p.lines.append(RawLine{encodeText(p.form, u'[' + section + u']'), crlf});
        p.lines.append(keyLine(key));
    }

    QByteArray out = p.bom;
    for (const RawLine& l : std::as_const(p.lines)) {
        out += l.content;
        out += l.eol;
    }
    return ReplaceFile(path_, out);
}

ViewSettings ReadViewSettings(const ProfileFile& settings)
{
    ViewSettings v;
    v.browserMouse = settings.readBool(QStringLiteral("Scroll"), QStringLiteral("Browser_Mouse"), false);
    v.locateHeadword = settings.readBool(QStringLiteral("View"), QStringLiteral("LocateHeadword"), true);
    v.otherDictionaries = settings.readBool(QStringLiteral("View"), QStringLiteral("OtherDictionaries"), true);
    v.continuous = settings.readBool(QStringLiteral("View"), QStringLiteral("Continuous"), true);
    v.language = settings.readString(QStringLiteral("View"), QStringLiteral("Language"));
    const auto megabytes = [&settings](const char* key) {
        bool number = false;
        const int mb = settings.readString(QStringLiteral("Memory"), QString::fromLatin1(key)).toInt(&number);
        return number && mb >= 0 ? std::optional<int>(mb) : std::nullopt;
    };
    if (const auto mb = megabytes("DictionaryCacheMB"))
        v.cacheBytes = size_t(*mb) << 20;
    if (const auto mb = megabytes("PageImagesMB"))
        v.pageImageBytes = qint64(*mb) << 20;
    if (const auto mb = megabytes("PageTextsMB"))
        v.pageTextBytes = qint64(*mb) << 20;
    return v;
}

} // namespace lexifol
