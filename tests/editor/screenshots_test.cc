// Renders every page of the main window, the progress window after a run, two of the edit dialogs, the
// documentation window and a failed open to PNG files under the build tree (editor-screens/), so that a
// person can look at them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <filesystem>

#include "config/configuration.h"
#include "editor/comment_tag_dialog.h"
#include "editor/config_page.h"
#include "editor/frame_sheet.h"
#include "editor/generate_progress.h"
#include "editor/help_viewer.h"
#include "editor/layout_dialogs.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

// Shows `widget`, lets it lay itself out and writes its picture to `name`.png; the file's size.
uintmax_t picture(QWidget& widget, const std::string& name) {
  widget.show();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const fs::path file = fs::path(QUILLET_SCREENSHOT_DIR) / (name + ".png");
  fs::create_directories(file.parent_path());
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(file.string()), "PNG")) << file;
  std::error_code error;
  return fs::file_size(file, error);
}

class ScreenshotsTest : public SheetTest {};

TEST_F(ScreenshotsTest, EveryPageAndTheProgressWindowArePictured) {
  const fs::path examples = fs::path(QUILLET_TEST_DATA) / "../../examples";
  ASSERT_TRUE(sheet.openFile((examples / "example.qlc").string()));
  CommentTag tag;
  tag.setTagName("@note");
  sheet.configuration().appendCommentTag(tag);
  sheet.reloadPages();
  const char* names[] = {"1-sources", "2-preprocessing",  "3-arrange", "4-style",
                         "5-options", "6-comment-filter", "7-metrics"};
  for (int i = 0; i < sheet.pages()->count(); ++i) {
    sheet.pages()->setCurrentIndex(i);
    EXPECT_GT(picture(sheet, names[i]), 1000u);
  }

  Configuration& configuration = sheet.configuration();
  configuration.setHtmlOutputFile(tree.path("html/index.html"));
  configuration.setRtfOutputFile(tree.path("rtf/shapes.rtf"));
  configuration.setWinHelpOutputFile(tree.path("winhelp/shapes.rtf"));
  CGenerateProgress progress(configuration, dialogs);
  ASSERT_TRUE(waitUntil([&] { return !progress.running() && !progress.statusText().isEmpty(); }));
  EXPECT_GT(picture(progress, "8-progress"), 1000u);

  CCommentTagDialog tag_dialog(tag, dialogs, nullptr);
  EXPECT_GT(picture(tag_dialog, "9-comment-tag-dialog"), 1000u);
  LayoutItem document;
  document.setKind(LayoutItem::kInsertDocument);
  document.setName("doc/intro.txt");
  document.setText("Introduction");
  auto document_dialog = makeLayoutItemDialog(document, LayoutItemPlace{}, dialogs, nullptr);
  EXPECT_GT(picture(*document_dialog, "10-document-dialog"), 1000u);

  // The documentation as the editor shows it without a desktop opener, and a configuration that failed to
  // open, told with its reason.
  dialogs.desktopOpens = false;
  openHelp(dialogs, kEditorHelpTopic);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  CHelpViewer viewer("Quillet Help", QString::fromStdString(dialogs.shown[0].markdown),
                     QString::fromStdString(dialogs.shown[0].anchor));
  EXPECT_GT(picture(viewer, "11-help-without-desktop-opener"), 1000u);
  EXPECT_FALSE(sheet.openFile("/nonexistent/docs.toml"));
  QMessageBox told(QMessageBox::Information, "Quillet", QString::fromStdString(dialogs.lastTold()));
  EXPECT_GT(picture(told, "12-open-failed"), 1000u);
}

}  // namespace
}  // namespace quillet
