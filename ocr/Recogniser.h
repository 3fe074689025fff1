#pragma once
// Printed text read from a page image by Tesseract, as a DjVu hidden text
// layer. One engine per thread: an engine is not shared.
#include "base/Status.h"
#include <QImage>
#include <QStringList>
#include <memory>

namespace lexifol::ocr {

// Tesseract's language for a locale ("ru_RU" gives "rus"); empty when unknown.
QString LanguageOfLocale(const QString& locale);
// The Debian package that brings a language's data.
QString LanguagePackage(const QString& language);
// The languages of "eng+rus" whose data is not installed.
QStringList MissingLanguages(const QString& languages);

class Recogniser
{
public:
    static Result<std::unique_ptr<Recogniser>> create(const QString& languages);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // The text of `image` (drawn at `dpi`) in djvused's syntax: page,
    // column, region, paragraph, line and word, each with its box in the
    // page's own pixels, `scale` image pixels to one page pixel, y from the
    // bottom as DjVu has it. A page without text gives an empty page zone.
    Result<QString> recognise(const QImage& image, int dpi, double scale, QSize page);

private:
    struct Impl;
    explicit Recogniser(std::unique_ptr<Impl> d);
    std::unique_ptr<Impl> d;
};

} // namespace lexifol::ocr
