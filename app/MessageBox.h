#pragma once
// The real message boxes, installed once by the process entry.
namespace lexifol {
void InstallMessageBoxes();
}
