#include "config/configuration.h"

#include <fstream>

namespace quillet {

namespace {
Configuration* g_current_configuration = nullptr;
}  // namespace

bool Configuration::load(const std::string& file_name) {
  std::ifstream in(file_name, std::ios::binary);
  if (!in) return false;
  int version = 0;
  if (!(in >> version)) return false;
  version_ = version;
  // Reading the settings themselves comes with the file encoding.
  return false;
}

Configuration* currentConfiguration() { return g_current_configuration; }

void setCurrentConfiguration(Configuration* configuration) { g_current_configuration = configuration; }

}  // namespace quillet
