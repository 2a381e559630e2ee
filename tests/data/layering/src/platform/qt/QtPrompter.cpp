// A fixture of the layering check: the Qt implementation of a platform interface.
#include "platform/qt/QtPrompter.h"

#include "platform/Prompter.h"
