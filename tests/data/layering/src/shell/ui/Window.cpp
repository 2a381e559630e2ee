// A fixture of the layering check: a ui/ folder reaches its core folder and all below it, the
// shared widgets and the Qt platform.
#include "shell/ui/Window.h"

#include <QWidget>

#include "calculation/Road.h"
#include "jobfile/Codec.h"
#include "platform/qt/QtPrompter.h"
#include "shared/ui/Grid.h"
#include "shell/Commands.h"
