#pragma once
// Tesseract's hOCR output as a DjVu hidden text layer in djvused's syntax:
// columns, paragraphs, lines and words with their boxes, y from the bottom.
#include <QByteArray>
#include <QSize>
#include <QString>

namespace corpus {

QString HocrToDjvuText(const QByteArray& hocr, QSize page);

} // namespace corpus
