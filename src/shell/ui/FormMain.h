#pragma once
// The main window: an MDI frame around the job's working windows, with the menus, the five
// toolbars of its cool bar and the status bar. It shows what the core decides: the state
// refresher computes caption, enabled states and check marks, start-up and shut-down run in
// their core flow; the window applies the one and hosts the other. Menus and toolbars are built
// from the command table (shell/Commands.h): one action per command, shared by its menu entry and
// its toolbar button. What the window is connected to is composed outside it (src/app).
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"
#include "shell/Commands.h"
#include "shell/GraphicsWindows.h"
#include "shell/ProgramLogic.h"
#include "shell/SplashLayout.h"
#include "shell/StartUp.h"
#include "shell/StopWindows.h"
#include "shell/ui/WindowPositions.h"

namespace kal {

class FormChangeDir;
class QtProgressWindow;
class QtParaStopWindow;

class FormMain : public QMainWindow, public StartUpHost {
    Q_OBJECT
  public:
    FormMain(JobState& job, platform::Prompter& prompter, QWidget* parent = nullptr);
    ~FormMain() override;

    QMdiArea* mdiArea() const { return mdi_; }
    // The message boxes of the main window and of what it hosts.
    platform::Prompter& prompter() const { return prompter_; }

    // ---- The state refresher and the graphics windows ----
    // The state refresher of the main window (ProgrammLogik).
    void refreshControls();
    GraphicsWindowRegistry& graphicsWindows() { return graphics_; }
    // The default graphics window (the first one loaded becomes it when none is); null when no
    // graphics window is open.
    GraphicsWindow* findDefaultWindow() { return graphics_.findDefaultWindow(); }
    void closeGraphicsWindows() { graphics_.closeGraphicsWindows(); }
    // Redraws every graphics window while "Graphics Window" carries its check mark.
    void redrawGraphicsWindows();
    // While long work runs, the commands that change the job wait. Long work may nest (the
    // calculations of a batch run): each start is ended by one call with false, and the
    // commands come back when the outermost work ends.
    void setLongWorkRunning(bool running);

    // ---- The job reset and the child windows ----
    void initializeJob();
    // Closes every MDI child window (each runs its own close handling); true when none is left
    // (CloseAllChildForms).
    bool closeChildWindows();
    // Number of open MDI child windows (CountChildForms).
    int childWindowCount() const;

    // ---- Controls, by command and by name ----
    // The command's action: its menu entry's, shared with its toolbar button; for a menu its
    // menu action; for the saved-view combo the toolbar's action that holds it.
    QAction* action(Command command) const;
    QAction* actionNamed(const QString& name) const;  // a menu entry or a menu ("MenuFileExit")
    // The toolbar button that shows the command (object name: the button's key); null when the
    // command has none.
    QToolButton* toolButton(Command command) const;
    // Runs `handler` when the command is chosen, by its menu entry or its button. A command that
    // nothing runs yet stays disabled whatever the refresher decides: an entry whose window does
    // not exist yet is greyed, never silently dead.
    void connectCommand(Command command, std::function<void()> handler);
    bool commandConnected(Command command) const;
    QToolBar* toolbar(Toolbar bar) const;
    QComboBox* comboSaveView() const { return comboSaveView_; }
    // Status bar panels 1 (length unit), 2 (angle unit) and 3 (main sheet row).
    QLabel* statusPanel(int panel) const;
    void setStatusPanel(int panel, const QString& text);

    // ---- The small windows ----
    platform::Progress& progressWindow();
    ParaStopWindow& paraStopWindow();
    FormChangeDir& folderChooser();
    WindowPositions& windowPositions() { return positions_; }

    // ---- Start-up and shut-down ----
    // The close is allowed only when `guard` agrees (the shut-down flow).
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }
    // How long the splash stays; below 0 it is not shown (tests).
    void setSplashInterval(int ms) { splashInterval_ = ms; }

    // StartUpHost
    void setMainCaption(const std::string& caption) override;
    void showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) override;
    void enableMainWindow(bool enabled) override { setEnabled(enabled); }
    void refreshState() override { refreshControls(); }
    void showSplash() override;
    void closeAllWindows() override;

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildToolbars();
    void buildStatusBar();
    void apply(const MainWindowState& state);
    void subWindowActivated(QMdiSubWindow* sub);

    JobState& job_;
    platform::Prompter& prompter_;
    QMdiArea* mdi_;
    GraphicsWindowRegistry graphics_;
    WindowPositions positions_;
    std::map<QString, QAction*> actions_;
    std::array<QAction*, kCommandCount> commandActions_{};
    std::array<bool, kCommandCount> connected_{};
    std::map<Command, QMenu*> menus_;
    std::map<Toolbar, QToolBar*> toolbars_;
    QComboBox* comboSaveView_ = nullptr;
    std::vector<QLabel*> panels_;
    int longWorkDepth_ = 0;
    int splashInterval_ = kSplashMilliseconds;
    std::function<bool()> closeGuard_;
    GraphicsWindow* pointerWindow_ = nullptr;  // the window whose pointer was set last, and to what
    GraphicsPointer pointerSet_ = GraphicsPointer::Default;
    std::unique_ptr<QtProgressWindow> progress_;
    std::unique_ptr<QtParaStopWindow> paraStop_;
    FormChangeDir* folderChooser_ = nullptr;
    std::vector<QPointer<QMdiSubWindow>> opening_;  // shown for the first time, not yet activated
};

}  // namespace kal
