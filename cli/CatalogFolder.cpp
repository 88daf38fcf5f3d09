#include "cli/CatalogFolder.h"

#include "platform/Text1252.h"

void TCatalogFolder::Install(const TRegistryOptions& value, const std::string& folder) {
  std::unique_ptr<TRegistry> inner = ReleaseCurrentUserRegistry();
  SetCurrentUserRegistry(
      std::unique_ptr<TRegistry>(new TCatalogFolder(std::move(inner), value, folder)));
}

void TCatalogFolder::Remove() {
  if (auto* installed = dynamic_cast<TCatalogFolder*>(&CurrentUserRegistry()))
    SetCurrentUserRegistry(std::move(installed->inner_));
}

TRegistry& TCatalogFolder::Behind(TRegistry& registry) {
  auto* installed = dynamic_cast<TCatalogFolder*>(&registry);
  return installed ? *installed->inner_ : registry;
}

TRegistry::ValueKind TCatalogFolder::ReadString(const std::string& key, const std::string& section,
                                                const std::string& name, std::string& value) {
  if (ansi::SameText(key, value_.Key) && ansi::SameText(section, value_.Section) &&
      ansi::SameText(name, value_.Value)) {
    value = folder_;
    return ValueKind::String;
  }
  return inner_->ReadString(key, section, name, value);
}
