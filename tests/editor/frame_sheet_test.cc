#include "editor/frame_sheet.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "common/file_contents.h"
#include "config/settings_file.h"
#include "editor/config_page.h"
#include "editor/document_title.h"
#include "editor/editor_text.h"
#include "editor/help_viewer.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using Answer = EditorDialogs::Answer;

// A configuration file at `path` whose settings show on every page, stored with file version `version`.
void writeConfiguration(const std::string& path, const std::string& name, char version = '3') {
  Configuration configuration;
  configuration.setDocumentName(name);
  configuration.mutableSourceEntries().push_back({"src/*.cpp", true});
  configuration.setDefines("SHOWN=1");
  configuration.mutableArrangement().addChild()->setName("Chapter");
  configuration.setHtmlOutputFile("out/index.html");
  CommentTag tag;
  tag.setTagName("@note");
  configuration.appendCommentTag(tag);
  configuration.setMetricLevel(2);
  fs::create_directories(fs::path(path).parent_path());
  std::string text = configuration.saveToText();
  text[0] = version;
  std::ofstream(path, std::ios::binary) << text;
}

class FrameSheetTest : public SheetTest {};

TEST_F(FrameSheetTest, TitleNamesTheFileAndSaysWhenItIsReadOnly) {
  EXPECT_EQ(windowTitleFor("Untitled.qlc"), "Untitled - Quillet");
  const std::string path = tree.write("docs/project.v2.qlc", "3\r\n");
  EXPECT_EQ(windowTitleFor(path), "project.v2 - Quillet");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(windowTitleFor(path), "project.v2 (read only) - Quillet");
  EXPECT_EQ(windowTitleFor(tree.path("missing.qlc")), "missing - Quillet");

  EXPECT_EQ(sheet.windowTitle(), "Untitled - Quillet");
  writeConfiguration(tree.path("shapes.qlc"), "Shapes");
  ASSERT_TRUE(sheet.openFile(tree.path("shapes.qlc")));
  EXPECT_EQ(sheet.windowTitle(), "shapes - Quillet");
}

TEST_F(FrameSheetTest, SaveChangesPromptGoesOnStopsOrSavesFirst) {
  Configuration& configuration = sheet.configuration();
  EXPECT_TRUE(sheet.newConfiguration());  // unchanged: nothing is asked
  EXPECT_TRUE(dialogs.questions.empty());

  configuration.setDocumentName("Kept");
  dialogs.answers = {Answer::kCancel};
  EXPECT_FALSE(sheet.newConfiguration());
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{std::string(text::kSaveChanges)});
  EXPECT_EQ(configuration.documentName(), "Kept");

  // Yes on a new configuration asks for a file name; cancelling that stops the command too.
  dialogs.answers = {Answer::kYes};
  EXPECT_FALSE(sheet.newConfiguration());
  EXPECT_EQ(dialogs.proposals, std::vector<std::string>{"Kept.qlc"});
  EXPECT_EQ(configuration.documentName(), "Kept");

  dialogs.answers = {Answer::kYes};
  dialogs.files = {tree.path("kept")};  // the extension is added
  EXPECT_TRUE(sheet.newConfiguration());
  Configuration saved;
  ASSERT_TRUE(saved.load(tree.path("kept.qlc")));
  EXPECT_EQ(saved.documentName(), "Kept");
  EXPECT_EQ(configuration.documentName(), "untitled");
  EXPECT_EQ(sheet.filePath(), "Untitled.qlc");

  configuration.setDocumentName("Dropped");
  dialogs.answers = {Answer::kNo};
  EXPECT_TRUE(sheet.newConfiguration());
  EXPECT_EQ(configuration.documentName(), "untitled");
  EXPECT_FALSE(configuration.modified());
}

