#include "pageview/FindController.h"

#include "pageview/PageWidgets.h"

namespace lexifol {

using pv::FindDialog;

FindController::~FindController()
{
    deleteDialog();
}

void FindController::deleteDialog()
{
    delete dialog_.data();
}

void FindController::setQuery(const FindQuery& query, bool wait)
{
    if (!(query == query_))
        soft_ = false;
    query_ = query;
    pending_ = wait;
    if (wait && dialog_)
        dialog_->setStatus(FindDialog::tr("Searching\u2026"));
}

int FindController::run(const pv::PageTextInfo& text, const TextMatcher& matcher)
{
    pending_ = false;
    if (!query_.isEmpty() && searched_ == query_ && !matchStarts_.isEmpty()) {
        current_ = (current_ + 1) % int(matchStarts_.size());
        report(int(matchStarts_.size()), text.hasText);
        return int(matchStarts_.size());
    }
    hits_.clear();
    matchStarts_.clear();
    current_ = -1;
    searched_ = query_;
    if (!query_.isEmpty()) {
        QStringList texts;
        texts.reserve(text.words.size());
        for (const PageWord& w : text.words)
            texts.append(w.text);
        const QList<QList<int>> matches = query_.anyWord ? matcher.findAny(texts, query_.words)
                                                         : matcher.findPhrase(texts, query_.words);
        for (const QList<int>& match : matches) {
            matchStarts_.append(text.words[match.first()].box);
            for (int w : match)
                hits_.append(text.words[w].box);
        }
        current_ = matchStarts_.isEmpty() ? -1 : 0;
    }
    report(int(matchStarts_.size()), text.hasText);
    return int(matchStarts_.size());
}

void FindController::clear()
{
    hits_.clear();
    matchStarts_.clear();
    current_ = -1;
    searched_.reset();
    pending_ = false;
}

QRect FindController::currentBox() const
{
    return current_ >= 0 ? matchStarts_.at(current_) : QRect();
}

QWidget* FindController::dialog() const
{
    return dialog_;
}

void FindController::report(int count, bool hasText)
{
    if (!dialog_)
        return;
    if (query_.isEmpty())
        dialog_->setStatus(QString());
    else if (!hasText)
        dialog_->setStatus(FindDialog::tr("This page has no text layer"));
    else if (count == 0)
        dialog_->setStatus(FindDialog::tr("Not found"));
    else
        dialog_->setStatus(FindDialog::tr("%n found", nullptr, count));
}

void FindController::open(QWidget* owner, std::function<void(const QString&)> search)
{
    if (!dialog_) {
        // A new dialog starts a new search, from the first match.
        searched_.reset();
        dialog_ = new FindDialog(owner);
        QObject::connect(dialog_, &FindDialog::searchRequested, owner, std::move(search));
    }
    dialog_->prepare();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

} // namespace lexifol
