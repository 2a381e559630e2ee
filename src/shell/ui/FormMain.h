#pragma once
// The main window: an MDI frame around the job's working windows.
#include <QMainWindow>
#include <QMdiArea>

#include "shared/JobState.h"

namespace kal {

class FormMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit FormMain(JobState& job, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdi_; }

    // Brings the caption in line with the job.
    void refreshCaption();

  private:
    JobState& job_;
    QMdiArea* mdi_;
};

}  // namespace kal
