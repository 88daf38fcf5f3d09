#pragma once
// The modal boxes the program shows, behind an interface so that the window
// shows real boxes, the headless tool writes to its error stream and a test
// answers from a script.
#include <string>

class TDialogs {
 public:
  virtual ~TDialogs() = default;
  // Guidance: no icon, one "OK" button, the application title as caption.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question: caption "Confirm", question icon, "&Yes" and "&No". True for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // An error: caption "Error", error icon, "OK".
  virtual void ShowErrorBox(const std::string& text) = 0;
  // The same, with `message`, the one line of the box's text that says what
  // went wrong, for where the box is not shown whole (the headless tool).
  virtual void ShowError(const std::string& message, const std::string& boxText) {
    (void)message;
    ShowErrorBox(boxText);
  }
  // The system's folder chooser, titled `caption`; `folder` is the folder
  // chosen, with the system's separators. False when the user cancels or
  // where no chooser can be shown (the headless tool).
  virtual bool ChooseFolder(const std::string& caption, std::string& folder) {
    (void)caption, (void)folder;
    return false;
  }
};
