// The pages of the main window: each writes its controls to the configuration and shows them again, with
// the checks and dialogs of the Sources, Preprocessing, Style, Comment Filter and Metrics pages.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <functional>

#include "config/test_util.h"
#include "editor/comment_page.h"
#include "editor/comment_tag_dialog.h"
#include "editor/editor_text.h"
#include "editor/frame_sheet.h"
#include "editor/html_option_page.h"
#include "editor/source_page.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"

namespace quillet {
namespace {

using Answer = EditorDialogs::Answer;

class PagesTest : public SheetTest {
 protected:
  template <typename T>
  T* find(const char* name) {
    return control<T>(sheet.pages(), name);
  }
  Configuration& configuration() { return sheet.configuration(); }
  // Shows the page titled `title`, as the user would by choosing its tab.
  void showPage(const QString& title) {
    for (int i = 0; i < sheet.pages()->count(); ++i)
      if (sheet.pages()->tabText(i) == title) sheet.pages()->setCurrentIndex(i);
  }
};

TEST_F(PagesTest, CheckBoxesWriteTheSenseTheyShow) {
  const std::pair<const char*, std::function<bool(const Configuration&)>> boxes[] = {
      {"reparseHeaders", &Configuration::reparseHeaders},
      {"ignoreInclude", [](const Configuration& c) { return !c.useIncludeEnvironment(); }},
      {"documentProtected", &Configuration::documentProtected},
      {"documentPrivate", &Configuration::documentPrivate},
      {"functionsInToc", &Configuration::functionsInToc},
      {"sortMembers", &Configuration::sortMembers},
      {"linkToHeaders", &Configuration::linkToHeaders},
      {"shortFileNames", &Configuration::shortFileNames},
      {"htmlSourcePages", &Configuration::htmlSourcePages},
      {"autoFormat", &Configuration::autoFormat},
      {"commentsBeforePrototypes", &Configuration::commentsBeforePrototypes},
      {"parameterComments", &Configuration::parameterComments},
      {"commentsAfterPrototype", &Configuration::commentsAfterPrototype},
      {"macroComments", &Configuration::macroComments},
      {"autoCapitalize", &Configuration::autoCapitalize},
      {"showMemberFunctions", &Configuration::metricsShowMemberFunctions},
  };
  for (const auto& [name, get] : boxes) {
    QCheckBox* box = find<QCheckBox>(name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->isChecked(), get(configuration())) << name;
    const bool before = get(configuration());
    box->click();
    EXPECT_NE(get(configuration()), before) << name;
    EXPECT_EQ(box->isChecked(), get(configuration())) << name;
  }
  EXPECT_TRUE(configuration().modified());
}

TEST_F(PagesTest, EveryControlComesBackFromTheSavedFile) {
  find<QLineEdit>("defines")->setText("A=1, B");
  find<QLineEdit>("includePath")->setText("inc;lib");
  find<QLineEdit>("documentName")->setText("Manual");
  find<QLineEdit>("backgroundImage")->setText("paper.png");
  find<QSpinBox>("tabSize")->setValue(4);
  find<QComboBox>("duplicateCommentChoice")->setCurrentText("Concatenate Comments");
  find<QComboBox>("backgroundColour")->setCurrentText("gray");
  find<QComboBox>("metricLevel")->setCurrentText("Summary and Detailed Metrics");
  find<QSpinBox>("classMinStatements")->setValue(9999);
  find<QSpinBox>("functionMinComplexity")->setValue(7);
  for (QCheckBox* box : sheet.pages()->findChildren<QCheckBox*>())
    if (!box->objectName().isEmpty()) box->click();
  EXPECT_EQ(configuration().duplicateCommentChoice(), 5);
  EXPECT_EQ(configuration().backgroundColour(), 0x1c0c0c0u);
  EXPECT_EQ(configuration().documentName(), "Manual");

  const std::string file = tree.path("all.qlc");
  dialogs.files = {file};
  ASSERT_TRUE(sheet.saveAs());
  CFrameSheet other(std::make_unique<ScriptedDialogs>(), tree.path("other.ini"));
  ASSERT_TRUE(other.openFile(file));
  EXPECT_EQ(shownValues(other.pages()), shownValues(sheet.pages()));
  EXPECT_EQ(shownValues(other.pages())["profileDefines"], "");
  other.close();
}

TEST_F(PagesTest, SourceEntriesAreAddedEditedMovedAndDeleted) {
  const std::string present = tree.write("src/a.cpp", "int a;\n");
  CSourcePage* page = dynamic_cast<CSourcePage*>(sheet.page(0));
  QTreeWidget* list = find<QTreeWidget>("sources");
  // The dialog is filled as the user would fill it, and confirmed with OK.
  auto fill = [this](const std::string& path, bool subfolders) {
    dialogs.onDialog = [path, subfolders](QDialog& dialog) {
      control<QLineEdit>(&dialog, "path")->setText(QString::fromStdString(path));
      control<QCheckBox>(&dialog, "subfolders")->setChecked(subfolders);
      static_cast<ItemDialog&>(dialog).tryAccept();
    };
  };
  fill(tree.path("src/*.cpp"), true);
  page->addEntry();
  fill(present, false);
  page->addEntry();
  EXPECT_TRUE(dialogs.questions.empty());

  // A path that finds nothing is kept only when the user says so.
  const std::string missing = tree.path("gone/*.c");
  fill(missing, false);
  dialogs.answers = {Answer::kNo};
  page->addEntry();
  EXPECT_EQ(dialogs.questions.back(), formatMessage(text::kSourceNotFound, {missing}));
  EXPECT_EQ(configuration().sourceEntries().size(), 2u);
  dialogs.answers = {Answer::kYes};
  page->addEntry();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(1), "yes");

