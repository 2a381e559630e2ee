// A fixture of the layering check: the codec builds on shared and the platform interfaces only.
#include "jobfile/Codec.h"

#include "platform/FileDialogs.h"
#include "shared/Errors.h"
