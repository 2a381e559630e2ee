#pragma once
// The services a window or a core routine may need of the platform, handed down together.
// Any pointer may be null in a test that does not use that service.
#include "platform/Clipboard.h"
#include "platform/EventPump.h"
#include "platform/FileDialogs.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"

namespace kal::platform {

struct Services {
    Prompter* prompter = nullptr;
    Clipboard* clipboard = nullptr;
    EventPump* events = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Progress* progress = nullptr;  // the progress window of long loops
};

}  // namespace kal::platform