  fill("", false);
  page->select(0);
  page->editEntry();
  EXPECT_EQ(dialogs.lastTold(), text::kNameRequired);
  fill(present, true);
  page->editEntry();
  EXPECT_EQ(configuration().sourceEntries()[0], (SourceEntry{present, true}));

  sheet.resize(700, 500);
  sheet.show();
  dropOnto(static_cast<DropTree*>(list), list->topLevelItem(2), list->topLevelItem(0),
           true);         // the last entry to the front
  page->moveEntry(1, 3);  // the (new) second entry to the end
  std::vector<std::string> order;
  for (const SourceEntry& entry : configuration().sourceEntries()) order.push_back(entry.path);
  EXPECT_EQ(order, (std::vector<std::string>{missing, present, present}));
  EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), missing);

  page->select(2);
  page->deleteEntry();
  page->deleteEntry();  // the selection moved to the entry before
  EXPECT_EQ(configuration().sourceEntries().size(), 1u);
  EXPECT_EQ(page->selected(), 0u);
  EXPECT_TRUE(control<QPushButton>(page, "edit")->isEnabled());
  page->deleteEntry();
  EXPECT_FALSE(control<QPushButton>(page, "edit")->isEnabled());
  EXPECT_FALSE(control<QPushButton>(page, "delete")->isEnabled());
}

TEST_F(PagesTest, CompilerProfileFillsItsVersionsAndShowsItsDefines) {
  QComboBox* profile = find<QComboBox>("profile");
  QComboBox* version = find<QComboBox>("version");
  QLineEdit* defines = find<QLineEdit>("profileDefines");
  EXPECT_EQ(profile->currentText(), "generic");
  EXPECT_FALSE(version->isEnabled());
  EXPECT_TRUE(defines->isReadOnly());

  profile->setCurrentIndex(1);
  EXPECT_EQ(version->count(), 8);
  version->setCurrentText("6.0");
  EXPECT_EQ(configuration().compilerProfile(), 1u);
  EXPECT_EQ(configuration().compilerVersion(), 7u);
  EXPECT_EQ(defines->text().toStdString(), configuration().profileDefines());
  EXPECT_NE(defines->text().indexOf("_MSC_VER=1200"), -1);

  profile->setCurrentText("Borland C/C++ WIN32 Application");  // two versions: 6.0 is not one of them
  EXPECT_EQ(version->count(), 2);
  EXPECT_EQ(configuration().compilerVersion(), 0u);
  EXPECT_EQ(version->currentText(), "4.5");
}

class StylePageTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    tree.write("styles/HTML/Standard Style/main.html", "");
    tree.write("styles/HTML/Fancy/main.html", "");
    tree.write("styles/HTML/Unfinished/readme.txt", "");
    tree.write("more/HTML/Fancy/main.html", "");
    tree.write("styles/RTF/Standard A4 Style/main.rtf", "");
    styles.set((tree.path("styles") + ";" + tree.path("more")).c_str());
    page = dynamic_cast<CHTMLOptionPage*>(sheet.page(3));
    showPage("Style");
  }
  QStringList styleNames() {
    QStringList names;
    QListWidget* list = find<QListWidget>("styles");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }
  // Types `name` into the output file name and leaves the field.
  void enterOutputName(const QString& name) {
    find<QLineEdit>("outputName")->setText(name);
    emit find<QLineEdit>("outputName")->editingFinished();
  }
  CHTMLOptionPage* page = nullptr;
  ScopedEnv styles{"QUILLET_STYLES", nullptr};
};

