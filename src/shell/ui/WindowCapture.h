#pragma once
// A window's client area as a picture, for the clipboard or a picture file.
#include <QImage>
#include <QString>
#include <QWidget>

#include "platform/qt/QtPlatform.h"

namespace kal {

// The client area without its border (see captureFormClientRect); a null image when the window
// is too small to leave anything (CaptureFormClient).
QImage captureClientArea(QWidget* window);

// Puts the capture on the clipboard. False, and the clipboard keeps what it held, when there is
// no picture.
bool captureToClipboard(QWidget* window, platform::QtClipboard& clipboard);

// Writes the capture to a picture file (the format from the name's extension). False when there
// is no picture or it cannot be written.
bool captureToFile(QWidget* window, const QString& path);

}  // namespace kal
