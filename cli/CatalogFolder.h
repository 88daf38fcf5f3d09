#pragma once
// --catalog DIR: the shared catalogue folder for one run, over the value the
// registry holds. Wraps the current registry for the life of the object and
// puts it back after; every other value is read and written through it.
#include <memory>
#include <string>

#include "flatfile/FlatFileTypes.h"
#include "settings/Registry.h"

class TCatalogFolder : public TRegistry {
 public:
  // Installs itself as the current registry, answering `folder` for `value`.
  static void Install(const TRegistryOptions& value, const std::string& folder);
  // Restores the registry it wraps, when it is installed.
  static void Remove();
  // The registry behind an installed override, else `registry` itself.
  static TRegistry& Behind(TRegistry& registry);

  bool CreateKey(const std::string& key) override { return inner_->CreateKey(key); }
  ValueKind ReadString(const std::string& key, const std::string& section, const std::string& name,
                       std::string& value) override;
  void WriteString(const std::string& key, const std::string& section, const std::string& name,
                   const std::string& value) override {
    inner_->WriteString(key, section, name, value);
  }

 private:
  TCatalogFolder(std::unique_ptr<TRegistry> inner, TRegistryOptions value, std::string folder)
      : inner_(std::move(inner)), value_(std::move(value)), folder_(std::move(folder)) {}

  std::unique_ptr<TRegistry> inner_;
  TRegistryOptions value_;
  std::string folder_;
};