TEST_F(FrameSheetTest, NewAndOpenShowTheConfigurationOnEveryPage) {
  writeConfiguration(tree.path("project/shown.qlc"), "Shown");
  QTabWidget* pages = sheet.pages();
  QStringList titles;
  for (int i = 0; i < pages->count(); ++i) titles << pages->tabText(i);
  EXPECT_EQ(titles, (QStringList{"Sources", "Preprocessing", "Arrange", "Style", "Options", "Comment Filter",
                                 "Metrics"}));

  // The controls of the pages that show the file's settings.
  auto shown = [&] {
    std::map<QString, QString> all = shownValues(pages);
    return std::vector<QString>{all["sources"],      all["defines"], all["arrangement"], all["outputName"],
                                all["documentName"], all["tags"],    all["metricLevel"]};
  };
  const std::map<QString, QString> defaults = shownValues(pages);
  EXPECT_EQ(shown(),
            (std::vector<QString>{"0", "", "1", "", "untitled", "0", "Summary and Detailed Metrics"}));

  dialogs.files = {tree.path("project/shown.qlc")};
  ASSERT_TRUE(sheet.openConfiguration());
  EXPECT_EQ(shown(),
            (std::vector<QString>{"1", "SHOWN=1", "2", "out/index.html", "Shown", "1", "No Metrics"}));
  // Relative paths of the configuration are taken from its folder.
  EXPECT_EQ(fs::current_path(), fs::path(tree.path("project")));
  EXPECT_FALSE(sheet.configuration().modified());

  ASSERT_TRUE(sheet.newConfiguration());
  EXPECT_EQ(shownValues(pages), defaults);
}

TEST_F(FrameSheetTest, UnreadableFilesAreNamedInTheirMessageAndLeaveANewConfiguration) {
  writeConfiguration(tree.path("newer.qlc"), "Newer", '4');
  writeConfiguration(tree.path("older.qlc"), "Older", '1');
  tree.write("broken.qlc", "3\r\n9\r\n\"short");
  tree.write("broken.toml", "[document]\ntab_size = 'wide'\n");
  const std::pair<std::string, std::string> cases[] = {
      {tree.path("newer.qlc"), formatMessage(text::kNewerVersion, {tree.path("newer.qlc")})},
      {tree.path("older.qlc"), formatMessage(text::kNotAConfiguration, {tree.path("older.qlc")})},
      {tree.path("broken.qlc"), formatMessage(text::kReadError, {tree.path("broken.qlc")})},
      {tree.path("absent.qlc"), "cannot open " + tree.path("absent.qlc") + ": No such file or directory"},
      {tree.path("broken.toml"), tree.path("broken.toml") + ":2: document.tab_size: expected an integer"},
  };
  for (const auto& [path, message] : cases) {
    sheet.configuration().setDocumentName("Before");
    sheet.configuration().setModified(false);
    EXPECT_FALSE(sheet.openFile(path));
    EXPECT_EQ(dialogs.lastTold(), message);
    EXPECT_EQ(sheet.filePath(), "Untitled.qlc");
    EXPECT_EQ(sheet.configuration().documentName(), "untitled");
  }
  EXPECT_TRUE(sheet.recentFiles().entries().empty());
}

TEST_F(FrameSheetTest, SavingAnOlderFileAsksOnceAndAReadOnlyFileGoesToSaveAs) {
  const std::string older = tree.path("older.qlc");
  writeConfiguration(older, "Older", '2');
  ASSERT_TRUE(sheet.openFile(older));

  sheet.configuration().setDefines("CHANGED");
  dialogs.answers = {Answer::kNo};
  EXPECT_FALSE(sheet.save());
  EXPECT_EQ(dialogs.questions.back(), text::kOlderVersionSave);
  Configuration on_disk;
  ASSERT_TRUE(on_disk.load(older));
  EXPECT_EQ(on_disk.version(), 2);

  dialogs.answers = {Answer::kYes};
  EXPECT_TRUE(sheet.save());
  ASSERT_TRUE(on_disk.load(older));
  EXPECT_EQ(on_disk.defines(), "CHANGED");
  EXPECT_EQ(on_disk.version(), 3);
  const size_t asked = dialogs.questions.size();
  sheet.configuration().setDefines("AGAIN");
  EXPECT_TRUE(sheet.save());
  EXPECT_EQ(dialogs.questions.size(), asked);  // the file is of the current version now

  fs::permissions(older, fs::perms::owner_read);
  sheet.configuration().setDefines("ELSEWHERE");
  dialogs.files = {tree.path("copy.qlc")};
  EXPECT_TRUE(sheet.save());
  EXPECT_EQ(dialogs.proposals.back(), "Older.qlc");
  EXPECT_EQ(sheet.filePath(), tree.path("copy.qlc"));
  ASSERT_TRUE(on_disk.load(tree.path("copy.qlc")));
  EXPECT_EQ(on_disk.defines(), "ELSEWHERE");
}

