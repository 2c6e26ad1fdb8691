#include "editor/frame_sheet.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "config/settings_file.h"
#include "editor/document_title.h"
#include "editor/editor_text.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using Answer = EditorDialogs::Answer;

// A main window over scripted dialogs, with its recent-file list kept in `tree`.
struct Window {
  explicit Window(const TempTree& tree) {
    auto owned = std::make_unique<ScriptedDialogs>();
    dialogs = owned.get();
    sheet = std::make_unique<CFrameSheet>(std::move(owned), tree.path("settings/quillet.ini"));
  }
  ~Window() {
    dialogs->answers.assign(1, Answer::kNo);  // closing never blocks on unsaved changes
    sheet->close();
  }
  ScriptedDialogs* dialogs;
  std::unique_ptr<CFrameSheet> sheet;
};

// A configuration file at `path` whose settings show on every page.
void writeConfiguration(const std::string& path, const std::string& name) {
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
  ASSERT_TRUE(configuration.save(path));
}

// The file `path` with its first line (the version) replaced by `version`.
void setFileVersion(const std::string& path, const std::string& version) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text.replace(0, text.find('\r'), version);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class FrameSheetTest : public EditorTest {};

TEST_F(FrameSheetTest, TitleNamesTheFileAndSaysWhenItIsReadOnly) {
  TempTree tree;
  EXPECT_EQ(windowTitleFor("Untitled.qlc"), "Untitled - Quillet");
  const std::string path = tree.write("docs/project.v2.qlc", "3\r\n");
  EXPECT_EQ(windowTitleFor(path), "project.v2 - Quillet");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(windowTitleFor(path), "project.v2 (read only) - Quillet");
  EXPECT_EQ(windowTitleFor(tree.path("missing.qlc")), "missing - Quillet");

  Window window(tree);
  EXPECT_EQ(window.sheet->windowTitle(), "Untitled - Quillet");
  writeConfiguration(tree.path("shapes.qlc"), "Shapes");
  ASSERT_TRUE(window.sheet->openFile(tree.path("shapes.qlc")));
  EXPECT_EQ(window.sheet->windowTitle(), "shapes - Quillet");
}

TEST_F(FrameSheetTest, SaveChangesPromptGoesOnStopsOrSavesFirst) {
  TempTree tree;
  Window window(tree);
  Configuration& configuration = window.sheet->configuration();
  ScriptedDialogs& dialogs = *window.dialogs;

  // Unchanged: nothing is asked.
  EXPECT_TRUE(window.sheet->newConfiguration());
  EXPECT_TRUE(dialogs.questions.empty());

  configuration.setDocumentName("Kept");
  dialogs.answers = {Answer::kCancel};
  EXPECT_FALSE(window.sheet->newConfiguration());
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{std::string(text::kSaveChanges)});
  EXPECT_EQ(configuration.documentName(), "Kept");

  // Yes on a new configuration asks for a file name; cancelling that stops the command too.
  dialogs.answers = {Answer::kYes};
  EXPECT_FALSE(window.sheet->newConfiguration());
  EXPECT_EQ(dialogs.proposals, std::vector<std::string>{"Kept.qlc"});
  EXPECT_EQ(configuration.documentName(), "Kept");

  dialogs.answers = {Answer::kYes};
  dialogs.files = {tree.path("kept")};  // the extension is added
  EXPECT_TRUE(window.sheet->newConfiguration());
  Configuration saved;
  ASSERT_TRUE(saved.load(tree.path("kept.qlc")));
  EXPECT_EQ(saved.documentName(), "Kept");
  EXPECT_EQ(configuration.documentName(), "untitled");
  EXPECT_EQ(window.sheet->filePath(), "Untitled.qlc");

  configuration.setDocumentName("Dropped");
  dialogs.answers = {Answer::kNo};
  EXPECT_TRUE(window.sheet->newConfiguration());
  EXPECT_EQ(configuration.documentName(), "untitled");
  EXPECT_FALSE(configuration.modified());
}

