// The "Arrange" page: inserting each kind through its dialog, the chapter depth limit, the same-name rules,
// the dialogs' checks, editing, deleting, moving and Auto Fill.
#include "editor/layout_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "config/auto_fill.h"
#include "config/configuration.h"
#include "config/layout_editing.h"
#include "config/test_util.h"
#include "editor/editor_text.h"
#include "editor/layout_dialogs.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using Answer = EditorDialogs::Answer;

class LayoutPageTest : public EditorTest {
 protected:
  LayoutPageTest() : page(configuration, dialogs) { page.reload(); }

  LayoutItem& root() { return configuration.mutableArrangement(); }
  // Adds an item below `parent` directly, as a loaded file would hold it.
  static LayoutItem* add(LayoutItem& parent, const std::string& name, int32_t kind = LayoutItem::kChapter) {
    LayoutItem* item = parent.addChild();
    item->setName(name);
    item->setKind(kind);
    return item;
  }
  // The next dialog gets `name` (and whatever `more` sets) and is confirmed with OK.
  void answerWith(const QString& name, std::function<void(QDialog&)> more = nullptr) {
    dialogs.onDialog = [name, more](QDialog& dialog) {
      control<QLineEdit>(&dialog, "name")->setText(name);
      if (more) more(dialog);
      static_cast<ItemDialog&>(dialog).tryAccept();
    };
  }
  // The next folder dialog of Auto Fill gets `folder` and is confirmed with OK.
  void chooseFolder(const std::string& folder) {
    dialogs.onDialog = [folder](QDialog& dialog) {
      control<QLineEdit>(&dialog, "folder")->setText(QString::fromStdString(folder));
      static_cast<ItemDialog&>(dialog).tryAccept();
    };
  }

  TempTree tree;
  Configuration configuration;
  ScriptedDialogs dialogs;
  CLayoutPage page;
};

TEST_F(LayoutPageTest, EachKindIsInsertedThroughItsDialogIntoTheSelectedChapter) {
  const std::string notes = tree.write("notes.txt", "Hello\n");
  const std::string header = tree.write("inc/shape.h", "struct Shape;\n");
  answerWith("Guide");
  page.insert(LayoutItem::kChapter);
  LayoutItem* guide = root().child(0);
  page.select(guide);

  answerWith("Introduction", [](QDialog& dialog) {
    control<QPlainTextEdit>(&dialog, "text")->setPlainText("Read me first.");
  });
  page.insert(LayoutItem::kText);
  answerWith(QString::fromStdString(notes), [](QDialog& dialog) {
    control<QRadioButton>(&dialog, "link")->click();
    control<QLineEdit>(&dialog, "title")->setText("Notes");
    control<QCheckBox>(&dialog, "copyToOutput")->setChecked(true);
  });
  page.insert(LayoutItem::kInsertDocument);
  answerWith("area.*", [](QDialog& dialog) { control<QRadioButton>(&dialog, "functions")->click(); });
  page.insert(LayoutItem::kClassesByName);
  // With a non-chapter selected, the new item goes into that item's chapter.
  page.select(guide->child(0));
  answerWith(QString::fromStdString(header),
             [](QDialog& dialog) { control<QCheckBox>(&dialog, "extractComments")->setChecked(false); });
  page.insert(LayoutItem::kSymbolsByFile);

  ASSERT_EQ(guide->childCount(), 4u);
  EXPECT_EQ(guide->child(0)->kind(), LayoutItem::kText);
  EXPECT_EQ(guide->child(0)->text(), "Read me first.");
  EXPECT_EQ(guide->child(1)->kind(), LayoutItem::kLinkDocument);
  EXPECT_EQ(guide->child(1)->text(), "Notes");
  EXPECT_TRUE(guide->child(1)->copyToOutput());
  EXPECT_EQ(guide->child(2)->kind(), LayoutItem::kFunctionsByName);
  EXPECT_EQ(guide->child(3)->name(), header);
  EXPECT_TRUE(guide->child(3)->noHeaderComments());
  EXPECT_TRUE(configuration.modified());
  EXPECT_EQ(page.selectedItem(), guide->child(3));
  EXPECT_EQ(control<QTreeWidget>(&page, "arrangement")->topLevelItem(0)->child(0)->child(2)->text(0),
            "Function: area.*");
}

