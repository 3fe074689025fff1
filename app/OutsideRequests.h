#pragma once
// Words sent from outside the window (another start of lexifol, a key bound
// to `lexifol --selection`): looked up as typing and Enter would. A flood of
// them never blocks the window: the last word wins.
#include "app/SingleInstance.h"

#include <QObject>

#include <optional>

class MainWindow;

namespace lexifol {

class OutsideRequests : public QObject
{
    Q_OBJECT
public:
    explicit OutsideRequests(MainWindow& w);
    // The reply for the sender: "ok", or why not (the window stays as it is).
    QByteArray accept(const InstanceRequest& r);
    // Shows the request now (a start of its own, after its start-up).
    void apply(const InstanceRequest& r);

private:
    MainWindow& w_;
    std::optional<InstanceRequest> pending_;
};

} // namespace lexifol
