#pragma once
// The platform layer over Qt: message boxes, the input box, the clipboard, the event pump and
// the regional number settings.
#include <QImage>
#include <QWidget>

#include "platform/Platform.h"
#include "platform/Regional.h"
#include "platform/SystemInfo.h"

namespace kal::platform {

class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

  protected:
    Answer showMessage(const std::string& text, Buttons buttons, const std::string& title,
                       Icon icon) override;
    int showCustom(const std::string& text, const std::string& title,
                   const std::vector<std::string>& captions) override;
    std::optional<std::string> showInput(const std::string& prompt, const std::string& title,
                                         const std::string& defaultText) override;

  private:
    QWidget* parent_;
};

class QtClipboard : public Clipboard {
  public:
    void clear() override;
    void setText(const std::string& utf8) override;
    std::string text() const override;
    // A picture on the clipboard (window captures); the windows call it, the core never does.
    void setImage(const QImage& picture);
};

class QtEventPump : public EventPump {
  public:
    void processEvents() override;
};

// The system's product name and architecture from Qt's system information.
class QtSystemInfo : public SystemInfo {
  public:
    std::string productName() const override;
    std::string cpuArchitecture() const override;
};

// Takes the decimal separator of the system locale into the Regional service.
void adoptSystemRegionalSettings();

// One set of Qt services for the application.
struct QtServices {
    QtPrompter prompter;
    QtClipboard clipboard;
    QtEventPump events;
    Services services() { return Services{&prompter, &clipboard, &events}; }
};

}  // namespace kal::platform
