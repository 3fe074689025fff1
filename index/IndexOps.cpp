#include "index/IndexOps.h"

#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QFileInfo>

namespace lexifol {

int FindPosition(const IndexList& list, QStringView key, const IndexCollation& collation)
{
    int low = 0;
    int high = list.count() - 1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        const int c = collation.compare(list.line(mid), key);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0)
                low = mid; // ends the loop: an equal line is taken where it is met
        }
    }
    return low;
}

QStringList SplitValue(QStringView value)
{
    QStringList parts;
    // A NUL ends the value as it ends an index file's text.
    const qsizetype nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value = value.left(nul);
    const qsizetype n = value.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && value[i].unicode() <= 0x20)
            ++i;
    };
    skipBlanks();
    while (i < n) {
        if (value[i] == u'"') {
            QString part;
            ++i;
            while (i < n) {
                if (value[i] == u'"') {
                    if (i + 1 < n && value[i + 1] == u'"') {
                        part.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                part.append(value[i++]);
            }
            parts.append(part);
        } else {
            const qsizetype start = i;
            while (i < n && value[i].unicode() > 0x20 && value[i] != u'>')
                ++i;
            parts.append(value.mid(start, i - start).toString());
        }
        skipBlanks();
        if (i < n && value[i] == u'>') {
            if (i + 1 == n)
                parts.append(QString());
            ++i;
            skipBlanks();
        }
    }
    return parts;
}

QString NormaliseHeadword(QStringView text, const ReplacementList& rules)
{
    if (rules.isEmpty())
        return text.toString();
    QString out;
    out.reserve(text.size());
    AppendNormalised(text, rules, out);
    return out;
}

void AppendNormalised(QStringView text, const ReplacementList& rules, QString& out)
{
    if (rules.isEmpty()) {
        out.append(text);
        return;
    }
    qsizetype run = 0; // start of the units copied as they are
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const ReplacementList::UnitRule* rule = rules.ruleForUnit(c.unicode());
        if (!rule)
            continue;
        out.append(text.mid(run, i - run));
        run = i + 1;
        switch (rule->kind) {
        case ReplacementList::UnitRule::Keep:
            out.append(c);
            break;
        case ReplacementList::UnitRule::Delete:
            break;
        case ReplacementList::UnitRule::FirstOnly:
            if (i == 0)
                out.append(rule->text);
            else
                out.append(c);
            break;
        case ReplacementList::UnitRule::Replace:
            out.append(rule->text);
            break;
        }
    }
    out.append(text.mid(run));
}

Status LoadFirstIndex(const QString& path, IndexList& list)
{
    return ReadIndexFile(path, list);
}

Status LoadSecondIndex(const QString& path, IndexList& second, const IndexList& first)
{
    if (!ReadSecondIndex(path, second))
        return {};
    return MatchSecondIndex(second, first);
}

bool ReadSecondIndex(const QString& path, IndexList& second)
{
    second.clear();
    if (!QFileInfo::exists(path))
        return false;
    if (!ReadIndexFile(path, second).ok()) {
        second.clear(); // not reported; the list stays empty
        return false;
    }
    return true;
}

Status MatchSecondIndex(IndexList& second, const IndexList& first)
{
    if (second.count() != first.count()) {
        second.clear();
        return Status::failure(QStringLiteral("Second index isn't equal to first (number of items)"));
    }
    return {};
}

void LoadReplacementList(const QString& path, ReplacementList& rules)
{
    rules.clear();
    if (!QFileInfo::exists(path))
        return;
    if (const Result<QByteArray> bytes = ReadFileBytes(path, kListCap))
        rules.setBytes(bytes.value());
}

} // namespace lexifol
