#pragma once
// What a screen reader is told of a lookup list: a combo box whose value is
// the shown text (also as read-only text, which is where Orca reads a closed
// combo box's value), whose child is its drop-down list, and which says so
// whenever the shown text changes.
class TLookupList;

// Installs the interface for every lookup list, once.
void InstallLookupListAccessible();

// Tells a screen reader that `list` shows a new value.
void AnnounceLookupListValue(TLookupList* list);
