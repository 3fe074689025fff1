#pragma once

#include <QImage>

#include <atomic>

namespace lexifol::djvu {

// An RGB32 image for a rendered page, its contents undefined. A large one
// takes the memory of a page image let go of earlier when there is one:
// fresh memory has to be faulted in page by page, which here cost more
// than drawing the page into it.
// `white`, when given, tells whether the memory came all white, so that
// rows not drawn yet need no filling.
QImage NewPageImage(QSize size, bool* white = nullptr);

// Makes sure a buffer for an image of `size` waits, faulted in and white,
// so that the next page drawn at that size waits neither for the kernel nor
// for filling. Gives up early once `stop` is set: a buffer it began on is
// kept as one not known to be white.
void PrepareSparePageImage(QSize size, const std::atomic<bool>& stop);

// How many let-go buffers wait for reuse, and their bytes.
int SparePageBuffers(qsizetype* bytes = nullptr);
// Frees them all.
void DropSparePageBuffers();

} // namespace lexifol::djvu
