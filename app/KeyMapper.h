#pragma once
// The keys typed into the fields where a reader types words (the search
// box, the text search, Find) made through the dictionary's keyboard
// layout, where Lexifol maps the keys itself.
#include <QObject>
#include <QPointer>
#include <QSet>
#include <memory>

class QWidget;

namespace lexifol {

class KeyTranslator;

class KeyMapper : public QObject
{
public:
    explicit KeyMapper(QObject* parent);
    ~KeyMapper() override;

    // None: keys are typed as they come.
    void setTranslator(std::shared_ptr<const KeyTranslator> t) { translator_ = std::move(t); }
    void watch(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<const KeyTranslator> translator_;
    QSet<QObject*> fields_;
    bool sending_ = false;
};

} // namespace lexifol
