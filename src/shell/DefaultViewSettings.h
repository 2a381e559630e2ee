#pragma once
// The default view record's keys in the settings file: its display settings in "LocalGraphics"
// and the layout of its last flag in "FahnenProp", which the next start reads back.
#include <vector>

#include "shared/IniFile.h"
#include "shared/ViewRecords.h"

namespace kal {

// Nothing when the record was never set (ADis 0); the 24 "LocalGraphics" keys, followed by the
// 32 "FahnenProp" keys of flag FahneAnzahl when the record holds a flag.
std::vector<IniEntry> defaultViewIniEntries(const ScreenProperties& view);

}  // namespace kal