TEST_F(FrameSheetTest, AFailedSaveIsReportedAndTheChangesStayUnsaved) {
  sheet.configuration().setDocumentName("Lost");
  const std::string unwritable = tree.path("no/such/folder/lost.qlc");
  dialogs.files = {unwritable};
  EXPECT_FALSE(sheet.saveAs());
  EXPECT_TRUE(sheet.lastSaveFailed());
  EXPECT_EQ(dialogs.lastTold(),
            formatMessage(text::kWriteError, {unwritable}) + "\nNo such file or directory");
  EXPECT_EQ(sheet.filePath(), "Untitled.qlc");
  // Closing still asks, so the changes are not silently dropped.
  dialogs.answers = {Answer::kCancel};
  EXPECT_FALSE(sheet.close());
  EXPECT_EQ(dialogs.questions.back(), text::kSaveChanges);
}

TEST_F(FrameSheetTest, RecentFilesKeepNineShowFiveAndForgetMissingFiles) {
  std::vector<std::string> paths;
  for (int i = 1; i <= 10; ++i) {
    paths.push_back(tree.path("p" + std::to_string(i) + "/c&" + std::to_string(i) + ".qlc"));
    writeConfiguration(paths.back(), "Doc" + std::to_string(i));
    ASSERT_TRUE(sheet.openFile(paths.back()));
  }
  const std::vector<std::string>& entries = sheet.recentFiles().entries();
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries.front(), paths[9]);
  EXPECT_EQ(entries.back(), paths[1]);  // the first file opened was pushed out
  const std::vector<std::string> labels = {
      "&1 " + tree.path("p10/c&&10.qlc"), "&2 " + tree.path("p9/c&&9.qlc"), "&3 " + tree.path("p8/c&&8.qlc"),
      "&4 " + tree.path("p7/c&&7.qlc"), "&5 " + tree.path("p6/c&&6.qlc")};
  EXPECT_EQ(sheet.recentMenuLabels(), labels);

  ASSERT_TRUE(sheet.openRecent(3));  // moved to the top
  EXPECT_EQ(entries.front(), paths[6]);
  EXPECT_EQ(sheet.configuration().documentName(), "Doc7");

  fs::remove(paths[9]);
  EXPECT_FALSE(sheet.openRecent(1));
  EXPECT_EQ(dialogs.lastTold(), formatMessage(text::kRecentFileMissing, {paths[9]}));
  EXPECT_EQ(entries.size(), 8u);
  EXPECT_EQ(sheet.recentMenuLabels()[1], labels[1]);

  // Written back on closing, all nine slots, and read at the next start.
  ASSERT_TRUE(sheet.close());
  SettingsFile settings;
  ASSERT_TRUE(settings.load(tree.path("settings/quillet.ini")));
  EXPECT_EQ(settings.value("MRU", "File1"), paths[6]);
  EXPECT_EQ(settings.value("MRU", "File9"), "");
  CFrameSheet again(std::make_unique<ScriptedDialogs>(), tree.path("settings/quillet.ini"));
  EXPECT_EQ(again.recentFiles().entries().size(), 8u);
  EXPECT_EQ(again.recentMenuLabels().size(), 5u);
}

TEST_F(FrameSheetTest, RecentFilesLiveInTheUsersSettingsFileBesideOtherSettings) {
  const std::string user_settings = SettingsFile::userSettingsPath();
  ASSERT_EQ(user_settings.rfind(std::getenv("XDG_CONFIG_HOME"), 0), 0u);  // set by the test main
  SettingsFile before;
  before.setValue("General", "Styles", "/somewhere/styles");
  ASSERT_TRUE(before.save(user_settings));
  writeConfiguration(tree.path("one.qlc"), "One");
  {
    CFrameSheet user_sheet(std::make_unique<ScriptedDialogs>());
    ASSERT_TRUE(user_sheet.openFile(tree.path("one.qlc")));
    EXPECT_TRUE(user_sheet.close());
  }
  SettingsFile after;
  ASSERT_TRUE(after.load(user_settings));
  EXPECT_EQ(after.value("General", "Styles"), "/somewhere/styles");
  EXPECT_EQ(after.value("MRU", "File1"), tree.path("one.qlc"));
  fs::remove(user_settings);
}

