#include "config/auto_fill.h"

#include <gtest/gtest.h>

#include <string>

#include "common/file_services.h"
#include "config/test_util.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

class AutoFillTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"a.h", "top.hpp", "gui/widget.h", "gui/Widgets/button.hxx",
                             "gui/Widgets/deep/deeper/x.h", "core/core.hh", "other/readme.txt"})
      tree_.write(file, "// header\n");
    forgetPathCaches();  // folder listings read before this test know nothing of its files
  }
  // The outline of `item` with the tree's folder left out of the file names.
  std::string shown(const LayoutItem& item) const {
    std::string text = outline(item);
    for (size_t at; (at = text.find(tree_.root())) != std::string::npos;) text.erase(at, tree_.root().size());
    return text;
  }

  TempTree tree_;
};

TEST_F(AutoFillTest, FoldersBecomeChaptersAndHeadersItems) {
  LayoutItem tree;
  tree.setName("untitled");
  EXPECT_EQ(autoFill(tree, tree_.root()), 6u);
  // Headers are collected pattern by pattern (*.h, *.hh, *.hpp, *.hxx), deeper folders first. The third
  // chapter level is the deepest: the header two folders further down lands in it.
  EXPECT_EQ(shown(tree),
            "gui[Widgets[deep[gui/Widgets/deep/deeper/x.h] gui/Widgets/button.hxx] gui/widget.h] a.h "
            "core[core/core.hh] top.hpp");
  EXPECT_EQ(tree.child(1)->kind(), LayoutItem::kSymbolsByFile);
}

TEST_F(AutoFillTest, ReusesChaptersAndItemsAlreadyThereOrLeavesTheTreeAlone) {
  LayoutItem tree;
  tree.addChild()->setName("GUI");
  const std::string folder = tree_.root().substr(0, tree_.root().size() - 1);  // without the final slash
  ASSERT_EQ(autoFill(tree, folder), 6u);
  const std::string filled = shown(tree);
  EXPECT_EQ(filled,
            "GUI[Widgets[deep[gui/Widgets/deep/deeper/x.h] gui/Widgets/button.hxx] gui/widget.h] a.h "
            "core[core/core.hh] top.hpp");
  ASSERT_EQ(autoFill(tree, folder), 6u);  // a second fill finds every item in place
  EXPECT_EQ(shown(tree), filled);

  EXPECT_EQ(autoFill(tree, tree_.path("other")), 0u);
  EXPECT_EQ(autoFill(tree, tree_.path("missing")), 0u);
  EXPECT_EQ(shown(tree), filled);
}

}  // namespace
}  // namespace quillet
