#pragma once
// What the wizard, its pages, its panel and its layouts do to one another
// beyond their public faces: the one door between them, for their own
// source files only.
#include "controls/wizard/Wizard.h"

struct TWizardParts {
  static void Attach(TWizardPage& page, TWizard* wizard) { page.wizard_ = wizard; }
  static void SetIncluded(TWizardPage& page, bool value) { page.include_ = value; }
  static void AddButton(TWizardPanel& panel, TWizardButton* button) { panel.AddButton(button); }
  // While held, the panel does not place its buttons.
  static void HoldPlacement(TWizardPanel& panel, bool hold) { panel.arranging_ = hold; }
  static void LayoutRemoved(TWizard& wizard, const TWizardLayout* layout) {
    wizard.LayoutRemoved(layout);
  }
  static void IncludeChanged(TWizard& wizard, TWizardPage* page, bool value) {
    wizard.IncludeChanged(page, value);
  }
};