TEST_F(FrameSheetTest, ImportReportsAFileThatIsNoProjectAndShowsWhatWasAdded) {
  const std::string not_a_project = tree.write("notes.dsp", "hello\n");
  dialogs.files = {not_a_project};
  sheet.importProject();
  EXPECT_EQ(dialogs.lastTold(), formatMessage(text::kImportFailed, {not_a_project}));
  EXPECT_TRUE(sheet.configuration().modified());

  dialogs.told.clear();
  dialogs.files = {fs::absolute(QUILLET_TEST_DATA "/import/geometry/geometry.dsw").string()};
  sheet.importProject();
  EXPECT_TRUE(dialogs.told.empty());
  EXPECT_GT(control<QTreeWidget>(sheet.pages(), "sources")->topLevelItemCount(), 0);
  EXPECT_EQ(control<QLineEdit>(sheet.pages(), "documentName")->text(), "geometry");

  // A compilation database is imported as -prj imports it.
  const std::string root = tree.path("db");
  tree.write("db/tool.cpp", "int main() { return 0; }\n");
  dialogs.files = {tree.write(
      "db/compile_commands.json",
      "[{\"directory\": \"" + root + "\", \"file\": \"tool.cpp\", \"command\": \"cc -DX tool.cpp\"}]")};
  const int before = control<QTreeWidget>(sheet.pages(), "sources")->topLevelItemCount();
  dialogs.told.clear();
  sheet.importProject();
  EXPECT_TRUE(dialogs.told.empty()) << dialogs.lastTold();
  EXPECT_EQ(control<QTreeWidget>(sheet.pages(), "sources")->topLevelItemCount(), before + 1);
  dialogs.files = {tree.write("db/bad.json", "[")};
  sheet.importProject();
  EXPECT_NE(dialogs.lastTold().find("bad.json:1: "), std::string::npos) << dialogs.lastTold();
}

TEST_F(FrameSheetTest, TheReadableFormOpensAndSavesAsItself) {
  const std::string path =
      tree.write("docs.toml", "[arrangement]\nname = 'Readable'\n[output]\nshort_file_names = true\n");
  ASSERT_TRUE(sheet.openFile(path));
  EXPECT_EQ(sheet.configuration().documentName(), "Readable");
  EXPECT_TRUE(dialogs.told.empty());
  sheet.configuration().setDefines("A=1");
  ASSERT_TRUE(sheet.save());
  std::string text;
  ASSERT_TRUE(readFileContents(path, text));
  EXPECT_NE(text.find("defines = 'A=1'"), std::string::npos) << text;
  EXPECT_NE(text.find("short_file_names = true"), std::string::npos) << text;
  EXPECT_EQ(text.find("_style"), std::string::npos) << text;  // the standard styles stay left out
  EXPECT_EQ(sheet.recentFiles().entries().front(), path);
  EXPECT_EQ(dialogs.filters.size(), 0u);
  EXPECT_NE(std::string(text::kConfigurationFilter).find("*.toml"), std::string::npos);
}

TEST_F(FrameSheetTest, HelpOpensTheBundledDocumentationAndAboutNamesTheVersion) {
  const QList<QAction*> menus = sheet.menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  QMenu* help = menus[1]->menu();
  help->actions()[0]->trigger();
  ASSERT_EQ(dialogs.opened.size(), 1u);
  EXPECT_TRUE(fs::exists(dialogs.opened[0].toLocalFile().toStdString()));
  // Without a desktop opener the editor shows the documentation itself, at the section asked for.
  dialogs.desktopOpens = false;
  help->actions()[1]->trigger();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].anchor, std::string(kEditorHelpTopic));
  EXPECT_NE(dialogs.shown[0].markdown.find("## The configuration editor"), std::string::npos);
  CHelpViewer viewer("Help", QString::fromStdString(dialogs.shown[0].markdown), "the-configuration-editor");
  EXPECT_EQ(viewer.shownHeading(), "The configuration editor");
  help->actions()[2]->trigger();  // the web site
  EXPECT_NE(dialogs.lastTold().find("No program is set up to open https://"), std::string::npos);
  dialogs.desktopOpens = true;
  help->actions()[3]->trigger();
  EXPECT_NE(dialogs.lastTold().find("Quillet 2.1h"), std::string::npos);

  QStringList labels;
  for (const QAction* action : menus[0]->menu()->actions())
    if (!action->isSeparator()) labels << action->text() + "|" + action->shortcut().toString();
  EXPECT_EQ(labels, (QStringList{"&New Configuration|", "&Open Configuration...|Ctrl+O",
                                 "&Save Configuration|Ctrl+S", "Save Configuration &As ...|",
                                 "&Import Project ...|", "&Generate Documentation...|Ctrl+G", "E&xit|"}));
}

}  // namespace
}  // namespace quillet
