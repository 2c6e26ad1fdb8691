#include "config/configuration.h"

#include <fstream>

namespace quillet {

namespace {
Configuration* g_current_configuration = nullptr;
}  // namespace

void Configuration::reset() {
  const auto strings = reservedStrings_;
  const auto numbers = reservedNumbers_;
  const auto reals = reservedReals_;
  *this = Configuration();
  reservedStrings_ = strings;
  reservedNumbers_ = numbers;
  reservedReals_ = reals;
}

bool Configuration::isDocumented(int protection) const {
  switch (protection) {
    case 1: return true;
    case 2: return documentProtected_;
    case 3: return documentPrivate_;
    default: return false;
  }
}

bool Configuration::load(const std::string& file_name) {
  std::ifstream in(file_name, std::ios::binary);
  if (!in) return false;
  int version = 0;
  if (!(in >> version)) return false;
  version_ = version;
  // Reading the settings themselves comes with the file encoding.
  return false;
}

bool Configuration::save(const std::string&) {
  modified_ = false;
  return false;
}

Configuration* currentConfiguration() { return g_current_configuration; }

void setCurrentConfiguration(Configuration* configuration) { g_current_configuration = configuration; }

}  // namespace quillet
