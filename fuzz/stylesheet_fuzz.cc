// Fuzzes the style sheet reader and the template evaluator over a small fixed document: classes in a
// namespace (one nested, one a template), free functions with parameters and bodies, an enumeration,
// comments, two chapters and an embedded text, built once from source text. Each input is split at its
// first zero byte into a main style sheet and a second one ("part.html" or "part.rtf", for new_file and
// copy_file); its first byte chooses the output kind and short file names. Both passes of the output stage
// run under a small evaluation budget, writing into an in-memory file system. Any crash, hang, leak or
// sanitizer report is a finding, and so is a file written outside the output folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/document_builder.h"
#include "app/output_stage.h"
#include "common/memory_file_system.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/builder/typedef_pass.h"
#include "frontend/preprocessor/module_parse.h"
#include "stylesheet/style_sheet_cache.h"
#include "template_objects/style_sheet_filter.h"

namespace {

using namespace quillet;

class SilentOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view) override {}
};

constexpr const char* kSource =
    "#define EXPORT\n"
    "namespace geo {\n"
    "/// A figure in the plane. See Circle.\n"
    "class EXPORT Shape {\n"
    "public:\n"
    "  /// Returns the area.\n"
    "  virtual double Area() const = 0;\n"
    "  /// Moves by dx and dy.\n"
    "  void MoveBy(int dx, int dy = 0);\n"
    "  static int count;\n"
    "  enum Kind { kRound, kSquare = 4 };\n"
    "  struct Corner { int x; };\n"
    "protected:\n"
    "  int id_;  ///< the identity\n"
    "};\n"
    "/// A circle.\n"
    "class Circle : public Shape {\n"
    "public:\n"
    "  double Area() const { if (r > 0) return 3.14 * r * r; return 0; }\n"
    "private:\n"
    "  double r;\n"
    "};\n"
    "template <typename T> struct Box { T value; T get() const; };\n"
    "typedef Box<int> IntBox;\n"
    "}\n"
    "/// The colours.\n"
    "enum Colour { Red = 1, Green };\n"
    "/// Adds two numbers.\n"
    "/// @param a the first\n"
    "int add(int a, int b) { for (int i = 0; i < b; ++i) { if (i) a++; } return a; }\n"
    "void geo::Shape::MoveBy(int dx, int dy) { id_ += dx + dy; }\n";

struct FixedModel {
  Configuration configuration;
  CodeStore store;
  Document document;
};

// Parses the fixed source and builds and sorts its document, once for the process.
FixedModel& fixedModel() {
  static FixedModel* model = [] {
    auto* built = new FixedModel;
    MemoryFileSystem files;
    ScopedFileSystem installed(files);
    files.addFile("/src/geo.cpp", kSource);
    SilentOutput output;
    Configuration& configuration = built->configuration;
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
    LayoutItem& root = configuration.mutableArrangement();
    root.setName("Geometry");
    LayoutItem* text = root.addChild();
    text->setKind(LayoutItem::kText);
    text->setName("Introduction");
    text->setText("About the library. See Circle and add.");
    LayoutItem* shapes = root.addChild();
    shapes->setKind(LayoutItem::kChapter);
    shapes->setName("Shapes");
    LayoutItem* classes = shapes->addChild();
    classes->setKind(LayoutItem::kClassesByName);
    classes->setName(".*");
    LayoutItem* functions = root.addChild();
    functions->setKind(LayoutItem::kChapter);
    functions->setName("Functions");
    LayoutItem* free = functions->addChild();
    free->setKind(LayoutItem::kFunctionsByName);
    free->setName(".*");

    HeaderCache cache;
    FrontEndOptions options;
    const std::vector<HeaderRecordPtr> records =
        parseModule("/src/geo.cpp", options, cache, [built, &options](Preprocessor& preprocessor) {
          CppDocumentParse builder(built->store, options);
          builder.Parse(preprocessor);
        });
    for (const HeaderRecordPtr& record : records) built->store.parsedFiles.push_back(record->fileName);
    built->store.ApplyAssignedComments();
    DocumentedFiles documented;
    buildDocument(configuration, built->store, built->document, documented);
    built->document.sort(
        [built](ClassDictionary& dictionary) { addTypedefsToDictionary(built->store, dictionary); });
    setCurrentConfiguration(nullptr);
    setCurrentMessageOutput(nullptr);
    return built;
  }();
  return *model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FixedModel& model = fixedModel();
  const uint8_t options = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t zero = rest.find('\0');
  const std::string_view main = rest.substr(0, zero);
  const std::string_view part = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  const bool rtf = (options & 1) != 0;

  MemoryFileSystem files;
  ScopedFileSystem installed(files);
  files.setEnvironment("QUILLET_STYLES", "/s");
  const std::string folder = rtf ? "/s/RTF/Standard Style/" : "/s/HTML/Standard Style/";
  files.addFile(folder + (rtf ? "main.rtf" : "main.html"), main);
  files.addFile(folder + (rtf ? "part.rtf" : "part.html"), part);
  files.addFile(folder + "logo.gif", "GIF89a");
  files.addFolder("/out");

  Configuration& configuration = model.configuration;
  configuration.setHtmlOutputFile(rtf ? "" : "/out/index.html");
  configuration.setRtfOutputFile(rtf ? "/out/manual.rtf" : "");
  configuration.setShortFileNames((options & 2) != 0);
  configuration.setMetricLevel((options >> 2) % 3);
  configuration.setMaxEvaluationSteps(200000);
  configuration.setMaxOutputBytes(1 << 20);
  SilentOutput output;
  setCurrentConfiguration(&configuration);
  setCurrentMessageOutput(&output);
  clearStyleSheetCache();
  writeOutput(model.document, rtf ? kRtfFormat : kHtmlFormat);
  clearStyleSheetCache();
  setCurrentConfiguration(nullptr);
  setCurrentMessageOutput(nullptr);

  for (const std::string& path : files.filePaths()) {
    if (!path.starts_with("/out/") && !path.starts_with("/s/")) {
      std::fprintf(stderr, "a style sheet wrote %s, outside the output folder\n", path.c_str());
      std::abort();
    }
  }
  return 0;
}
