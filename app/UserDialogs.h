#pragma once
// What the window asks of its user: a message to confirm and a file name to
// choose. The window and the application's error handler reach the user only
// through this interface, so tests can answer in place of a modal dialog.

#include <string>

class QWidget;

class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;
    virtual void ShowMessage(const std::string& Text) = 0;
    // A yes-or-no question; true for yes.
    virtual bool Confirm(const std::string& Text) = 0;
    // True with the chosen name when the user confirms, false on cancel.
    virtual bool ExecuteSave(const std::string& InitialName, std::string& FileName) = 0;
    virtual bool ExecuteOpen(const std::string& InitialName, std::string& FileName) = 0;
};

// The standard message box and file dialogs of Qt.
class TQtDialogs : public TUserDialogs {
  public:
    explicit TQtDialogs(QWidget* Parent = nullptr) : FParent(Parent) {}
    // The window the dialogs belong to: a window manager keeps them above
    // it and never behind another window.
    void SetParent(QWidget* Parent) { FParent = Parent; }
    void ShowMessage(const std::string& Text) override;
    bool Confirm(const std::string& Text) override;
    bool ExecuteSave(const std::string& InitialName, std::string& FileName) override;
    bool ExecuteOpen(const std::string& InitialName, std::string& FileName) override;

  private:
    bool Execute(bool Save, const std::string& InitialName, std::string& FileName);

    QWidget* FParent;
};
