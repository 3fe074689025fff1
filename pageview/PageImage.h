#pragma once

#include <QImage>

#include <atomic>

namespace lexifol::pv {

// An RGB32 image for a rendered page, its contents undefined. A large one
// takes the memory of a page image let go of earlier when there is one:
// fresh memory has to be faulted in page by page, which here cost more
// than drawing the page into it.
QImage NewPageImage(QSize size);

// Makes sure a buffer for an image of `size` waits, faulted in, so that the
// next page drawn at that size does not wait for the kernel. Gives up
// early (keeping what it did) once `stop` is set.
void PrepareSparePageImage(QSize size, const std::atomic<bool>& stop);

// How many let-go buffers wait for reuse, and their bytes.
int SparePageBuffers(qsizetype* bytes = nullptr);
// Frees them all.
void DropSparePageBuffers();

} // namespace lexifol::pv