TEST_F(StylePageTest, OutputNamesKeepTheExtensionOfTheirKind) {
  enterOutputName("doc/index.txt");
  EXPECT_EQ(dialogs.lastTold(), formatMessage(text::kWrongExtension, {"doc/index.txt", ".html"}));
  EXPECT_EQ(configuration().htmlOutputFile(), "");
  EXPECT_EQ(find<QLineEdit>("outputName")->text(), "");
  enterOutputName("doc/INDEX.HTM");
  EXPECT_EQ(configuration().htmlOutputFile(), "doc/INDEX.HTM");

  // Each kind has its own name; switching tabs takes the name being edited over first.
  find<QLineEdit>("outputName")->setText("doc/index.html");
  find<QTabBar>("kinds")->setCurrentIndex(1);
  EXPECT_EQ(configuration().htmlOutputFile(), "doc/index.html");
  EXPECT_EQ(page->kind(), OutputKind::kRtf);
  EXPECT_EQ(find<QLineEdit>("outputName")->text(), "");
  EXPECT_EQ(find<QLabel>("outputLabel")->text(), "RTF Output file name");
  enterOutputName("doc/manual.html");
  EXPECT_EQ(dialogs.lastTold(), formatMessage(text::kWrongExtension, {"doc/manual.html", ".rtf"}));
  enterOutputName("doc/manual");  // no extension at all is allowed
  EXPECT_EQ(configuration().rtfOutputFile(), "doc/manual");
  page->showKind(OutputKind::kWinHelp);
  find<QLineEdit>("outputName")->setText("help/api.rtf");
  EXPECT_TRUE(sheet.commitPages());
  EXPECT_EQ(configuration().winHelpOutputFile(), "help/api.rtf");
  // The background concerns the HTML output only.
  EXPECT_FALSE(find<QComboBox>("backgroundColour")->isEnabled());
  page->showKind(OutputKind::kHtml);
  EXPECT_TRUE(find<QComboBox>("backgroundColour")->isEnabled());
}

TEST_F(StylePageTest, StyleSetsComeFromTheStyleFoldersAndExploreOpensTheChosenOne) {
  EXPECT_EQ(styleNames(), (QStringList{"Fancy", "Standard Style"}));
  EXPECT_TRUE(find<QLabel>("noStyles")->isHidden());
  find<QListWidget>("styles")->setCurrentRow(0);
  EXPECT_EQ(configuration().htmlStyle(), "Fancy");
  find<QPushButton>("explore")->click();
  ASSERT_EQ(dialogs.opened.size(), 1u);
  EXPECT_EQ(dialogs.opened[0].toLocalFile().toStdString(), tree.path("styles/HTML/Fancy"));

  page->showKind(OutputKind::kRtf);
  // The configuration's own set is listed even where no folder holds it.
  EXPECT_EQ(styleNames(), (QStringList{"Standard Style", "Standard A4 Style"}));
  find<QPushButton>("explore")->click();
  EXPECT_EQ(dialogs.lastTold(), text::kNoStyles);

  styles.set(tree.path("nowhere").c_str());
  sheet.reloadPages();
  EXPECT_FALSE(find<QLabel>("noStyles")->isHidden());
}

TEST_F(StylePageTest, BackgroundColoursMapToTheStoredValueAndUnknownOnesAreKept) {
  QComboBox* colour = find<QComboBox>("backgroundColour");
  QStringList names;
  for (int i = 0; i < colour->count(); ++i) names << colour->itemText(i);
  EXPECT_EQ(names, (QStringList{"none", "white", "gray", "black", "red", "green", "blue"}));
  colour->setCurrentText("blue");
  EXPECT_EQ(configuration().backgroundColour(), 0x1ff0000u);
  colour->setCurrentText("red");
  EXPECT_EQ(configuration().backgroundColour(), 0x10000ffu);

  configuration().setBackgroundColour(0x1336699u);
  configuration().setModified(false);
  sheet.reloadPages();
  EXPECT_EQ(colour->currentText(), "#996633");
  EXPECT_EQ(configuration().backgroundColour(), 0x1336699u);
  EXPECT_FALSE(configuration().modified());
}

