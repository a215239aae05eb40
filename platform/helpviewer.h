#pragma once

class QString;
class QWidget;

// Shows the contents of the program's help file: a .chm file or the HTML manual.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void showContents(QWidget* owner, const QString& helpFile) = 0;
};

// The system's help engine. On Windows it is the HTML Help library: loaded when this object is
// made (before the first window; a missing library is reported once and help then does nothing)
// and asked to close all its windows when this object goes; the HTML manual goes to the
// browser. Elsewhere the desktop opens either file with whatever viewer the user has for it.
class SystemHelpViewer final : public HelpViewer {
 public:
  // `library`: the HTML Help library's name (another in the test that it may be missing).
  explicit SystemHelpViewer(const char* library = "HHCTRL.OCX");
  ~SystemHelpViewer() override;
  SystemHelpViewer(const SystemHelpViewer&) = delete;
  SystemHelpViewer& operator=(const SystemHelpViewer&) = delete;

  void showContents(QWidget* owner, const QString& helpFile) override;

 private:
  void* library_ = nullptr;
  void* entry_ = nullptr;
};
