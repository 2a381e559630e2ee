#pragma once
// The pictures of the main window's toolbar buttons and the graphics window's mode pointers,
// drawn by the program itself.
#include <QCursor>
#include <QIcon>
#include <QString>

#include "shell/ProgramLogic.h"

namespace kal {

// The picture of the toolbar button with this key ("FileNew", "FlagMode", ...).
QIcon toolbarIcon(const QString& key);

// The graphics window's pointer in flag mode, set-line and delete-line mode (the default arrow
// otherwise).
QCursor graphicsPointerCursor(GraphicsPointer pointer);

}  // namespace kal
