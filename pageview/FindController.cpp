#include "pageview/FindController.h"

#include "pageview/PageText.h"
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

void FindController::setQuery(const QString& text, bool wait)
{
    query_ = text.simplified();
    pending_ = wait;
    if (wait && dialog_)
        dialog_->setStatus(FindDialog::tr("Searching\u2026"));
}

int FindController::run(const pv::PageTextInfo& text)
{
    pending_ = false;
    hits_.clear();
    int count = 0;
    if (!query_.isEmpty()) {
        const QList<QList<int>> matches = FindInWords(text.words, query_);
        for (const QList<int>& match : matches)
            for (int w : match)
                hits_.append(text.words[w].box);
        count = int(matches.size());
    }
    report(count, text.hasText);
    return count;
}

void FindController::clear()
{
    hits_.clear();
    pending_ = false;
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
        dialog_ = new FindDialog(owner);
        QObject::connect(dialog_, &FindDialog::searchRequested, owner, std::move(search));
    }
    dialog_->prepare();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

} // namespace lexifol
