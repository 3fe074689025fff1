#pragma once
// Words sent from outside the window (another start of lexifol, a key bound
// to `lexifol --selection`): looked up as typing and Enter would. A flood of
// them never blocks the window: the last word wins, and dictionaries named
// by title are found in memory; the titles are read again away from the
// window, only when a name is not found there.
#include "app/SingleInstance.h"
#include "library/Catalogue.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>
#include <optional>

class MainWindow;

namespace lexifol {

class OutsideRequests : public QObject
{
    Q_OBJECT
public:
    explicit OutsideRequests(MainWindow& w);
    // Replies "ok", or why not (the window then stays as it is); a
    // dictionary not known by that name is looked for again first.
    void accept(const InstanceRequest& r, const InstanceServer::Reply& reply);
    // Shows the request now (a start of its own, after its start-up).
    void apply(const InstanceRequest& r);
    // Reads the titles on this thread (a start naming its dictionary).
    void readTitlesNow();

private:
    bool known(const InstanceRequest& r) const;
    void answer(const InstanceRequest& r, const InstanceServer::Reply& reply);
    void readTitles();
    void titlesRead();

    MainWindow& w_;
    std::optional<InstanceRequest> pending_;
    // Used by one reading at a time, on the pool's thread while one runs.
    std::shared_ptr<TitleReader> reader_ = std::make_shared<TitleReader>();
    QFutureWatcher<QHash<QString, QString>> reading_;
    QList<std::pair<InstanceRequest, InstanceServer::Reply>> waiting_;
    bool readAgain_ = false;
};

} // namespace lexifol
