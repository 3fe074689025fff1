#include "library/PrintedPages.h"

namespace lexifol {

QString PrintedPages::printed(int index) const
{
    if (index < 0 || index >= count_)
        return {};
    if (!titles_.isEmpty())
        return titles_.value(index);
    const int number = index + 1 - offset_;
    return offset_ != 0 && number >= 1 ? QString::number(number) : QString();
}

int PrintedPages::indexOf(const QString& typed) const
{
    const QString t = typed.trimmed();
    bool ok = false;
    if (t.startsWith(u'#')) {
        const int n = t.mid(1).toInt(&ok);
        return ok && n >= 1 && n <= count_ ? n - 1 : -1;
    }
    if (!titles_.isEmpty()) {
        for (int i = 0; i < titles_.size() && i < count_; ++i)
            if (titles_[i].compare(t, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    const int n = t.toInt(&ok);
    const int index = n - 1 + offset_;
    return ok && n >= 1 && index < count_ ? index : -1;
}

} // namespace lexifol
