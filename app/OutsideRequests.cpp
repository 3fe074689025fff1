#include "app/OutsideRequests.h"

#include "app/MainWindow.h"
#include "app/WindowExtras.h"

#include <QTimer>
#include <QtConcurrent>

namespace lexifol {

OutsideRequests::OutsideRequests(MainWindow& w)
    : QObject(&w)
    , w_(w)
{
    connect(&reading_, &QFutureWatcher<QHash<QString, QString>>::finished, this, &OutsideRequests::titlesRead);
    readTitles();
}

bool OutsideRequests::known(const InstanceRequest& r) const
{
    return !r.lookUp || r.dictionary.isEmpty() || w_.state().catalogue.findByNameOrTitle(r.dictionary) >= 0;
}

void OutsideRequests::accept(const InstanceRequest& r, const InstanceServer::Reply& reply)
{
    if (known(r))
        return answer(r, reply);
    waiting_.append({r, reply});
    readTitles();
}

void OutsideRequests::answer(const InstanceRequest& r, const InstanceServer::Reply& reply)
{
    if (!known(r))
        return reply(QStringLiteral("lexifol: no dictionary \"%1\" is installed").arg(r.dictionary.left(200)).toUtf8());
    const bool scheduled = pending_.has_value();
    pending_ = r;
    if (!scheduled)
        QTimer::singleShot(0, this, [this] {
            if (const std::optional<InstanceRequest> r = std::exchange(pending_, std::nullopt))
                apply(*r);
        });
    reply("ok");
}

void OutsideRequests::readTitles()
{
    // A request that comes while the titles are read waits for a reading
    // that starts after it: a descriptor may have changed meanwhile.
    if (reading_.isRunning()) {
        readAgain_ = true;
        return;
    }
    readAgain_ = false;
    const QHash<QString, QString> sources = w_.state().catalogue.titleSources(w_.state().programFolder);
    reading_.setFuture(QtConcurrent::run([reader = reader_, sources] { return reader->read(sources); }));
}

void OutsideRequests::titlesRead()
{
    w_.state().catalogue.setTitles(reading_.result());
    if (readAgain_)
        return readTitles();
    for (const auto& [r, reply] : std::exchange(waiting_, {}))
        answer(r, reply);
}

void OutsideRequests::readTitlesNow()
{
    reading_.waitForFinished();
    w_.state().catalogue.setTitles(reader_->read(w_.state().catalogue.titleSources(w_.state().programFolder)));
}

void OutsideRequests::apply(const InstanceRequest& r)
{
    if (w_.isMinimized())
        w_.showNormal();
    w_.show();
    w_.raise();
    w_.activateWindow();
    if (!r.add.isEmpty())
        w_.extras().addDictionary(r.add);
    if (!r.lookUp)
        return;
    if (!r.dictionary.isEmpty()) {
        const int row = w_.state().catalogue.findByNameOrTitle(r.dictionary);
        if (row < 0)
            return;
        if (w_.state().catalogue.name(row) != w_.state().dictionary.name
            && w_.actions().selectDictionary(w_.state().catalogue.name(row))) {
            w_.state().skipSearchReplay = true;
            w_.actions().openDictionary();
        }
    }
    w_.actions().lookUp(r.word);
}

} // namespace lexifol
