#include "config/auto_fill.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_services.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

class AutoFillTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::TempDir() + "auto_fill_tree";
    fs::remove_all(root_);
    for (const char* file : {"a.h", "top.hpp", "gui/widget.h", "gui/Widgets/button.hxx",
                             "gui/Widgets/deep/deeper/x.h", "core/core.hh", "other/readme.txt"}) {
      const fs::path path = fs::path(root_) / file;
      fs::create_directories(path.parent_path());
      std::ofstream(path) << "// header\n";
    }
    forgetPathCaches();  // folder listings read before this test know nothing of its files
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string root_;
};

TEST_F(AutoFillTest, FoldersBecomeChaptersAndHeadersItems) {
  LayoutItem tree;
  tree.setName("untitled");
  EXPECT_EQ(autoFill(tree, root_ + "/"), 6u);
  // Headers are collected pattern by pattern (*.h, *.hh, *.hpp, *.hxx), deeper folders first.
  ASSERT_EQ(tree.childCount(), 4u);
  const LayoutItem* gui = tree.child(0);
  EXPECT_EQ(gui->name(), "gui");
  EXPECT_TRUE(gui->isChapter());
  EXPECT_EQ(tree.child(1)->name(), root_ + "/a.h");
  EXPECT_EQ(tree.child(1)->kind(), LayoutItem::kSymbolsByFile);
  EXPECT_EQ(tree.child(2)->name(), "core");
  ASSERT_EQ(tree.child(2)->childCount(), 1u);
  EXPECT_EQ(tree.child(2)->child(0)->name(), root_ + "/core/core.hh");
  EXPECT_EQ(tree.child(3)->name(), root_ + "/top.hpp");

  ASSERT_EQ(gui->childCount(), 2u);
  const LayoutItem* widgets = gui->child(0);
  EXPECT_EQ(widgets->name(), "Widgets");
  EXPECT_EQ(gui->child(1)->name(), root_ + "/gui/widget.h");
  ASSERT_EQ(widgets->childCount(), 2u);
  EXPECT_EQ(widgets->child(1)->name(), root_ + "/gui/Widgets/button.hxx");
  // The third chapter level is the deepest: the header two folders further down lands in it.
  const LayoutItem* deep = widgets->child(0);
  EXPECT_EQ(deep->name(), "deep");
  ASSERT_EQ(deep->childCount(), 1u);
  EXPECT_EQ(deep->child(0)->name(), root_ + "/gui/Widgets/deep/deeper/x.h");
  EXPECT_FALSE(deep->child(0)->isChapter());
}

TEST_F(AutoFillTest, ReusesChaptersAndItemsAlreadyThere) {
  LayoutItem tree;
  tree.addChild()->setName("GUI");
  ASSERT_EQ(autoFill(tree, root_), 6u);
  ASSERT_EQ(autoFill(tree, root_), 6u);  // a second fill finds every item in place
  ASSERT_EQ(tree.childCount(), 4u);
  EXPECT_EQ(tree.child(0)->name(), "GUI");
  EXPECT_EQ(tree.child(0)->childCount(), 2u);
}

TEST_F(AutoFillTest, NoHeadersLeavesTheTreeAlone) {
  LayoutItem tree;
  tree.addChild()->setName("kept");
  EXPECT_EQ(autoFill(tree, root_ + "/other"), 0u);
  EXPECT_EQ(autoFill(tree, root_ + "/missing"), 0u);
  ASSERT_EQ(tree.childCount(), 1u);
  EXPECT_EQ(tree.child(0)->name(), "kept");
  EXPECT_FALSE(kNoFilesFoundMessage.empty());
}

}  // namespace
}  // namespace quillet
