#pragma once
// The desktop's shell on Qt: web addresses and files go to the application
// the user's desktop associates with them.
#include "platform/Shell.h"

class TDesktopShell : public TShell {
 public:
  bool Open(const std::string& target) override;
};