TEST_F(PagesTest, CommentTagsAreAddedEditedAndDeletedThroughTheirDialog) {
  CCommentPage* page = dynamic_cast<CCommentPage*>(sheet.page(5));
  EXPECT_FALSE(control<QPushButton>(page, "edit")->isEnabled());
  // Fills the tag dialog and presses OK.
  auto fill = [this](const QString& name, int operation, const QString& replacement) {
    dialogs.onDialog = [=](QDialog& dialog) {
      control<QLineEdit>(&dialog, "tagName")->setText(name);
      QButtonGroup* group = control<QButtonGroup>(&dialog, "operation");
      group->button(operation)->click();
      control<QLineEdit>(&dialog, "replacement")->setText(replacement);
      control<QCheckBox>(&dialog, "paragraphBreakBefore")->setChecked(true);
      static_cast<ItemDialog&>(dialog).tryAccept();
    };
  };
  fill("*param", CommentTag::kKeepTag, "");
  page->addTag();
  EXPECT_EQ(dialogs.lastTold(), text::kIllegalTagName);
  EXPECT_EQ(configuration().commentTagCount(), 0u);

  for (const char* name : {"@param", "@return", "@see"}) {
    fill(name, CommentTag::kRemoveTag, "ignored");
    page->addTag();
  }
  ASSERT_EQ(configuration().commentTagCount(), 3u);
  EXPECT_EQ(configuration().commentTag(0).operation(), CommentTag::kRemoveTag);
  EXPECT_EQ(configuration().commentTag(0).replacement(), "");  // taken only when replacing
  EXPECT_TRUE(configuration().commentTag(0).paragraphBreakBefore());

  // Edit and Delete wait for a selected tag.
  find<QListWidget>("tags")->clearSelection();
  EXPECT_FALSE(control<QPushButton>(page, "edit")->isEnabled());
  EXPECT_FALSE(control<QPushButton>(page, "delete")->isEnabled());
  page->select(1);
  EXPECT_TRUE(control<QPushButton>(page, "delete")->isEnabled());
  fill("@returns?", CommentTag::kReplaceTag, "Returns:\\n");
  page->editTag();
  EXPECT_EQ(configuration().commentTag(1).tagName(), "@returns?");
  EXPECT_EQ(configuration().commentTag(1).replacement(), "Returns:\\n");
  EXPECT_EQ(find<QListWidget>("tags")->item(1)->text(), "@returns?");

  // Opening the dialog shows the tag; a replacement field is usable only for replacing.
  CCommentTagDialog shown(configuration().commentTag(1), dialogs, nullptr);
  EXPECT_TRUE(control<QLineEdit>(&shown, "replacement")->isEnabled());
  control<QButtonGroup>(&shown, "operation")->button(CommentTag::kRemoveWhenEmpty)->click();
  EXPECT_FALSE(control<QLineEdit>(&shown, "replacement")->isEnabled());
  EXPECT_EQ(shown.tag().operation(), CommentTag::kRemoveWhenEmpty);
  EXPECT_EQ(shown.tag().replacement(), "Returns:\\n");  // the stored text is not cleared by choosing

  page->select(2);
  page->deleteTag();
  EXPECT_EQ(page->selected(), 1u);
  page->deleteTag();
  page->deleteTag();
  EXPECT_EQ(configuration().commentTagCount(), 0u);
  EXPECT_FALSE(control<QPushButton>(page, "edit")->isEnabled());
  EXPECT_FALSE(control<QPushButton>(page, "delete")->isEnabled());
}

TEST_F(PagesTest, MetricThresholdsAreEditableOnlyAtTheDetailedLevel) {
  QComboBox* level = find<QComboBox>("metricLevel");
  QSpinBox* statements = find<QSpinBox>("classMinStatements");
  EXPECT_EQ(level->currentText(), "Summary and Detailed Metrics");
  EXPECT_TRUE(statements->isEnabledTo(&sheet));
  level->setCurrentText("Just Summary Metrics");
  EXPECT_EQ(configuration().metricLevel(), 1);
  EXPECT_FALSE(statements->isEnabledTo(&sheet));
  EXPECT_FALSE(find<QSpinBox>("functionMinStatements")->isEnabledTo(&sheet));
  level->setCurrentText("No Metrics");
  EXPECT_EQ(configuration().metricLevel(), 2);
  level->setCurrentText("Summary and Detailed Metrics");
  statements->setValue(20000);  // bounded as the setting is
  EXPECT_EQ(configuration().classMinStatements(), 10000u);
  find<QSpinBox>("classMinPublicFunctions")->setValue(3);
  EXPECT_EQ(configuration().classMinPublicFunctions(), 3u);
}

}  // namespace
}  // namespace quillet