TEST_F(LayoutPageTest, ChaptersNestThreeLevelsAndOnlyTheUpperTwoMaySeparateHeaders) {
  LayoutItem* level1 = add(root(), "One");
  LayoutItem* level2 = add(*level1, "Two");
  LayoutItem* level3 = add(*level2, "Three");
  page.reload();
  const std::pair<LayoutItem*, bool> places[] = {{&root(), true}, {level1, true}, {level2, false}};
  for (const auto& [parent, separable] : places) {
    page.select(parent);
    EXPECT_TRUE(page.chapterInsertOffered());
    bool box_enabled = !separable;
    dialogs.onDialog = [&box_enabled](QDialog& dialog) {
      box_enabled = control<QCheckBox>(&dialog, "noCombineHeaders")->isEnabled();
    };
    page.insert(LayoutItem::kChapter);
    EXPECT_EQ(box_enabled, separable) << parent->name();
  }
  page.select(level3);
  EXPECT_FALSE(page.chapterInsertOffered());
  const int before = dialogs.dialogsRun;
  page.insert(LayoutItem::kChapter);
  EXPECT_EQ(dialogs.dialogsRun, before);
  EXPECT_EQ(level3->childCount(), 0u);
  // Other items still go into the deepest chapter.
  answerWith("Deep");
  page.insert(LayoutItem::kClassesByName);
  EXPECT_EQ(level3->childCount(), 1u);
}

TEST_F(LayoutPageTest, SameNamesAtOneLevelFollowTheChapterRule) {
  add(root(), "WIDGETS");
  page.reload();
  answerWith("Widgets");
  page.insert(LayoutItem::kChapter);
  EXPECT_EQ(dialogs.told, std::vector<std::string>{std::string(kChapterNameClashMessage)});  // dialog stays
  answerWith("Widget");
  page.insert(LayoutItem::kClassesByName);
  answerWith("widget", [](QDialog& dialog) { control<QRadioButton>(&dialog, "functions")->click(); });
  page.insert(LayoutItem::kClassesByName);
  EXPECT_EQ(outline(root()), "WIDGETS[] Widget");
  EXPECT_EQ(root().child(1)->kind(), LayoutItem::kFunctionsByName);

  // Renaming a chapter to its own name in another case is no clash; to a sibling's name it is.
  page.select(root().child(0));
  answerWith("Widgets");
  page.editSelected();
  EXPECT_EQ(root().child(0)->name(), "Widgets");
  answerWith("WIDGET");
  dialogs.told.clear();
  page.editSelected();
  EXPECT_EQ(dialogs.told, std::vector<std::string>{std::string(kChapterNameClashMessage)});
  EXPECT_EQ(root().child(0)->name(), "Widgets");
}

TEST_F(LayoutPageTest, DialogsRefuseEmptyAndIllegalNamesAndAskAboutMissingFiles) {
  answerWith("");
  page.insert(LayoutItem::kText);
  EXPECT_EQ(dialogs.lastTold(), text::kNameRequired);
  answerWith("*Shape");
  page.insert(LayoutItem::kClassesByName);
  EXPECT_EQ(dialogs.lastTold(), text::kIllegalName);
  EXPECT_EQ(root().childCount(), 0u);

  const std::string missing = tree.path("gone.h");
  answerWith(QString::fromStdString(missing));
  dialogs.answers = {Answer::kNo};
  page.insert(LayoutItem::kSymbolsByFile);
  EXPECT_EQ(dialogs.questions.back(), formatMessage(text::kItemFileNotFound, {missing}));
  EXPECT_EQ(root().childCount(), 0u);
  dialogs.answers = {Answer::kYes};
  page.insert(LayoutItem::kSymbolsByFile);
  EXPECT_EQ(outline(root()), missing);

  // Several files chosen at once become one item each, in the order given.
  const std::string a = tree.write("docs/a.txt", "a");
  const std::string b = tree.write("docs/b.txt", "b");
  dialogs.fileLists = {{a, b}};
  dialogs.onDialog = [](QDialog& dialog) {
    control<QPushButton>(&dialog, "browse")->click();
    static_cast<ItemDialog&>(dialog).tryAccept();
  };
  page.insert(LayoutItem::kInsertDocument);
  EXPECT_EQ(outline(root()), missing + " " + a + " " + b);
  EXPECT_EQ(root().child(2)->kind(), LayoutItem::kInsertDocument);
}