TEST_F(FrameSheetTest, NewAndOpenShowTheConfigurationOnEveryPage) {
  TempTree tree;
  writeConfiguration(tree.path("project/shown.qlc"), "Shown");
  Window window(tree);
  CFrameSheet& sheet = *window.sheet;
  QTabWidget* pages = sheet.pages();
  ASSERT_EQ(pages->count(), 7);
  const char* titles[] = {"Sources", "Preprocessing",  "Arrange", "Style",
                          "Options", "Comment Filter", "Metrics"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(pages->tabText(i), titles[i]);

  auto shown = [&] {
    std::vector<std::string> values;
    values.push_back(std::to_string(control<QTreeWidget>(pages, "sources")->topLevelItemCount()));
    values.push_back(control<QLineEdit>(pages, "defines")->text().toStdString());
    values.push_back(
        std::to_string(control<QTreeWidget>(pages, "arrangement")->topLevelItem(0)->childCount()));
    values.push_back(control<QLineEdit>(pages, "outputName")->text().toStdString());
    values.push_back(control<QLineEdit>(pages, "documentName")->text().toStdString());
    values.push_back(std::to_string(control<QListWidget>(pages, "tags")->count()));
    values.push_back(control<QComboBox>(pages, "metricLevel")->currentText().toStdString());
    return values;
  };
  const std::vector<std::string> defaults = {
      "0", "", "0", "", "untitled", "0", "Summary and Detailed Metrics"};
  EXPECT_EQ(shown(), defaults);

  window.dialogs->files = {tree.path("project/shown.qlc")};
  ASSERT_TRUE(sheet.openConfiguration());
  EXPECT_EQ(shown(),
            (std::vector<std::string>{"1", "SHOWN=1", "1", "out/index.html", "Shown", "1", "No Metrics"}));
  // Relative paths of the configuration are taken from its folder.
  EXPECT_EQ(fs::current_path(), fs::path(tree.path("project")));
  EXPECT_FALSE(sheet.configuration().modified());

  ASSERT_TRUE(sheet.newConfiguration());
  EXPECT_EQ(shown(), defaults);
}

TEST_F(FrameSheetTest, UnreadableFilesAreNamedInTheirMessageAndLeaveANewConfiguration) {
  TempTree tree;
  Window window(tree);
  writeConfiguration(tree.path("newer.qlc"), "Newer");
  setFileVersion(tree.path("newer.qlc"), "4");
  writeConfiguration(tree.path("older.qlc"), "Older");
  setFileVersion(tree.path("older.qlc"), "1");
  tree.write("broken.qlc", "3\r\n9\r\n\"short");
  const std::pair<std::string, std::string_view> cases[] = {
      {tree.path("newer.qlc"), text::kNewerVersion},
      {tree.path("older.qlc"), text::kNotAConfiguration},
      {tree.path("broken.qlc"), text::kReadError},
      {tree.path("absent.qlc"), text::kReadError},
  };
  for (const auto& [path, message] : cases) {
    window.sheet->configuration().setDocumentName("Before");
    window.sheet->configuration().setModified(false);
    EXPECT_FALSE(window.sheet->openFile(path));
    EXPECT_EQ(window.dialogs->lastTold(), formatMessage(message, {path}));
    EXPECT_EQ(window.sheet->filePath(), "Untitled.qlc");
    EXPECT_EQ(window.sheet->configuration().documentName(), "untitled");
  }
  EXPECT_TRUE(window.sheet->recentFiles().entries().empty());
}

TEST_F(FrameSheetTest, SavingAnOlderFileAsksOnceAndAReadOnlyFileGoesToSaveAs) {
  TempTree tree;
  Window window(tree);
  ScriptedDialogs& dialogs = *window.dialogs;
  const std::string older = tree.path("older.qlc");
  writeConfiguration(older, "Older");
  setFileVersion(older, "2");
  ASSERT_TRUE(window.sheet->openFile(older));

  window.sheet->configuration().setDefines("CHANGED");
  dialogs.answers = {Answer::kNo};
  EXPECT_FALSE(window.sheet->save());
  EXPECT_EQ(dialogs.questions.back(), text::kOlderVersionSave);
  Configuration on_disk;
  ASSERT_TRUE(on_disk.load(older));
  EXPECT_EQ(on_disk.version(), 2);

  dialogs.answers = {Answer::kYes};
  EXPECT_TRUE(window.sheet->save());
  ASSERT_TRUE(on_disk.load(older));
  EXPECT_EQ(on_disk.defines(), "CHANGED");
  EXPECT_EQ(on_disk.version(), 3);
  const size_t asked = dialogs.questions.size();
  window.sheet->configuration().setDefines("AGAIN");
  EXPECT_TRUE(window.sheet->save());
  EXPECT_EQ(dialogs.questions.size(), asked);  // the file is of the current version now

  fs::permissions(older, fs::perms::owner_read);
  window.sheet->configuration().setDefines("ELSEWHERE");
  dialogs.files = {tree.path("copy.qlc")};
  EXPECT_TRUE(window.sheet->save());
  EXPECT_EQ(dialogs.proposals.back(), "Older.qlc");
  EXPECT_EQ(window.sheet->filePath(), tree.path("copy.qlc"));
  ASSERT_TRUE(on_disk.load(tree.path("copy.qlc")));
  EXPECT_EQ(on_disk.defines(), "ELSEWHERE");
}

TEST_F(FrameSheetTest, AFailedSaveIsReportedAndTheChangesStayUnsaved) {
  TempTree tree;
  Window window(tree);
  window.sheet->configuration().setDocumentName("Lost");
  const std::string unwritable = tree.path("no/such/folder/lost.qlc");
  window.dialogs->files = {unwritable};
  EXPECT_FALSE(window.sheet->saveAs());
  EXPECT_TRUE(window.sheet->lastSaveFailed());
  EXPECT_EQ(window.dialogs->lastTold(), formatMessage(text::kWriteError, {unwritable}));
  EXPECT_EQ(window.sheet->filePath(), "Untitled.qlc");
  // Closing still asks, so the changes are not silently dropped.
  window.dialogs->answers = {Answer::kCancel};
  EXPECT_FALSE(window.sheet->close());
  EXPECT_EQ(window.dialogs->questions.back(), text::kSaveChanges);
}

TEST_F(FrameSheetTest, RecentFilesKeepNineShowFiveAndForgetMissingFiles) {
  TempTree tree;
  std::vector<std::string> paths;
  for (int i = 1; i <= 10; ++i) {
    paths.push_back(tree.path("p" + std::to_string(i) + "/c&" + std::to_string(i) + ".qlc"));
    writeConfiguration(paths.back(), "Doc" + std::to_string(i));
  }
  {
    Window window(tree);
    for (const std::string& path : paths) ASSERT_TRUE(window.sheet->openFile(path));
    const std::vector<std::string>& entries = window.sheet->recentFiles().entries();
    ASSERT_EQ(entries.size(), 9u);
    EXPECT_EQ(entries.front(), paths[9]);
    EXPECT_EQ(entries.back(), paths[1]);  // the first file opened was pushed out
    EXPECT_EQ(window.sheet->recentMenuLabels(),
              (std::vector<std::string>{"&1 " + tree.path("p10/c&&10.qlc"), "&2 " + tree.path("p9/c&&9.qlc"),
                                        "&3 " + tree.path("p8/c&&8.qlc"), "&4 " + tree.path("p7/c&&7.qlc"),
                                        "&5 " + tree.path("p6/c&&6.qlc")}));

    ASSERT_TRUE(window.sheet->openRecent(3));  // moved to the top
    EXPECT_EQ(window.sheet->recentFiles().entries().front(), paths[6]);
    EXPECT_EQ(window.sheet->configuration().documentName(), "Doc7");

    fs::remove(paths[9]);
    EXPECT_FALSE(window.sheet->openRecent(1));
    EXPECT_EQ(window.dialogs->lastTold(), formatMessage(text::kRecentFileMissing, {paths[9]}));
    EXPECT_EQ(window.sheet->recentFiles().entries().size(), 8u);
    EXPECT_EQ(window.sheet->recentMenuLabels()[1], "&2 " + tree.path("p9/c&&9.qlc"));
  }
  // Written back on closing, all nine slots, and read at the next start.
  SettingsFile settings;
  ASSERT_TRUE(settings.load(tree.path("settings/quillet.ini")));
  EXPECT_EQ(settings.value("MRU", "File1"), paths[6]);
  EXPECT_EQ(settings.value("MRU", "File9"), "");
  Window again(tree);
  EXPECT_EQ(again.sheet->recentFiles().entries().size(), 8u);
  EXPECT_EQ(again.sheet->recentMenuLabels().size(), 5u);
}

TEST_F(FrameSheetTest, RecentFilesLiveInTheUsersSettingsFileBesideOtherSettings) {
  TempTree tree;
  const std::string user_settings = SettingsFile::userSettingsPath();
  ASSERT_EQ(user_settings.rfind(std::getenv("XDG_CONFIG_HOME"), 0), 0u);  // set by the test main
  SettingsFile before;
  before.setValue("General", "Styles", "/somewhere/styles");
  ASSERT_TRUE(before.save(user_settings));
  writeConfiguration(tree.path("one.qlc"), "One");
  {
    CFrameSheet sheet(std::make_unique<ScriptedDialogs>());
    ASSERT_TRUE(sheet.openFile(tree.path("one.qlc")));
    EXPECT_TRUE(sheet.close());
  }
  SettingsFile after;
  ASSERT_TRUE(after.load(user_settings));
  EXPECT_EQ(after.value("General", "Styles"), "/somewhere/styles");
  EXPECT_EQ(after.value("MRU", "File1"), tree.path("one.qlc"));
  fs::remove(user_settings);
}

TEST_F(FrameSheetTest, ImportReportsAFileThatIsNoProjectAndShowsWhatWasAdded) {
  TempTree tree;
  Window window(tree);
  const std::string not_a_project = tree.write("notes.dsp", "hello\n");
  window.dialogs->files = {not_a_project};
  window.sheet->importProject();
  EXPECT_EQ(window.dialogs->lastTold(), formatMessage(text::kImportFailed, {not_a_project}));
  EXPECT_TRUE(window.sheet->configuration().modified());

  window.dialogs->told.clear();
  window.dialogs->files = {fs::absolute(QUILLET_TEST_DATA "/import/geometry/geometry.dsw").string()};
  window.sheet->importProject();
  EXPECT_TRUE(window.dialogs->told.empty());
  EXPECT_GT(control<QTreeWidget>(window.sheet->pages(), "sources")->topLevelItemCount(), 0);
  EXPECT_EQ(control<QLineEdit>(window.sheet->pages(), "documentName")->text(), "geometry");
}

TEST_F(FrameSheetTest, HelpOpensTheBundledDocumentationAndAboutNamesTheVersion) {
  TempTree tree;
  Window window(tree);
  const QList<QAction*> menus = window.sheet->menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  QMenu* help = menus[1]->menu();
  help->actions()[0]->trigger();
  ASSERT_EQ(window.dialogs->opened.size(), 1u);
  EXPECT_TRUE(fs::exists(window.dialogs->opened[0].toLocalFile().toStdString()));
  help->actions()[3]->trigger();
  EXPECT_NE(window.dialogs->lastTold().find("Quillet 2.1h"), std::string::npos);

  QMenu* file = menus[0]->menu();
  QStringList labels;
  for (const QAction* action : file->actions())
    if (!action->isSeparator()) labels << action->text() + "|" + action->shortcut().toString();
  EXPECT_EQ(labels, (QStringList{"&New Configuration|", "&Open Configuration...|Ctrl+O",
                                 "&Save Configuration|Ctrl+S", "Save Configuration &As ...|",
                                 "&Import Project ...|", "&Generate Documentation...|Ctrl+G", "E&xit|"}));
}

}  // namespace
}  // namespace quillet
