#pragma once
// Scripted stand-ins for the window's boxes, clipboard and picture controls.
#include <deque>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/PictureBox.h"
#include "platform/Shell.h"

class FakeDialogs : public TDialogs {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  void ShowErrorBox(const std::string& text) override { errors.push_back(text); }
  bool ChooseFolder(const std::string& caption, std::string& folder) override {
    questions.push_back(caption);
    folder = folderToChoose;
    return !folder.empty();
  }

  std::vector<std::string> messages, questions, errors;
  std::string folderToChoose;  // the folder the chooser gives; cancelled when empty
  std::deque<bool> answers;    // answers to Confirm, in order; No when exhausted
};

class FakeClipboard : public TClipboard {
 public:
  void Clear() override { text.clear(), ++clears; }
  void SetText(const std::string& bytes) override { text = bytes; }
  std::string text;
  int clears = 0;
};

class FakePictureBox : public TPictureBox {
 public:
  void LoadPicture(const std::string& path) override {
    if (failWith.size()) throw EKavError(failWith);
    picture = path;
  }
  void ClearPicture() override { picture.clear(); }
  void SetSize(int w, int h) override { width = w, height = h; }
  std::string picture;
  int width = 0, height = 0;
  std::string failWith;  // a decoder error to raise
};

class FakeShell : public TShell {
 public:
  bool Open(const std::string& target) override { return opened.push_back(target), answer; }
  std::vector<std::string> opened;
  bool answer = true;
};
