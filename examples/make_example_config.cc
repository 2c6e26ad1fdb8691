// Writes the bundled example's configuration file: make_example_config [file] (default example.qlc).
#include <iostream>

#include "example_configuration.h"

int main(int argc, char** argv) {
  const std::string file = argc > 1 ? argv[1] : "example.qlc";
  quillet::Configuration configuration = quillet::exampleConfiguration();
  if (!configuration.save(file)) {
    std::cerr << "cannot write " << file << "\n";
    return 1;
  }
  return 0;
}
