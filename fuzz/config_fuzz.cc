// Fuzzes the configuration readers: the stored form (.qlc) and the readable form (.toml). The input's first
// byte chooses the form; the rest is the file's text. Whatever reads is written again in both forms, and a
// stored text must read back as itself: a configuration that saves differently each time loses settings.
// Any crash, hang, sanitizer report or such a difference is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/configuration.h"
#include "config/toml_configuration.h"

namespace {

using namespace quillet;

// A stored text read back and saved again gives the same bytes.
void checkStoredRoundTrip(const std::string& stored) {
  Configuration again;
  if (!again.loadStoredText(stored) || again.saveToText() != stored) {
    std::fprintf(stderr, "a stored configuration does not read back as itself\n");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool toml = (data[0] & 1) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  Configuration configuration;
  if (toml) {
    if (!readTomlConfiguration(text, "fuzz.toml", configuration).ok) return 0;
  } else if (!configuration.loadStoredText(text)) {
    return 0;
  }
  const std::string stored = configuration.saveToText();
  checkStoredRoundTrip(stored);
  // The readable form of what was read reads again (it may refuse what it cannot hold, but not crash).
  Configuration readable;
  if (readTomlConfiguration(writeTomlConfiguration(configuration), "again.toml", readable).ok)
    checkStoredRoundTrip(readable.saveToText());
  configuration.convertOlderSettings();
  (void)configuration.saveToText();
  return 0;
}