TEST_F(LayoutPageTest, EditTakesTheDialogOverAndDeleteRemovesTheSubtree) {
  LayoutItem* guide = add(root(), "Guide");
  add(*add(*guide, "Inner"), "Leaf");
  LayoutItem* symbol = add(root(), "Shape", LayoutItem::kClassesByName);
  page.reload();

  page.select(symbol);
  answerWith("Sha.*", [](QDialog& dialog) { control<QRadioButton>(&dialog, "functions")->click(); });
  page.editSelected();
  EXPECT_EQ(symbol->name(), "Sha.*");
  EXPECT_EQ(symbol->kind(), LayoutItem::kFunctionsByName);

  page.select(&root());
  answerWith("Manual");
  page.editSelected();
  EXPECT_EQ(configuration.documentName(), "Manual");
  page.deleteSelected();  // the root stays
  EXPECT_EQ(outline(root()), "Guide[Inner[Leaf[]]] Sha.*");

  page.select(guide);
  page.deleteSelected();
  EXPECT_EQ(outline(root()), "Sha.*");
  EXPECT_EQ(page.selectedItem(), root().child(0));
}

TEST_F(LayoutPageTest, MovesGoIntoChaptersWithinTheRules) {
  LayoutItem* api = add(root(), "API");
  LayoutItem* inner = add(*api, "Inner");
  LayoutItem* deep = add(*inner, "Deep");
  LayoutItem* guide = add(root(), "Guide");
  add(*guide, "Sub");
  LayoutItem* text = add(root(), "Inner", LayoutItem::kText);
  page.reload();
  configuration.setModified(false);

  EXPECT_FALSE(page.move(*api, *deep));     // into its own subtree
  EXPECT_FALSE(page.move(*guide, *inner));  // Guide/Sub would stand four levels deep
  EXPECT_FALSE(page.move(*text, *api));     // beside the chapter Inner
  EXPECT_EQ(dialogs.lastTold(), kChapterNameClashMessage);
  EXPECT_FALSE(configuration.modified());

  EXPECT_TRUE(page.move(*guide, *api));
  EXPECT_EQ(outline(root()), "API[Inner[Deep[]] Guide[Sub[]]] Inner");
  EXPECT_TRUE(configuration.modified());
  EXPECT_EQ(page.selectedItem(), guide);
}

TEST_F(LayoutPageTest, DraggedItemsLandInTheChapterUnderTheDropPoint) {
  LayoutItem* api = add(root(), "API");
  add(*api, "First", LayoutItem::kText);
  add(root(), "Moving", LayoutItem::kText);
  page.reload();
  page.resize(400, 400);
  page.show();
  DropTree* shown = control<DropTree>(&page, "arrangement");
  auto node = [shown](int index) { return shown->topLevelItem(0)->child(index); };

  dropOnto(shown, node(1), node(0));  // onto the chapter: into it
  EXPECT_EQ(outline(root()), "API[First Moving]");
  dropOnto(shown, node(0)->child(1), shown->topLevelItem(0));  // onto the root
  EXPECT_EQ(outline(root()), "API[First] Moving");
  dropOnto(shown, node(1), node(0)->child(0), true);  // beside an item: into that item's chapter
  EXPECT_EQ(outline(root()), "API[First Moving]");
  EXPECT_TRUE(configuration.modified());
}

TEST_F(LayoutPageTest, AutoFillMakesChaptersOfFoldersOrSaysNothingWasFound) {
  tree.write("empty/readme.txt", "");
  chooseFolder(tree.path("empty"));
  page.autoFill();
  EXPECT_EQ(dialogs.lastTold(), kNoFilesFoundMessage);
  EXPECT_EQ(configuration.arrangement().childCount(), 0u);
  EXPECT_FALSE(configuration.modified());

  const std::string point = tree.write("src/geo/point.h", "");
  const std::string shape = tree.write("src/geo/shape.hpp", "");
  chooseFolder(tree.path("src"));
  page.autoFill();
  EXPECT_EQ(outline(root()), "geo[" + point + " " + shape + "]");
  EXPECT_TRUE(configuration.modified());
}

}  // namespace
}  // namespace quillet
