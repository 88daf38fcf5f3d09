#include "controls/LookupListAccessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>

#include "controls/LookupList.h"

namespace {

class TLookupListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TLookupListAccessible(TLookupList* list)
      : QAccessibleWidget(list, QAccessible::ComboBox) {
    addControllingSignal(QStringLiteral("activated(int)"));
  }

  TLookupList* List() const { return static_cast<TLookupList*>(widget()); }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return List()->Text();
    return QAccessibleWidget::text(kind);
  }

  // The drop-down list, whose items are the choices.
  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == List()->view() ? 0 : -1;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The shown text, read-only: no caret to move, nothing to select.
  QString text(int start, int end) const override { return Shown().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 private:
  QString Shown() const { return List()->Text(); }
};

QAccessibleInterface* LookupListFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TLookupList") && object != nullptr && object->isWidgetType())
    return new TLookupListAccessible(static_cast<TLookupList*>(object));
  return nullptr;
}

}  // namespace

void InstallLookupListAccessible() {
  static const bool installed = (QAccessible::installFactory(LookupListFactory), true);
  (void)installed;
}

void AnnounceLookupListValue(TLookupList* list) {
  QAccessibleValueChangeEvent value(list, list->Text());
  QAccessible::updateAccessibility(&value);
  QAccessibleTextUpdateEvent text(list, 0, QString(), list->Text());
  QAccessible::updateAccessibility(&text);
}
