#include "editor/editor_main.h"

#include <QApplication>
#include <cstdlib>
#include <ostream>

#include "editor/frame_sheet.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool editorDisplayAvailable() {
  return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

int runEditor(int argc, char** argv, const std::string& config_file, std::ostream& err) {
  if (!editorDisplayAvailable()) {
    err << "quillet: the configuration editor needs a display, and none is set (DISPLAY, WAYLAND_DISPLAY "
           "or QT_QPA_PLATFORM); -C runs in batch mode: quillet -C -qlc file.qlc"
        << std::endl;
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(toQString("Quillet"));
  CFrameSheet sheet;
  if (!config_file.empty()) sheet.openFile(config_file);
  sheet.show();
  return QApplication::exec();
}

}  // namespace quillet
