// A fixture of the layering check: the program wires everything.
#include "calculation/Road.h"
#include "platform/qt/QtPrompter.h"
#include "shell/ui/Window.h"
