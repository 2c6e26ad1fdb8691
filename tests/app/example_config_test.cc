#include <gtest/gtest.h>

#include "common/file_contents.h"
#include "example_configuration.h"

namespace quillet {
namespace {

// The committed example configuration is what make_example_config writes; regenerate it with
// build/examples/make_example_config examples/example.qlc after changing the example.
TEST(ExampleConfigTest, CommittedFileMatchesTheGenerator) {
  std::string committed;
  ASSERT_TRUE(readFileContents("examples/example.qlc", committed));
  EXPECT_EQ(exampleConfiguration().saveToText(), committed);

  Configuration loaded;
  ASSERT_TRUE(loaded.load("examples/example.qlc"));
  EXPECT_EQ(loaded.documentName(), "Geo Library");
  EXPECT_EQ(loaded.sourceEntries().size(), 3u);
}

}  // namespace
}  // namespace quillet
