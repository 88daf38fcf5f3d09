// The wizard's layouts and its page list.
#include "controls/wizard/WizardParts_p.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "controls/Artwork.h"
#include "controls/ControlHooks.h"
#include "platform/Error.h"

// ---------------------------------------------------------------- layouts

TWizardLayout* TWizardLayouts::Items(int index) const {
  if (index < 0 || index >= Count()) throw EKavError(ListIndexError(index));
  return items_[static_cast<size_t>(index)].get();
}

TWizardLayout* TWizardLayouts::Add() {
  items_.push_back(std::make_unique<TWizardLayout>());
  items_.back()->Name = QStringLiteral("Layout%1").arg(Count());
  return items_.back().get();
}

TWizardLayout* TWizardLayouts::Add(const QString& name, const QStringList& pages) {
  TWizardLayout* item = Add();
  item->Name = name;
  item->Pages = pages;
  return item;
}

void TWizardLayouts::Delete(int index) {
  TWizardLayout* item = Items(index);
  if (owner_ != nullptr) TWizardParts::LayoutRemoved(*owner_, item);
  items_.erase(items_.begin() + index);
}

void TWizardLayouts::Clear() {
  while (Count() > 0)
    Delete(Count() - 1);
}

int TWizardLayouts::FindByName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)]->Name.compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void TWizardLayouts::Assign(const TWizardLayouts& other) {
  if (&other == this) return;
  Clear();
  for (const auto& item : other.items_)
    Add()->Assign(*item);
}
