#pragma once
// The keys typed into the fields where a reader types words (the search
// box, the text search, Find) made through the dictionary's keyboard
// layout, where Lexifol maps the keys itself.
#include "library/KeyTranslator.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <memory>

class QWidget;

namespace lexifol {

class KeyMapper : public QObject
{
public:
    explicit KeyMapper(QObject* parent);
    ~KeyMapper() override;

    // The open dictionary's layout: the system switches to it where it
    // can, else the watched fields' keys are mapped ([Keyboard] Mode
    // decides). The choice made is returned for the status bar.
    KeyboardChoice apply(const QByteArray& identifier, const QString& mode);
    void watch(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<const KeyTranslator> translator_;
    QSet<QObject*> fields_;
    bool sending_ = false;
};

} // namespace lexifol
