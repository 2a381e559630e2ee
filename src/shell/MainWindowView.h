#pragma once
// What the job reset, start-up and shut-down need of the main window. The window implements it;
// tests record the calls.
#include <string>

namespace kal {

class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    virtual void setMainCaption(const std::string& caption) = 0;
    // Status bar panels 1 and 2.
    virtual void showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) = 0;
    virtual void enableMainWindow(bool enabled) = 0;
    // Brings caption, menus and toolbars in line with the job (ProgrammLogik).
    virtual void refreshState() = 0;
};

}  // namespace kal
