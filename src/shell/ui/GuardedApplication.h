#pragma once
// The application object. An exception that escapes a window's event handler would end the
// program and lose the user's job; here it is caught where Qt delivers the event, reported, and
// the program goes on, so the job can still be saved.
#include <QApplication>

#include "platform/Prompter.h"

namespace kal {

class GuardedApplication : public QApplication {
    Q_OBJECT
  public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    // Where the report goes; without one it is written to the standard error stream.
    void setPrompter(platform::Prompter* prompter) { prompter_ = prompter; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void report(const std::string& what);

    platform::Prompter* prompter_ = nullptr;
    bool reporting_ = false;
};

}  // namespace kal
