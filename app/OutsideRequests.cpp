#include "app/OutsideRequests.h"

#include "app/MainWindow.h"

#include <QTimer>

namespace lexifol {

OutsideRequests::OutsideRequests(MainWindow& w)
    : QObject(&w)
    , w_(w)
{
}

QByteArray OutsideRequests::accept(const InstanceRequest& r)
{
    if (r.lookUp && !r.dictionary.isEmpty() && w_.Catalogue.findByNameOrTitle(w_.ProgramFolder, r.dictionary) < 0)
        return QStringLiteral("lexifol: no dictionary \"%1\" is installed").arg(r.dictionary.left(200)).toUtf8();
    const bool scheduled = pending_.has_value();
    pending_ = r;
    if (!scheduled)
        QTimer::singleShot(0, this, [this] {
            if (const std::optional<InstanceRequest> r = std::exchange(pending_, std::nullopt))
                apply(*r);
        });
    return "ok";
}

void OutsideRequests::apply(const InstanceRequest& r)
{
    if (w_.isMinimized())
        w_.showNormal();
    w_.show();
    w_.raise();
    w_.activateWindow();
    if (!r.lookUp)
        return;
    if (!r.dictionary.isEmpty()) {
        const int row = w_.Catalogue.findByNameOrTitle(w_.ProgramFolder, r.dictionary);
        if (row < 0)
            return;
        if (w_.Catalogue.name(row) != w_.CurrentDictionary && w_.SelectDictionaryByName(w_.Catalogue.name(row))) {
            w_.SkipSearchReplay = true;
            w_.OpenDictionary();
        }
    }
    w_.searchBox->setText(r.word);
    w_.ShowSelectedEntry();
}

} // namespace lexifol
