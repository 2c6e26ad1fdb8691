#include "app/generation_run.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "app/compiler_view.h"
#include "app/document_builder.h"
#include "app/output_stage.h"
#include "app/source_list.h"
#include "common/file_services.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/builder/typedef_pass.h"
#include "frontend/preprocessor/module_parse.h"
#include "frontend/preprocessor/module_pipeline.h"
#include "frontend/preprocessor/source_colouring.h"
#include "stylesheet/link_index.h"
#include "stylesheet/style_sheet_cache.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// Publishes the run's configuration and message output for as long as the run lasts, with an empty style
// sheet cache at both ends so that a run always reads the style sheets as they are on disk.
class PublishedRun {
 public:
  PublishedRun(Configuration& configuration, MessageOutput& output) {
    clearStyleSheetCache();
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  ~PublishedRun() {
    setCurrentConfiguration(nullptr);
    setCurrentMessageOutput(nullptr);
    clearStyleSheetCache();
  }
  PublishedRun(const PublishedRun&) = delete;
  PublishedRun& operator=(const PublishedRun&) = delete;
};

// What the front end takes from the configuration: the configured include folders followed by the folders
// of the sources, the defines, and the scanning, recognition and comment switches. When a compiler is
// named, its predefined macros, its include folders (searched last, their headers read for macros only)
// and its answers to the condition operators; the sources stay documented wherever they lie.
FrontEndOptions frontEndOptions(const Configuration& configuration, const SourceList& sources) {
  FrontEndOptions options;
  options.includeDirectories = configuration.includeDirectories();
  options.includeDirectories.insert(options.includeDirectories.end(), sources.folders.begin(),
                                    sources.folders.end());
  options.defines = configuration.defineList();
  options.tabWidth = configuration.tabSize() > 0 ? static_cast<uint32_t>(configuration.tabSize()) : 8;
  options.macroComments = configuration.macroComments();
  options.reparseHeaders = configuration.reparseHeaders();
  options.traceTokens = configuration.traceTokens();
  options.verbose = configuration.verbose();
  options.commentsAfterPrototype = configuration.commentsAfterPrototype();
  options.commentsBeforePrototypes = configuration.commentsBeforePrototypes();
  options.parameterComments = configuration.parameterComments();
  if (!configuration.compiler().empty()) {
    if (std::optional<CompilerView> view =
            compilerView(configuration.compiler(), configuration.languageStandard())) {
      options.compilerMacros = std::move(view->macros);
      options.systemIncludeDirectories = std::move(view->includeFolders);
      options.compilerFeatures =
          std::make_shared<const std::map<std::string, int64_t, std::less<>>>(std::move(view->features));
      options.sourceFiles = std::make_shared<const std::unordered_set<std::string>>(sources.modules.begin(),
                                                                                    sources.modules.end());
    }
  }
  return options;
}

// Parses every module in turn into the run's code store, whose parsed-file list receives the names of the
// files each module read (the compiler's headers left out: they are not documented); a module already read
// as a header of an earlier module is skipped. Any failure escaping one module becomes one error line and
// the run goes on. The comments assigned by directives are applied once parsing ends. With more than one
// job, the modules are preprocessed on a thread of their own, ahead of this one, which recognizes their
// declarations.
void parseModules(const Configuration& configuration, const SourceList& sources, CodeStore& store,
                  unsigned jobs) {
  const FrontEndOptions options = frontEndOptions(configuration, sources);
  HeaderCache header_cache;
  std::optional<ModulePipeline> pipeline;
  if (jobs > 1) pipeline.emplace(sources.modules, options, header_cache, !configuration.reparseHeaders());
  for (size_t index = 0; index < sources.modules.size(); ++index) {
    const std::string& module = sources.modules[index];
    reportModuleProgress(index, sources.modules.size());
    if (runCanceled()) break;
    if (configuration.verbose()) reportStatus("Parsing file: " + module);
    if (pipeline ? !pipeline->begin(index) : header_cache.contains(module)) continue;
    std::string reading = module;  // the file being read when something goes wrong
    try {
      auto read_all = [&reading, &store](TokenStream& tokens) {
        try {
          CppDocumentParse builder(store, tokens.options());
          builder.Parse(tokens);
        } catch (...) {
          if (!tokens.currentFileName().empty()) reading = tokens.currentFileName();
          throw;
        }
      };
      std::vector<HeaderRecordPtr> records;
      if (pipeline) {
        try {
          read_all(pipeline->tokens());
        } catch (...) {
          pipeline->fail();
          throw;
        }
        records = pipeline->end();  // the pipeline entered them into the header cache
      } else {
        records = parseModule(module, options, header_cache, read_all);
        if (!configuration.reparseHeaders()) header_cache.add(records);
      }
      for (const HeaderRecordPtr& record : records)
        if (!record->system) store.parsedFiles.push_back(record->fileName);
    } catch (...) {
      reportMessage("error: (" + module + ") unexpected problem parsing file " + reading);
    }
  }
  pipeline.reset();
  reportModuleProgress(sources.modules.size(), sources.modules.size());
  header_cache.clear();
  store.ApplyAssignedComments();
}

}  // namespace

void runGeneration(Configuration& configuration, MessageOutput& output, unsigned jobs) {
  PublishedRun published(configuration, output);
  forgetPathCaches();  // folders may have changed since the last run in this process
  if (output.isCanceled()) return;
  if (configuration.arrangement().childCount() == 0) {
    output.report(
        "error: At least one arrange entry is needed in every configuration.  No documentation can be "
        "generated.");
    return;
  }
  if (configuration.htmlOutputFile().empty() && configuration.rtfOutputFile().empty() &&
      configuration.winHelpOutputFile().empty()) {
    output.report(
        "error: At least one output file name from the style tab is needed in every configuration.  No "
        "documentation can be generated.");
    return;
  }

  const SourceList sources = buildSourceList(configuration);
  CodeStore store;
  const unsigned threads = jobs > 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
  parseModules(configuration, sources, store, threads);
  if (output.isCanceled()) return;

  if (configuration.verbose()) output.status("Building Document");
  Document document;
  document.setSourceColourer(colourSource);
  DocumentedFiles documented;
  buildDocument(configuration, store, document, documented);
  if (output.isCanceled()) return;

  if (configuration.verbose()) output.status("Sorting Document");
  document.sort([&store](ClassDictionary& dictionary) { addTypedefsToDictionary(store, dictionary); });
  if (output.isCanceled()) return;

  // A typedef of a type with a link target links where that type does.
  const std::vector<TypedefTarget> typedefs = typedefTargets(store);
  const auto add_typedef_links = [&typedefs](LinkIndex& links) {
    for (const TypedefTarget& typedef_target : typedefs) {
      if (const LinkIndex::Entry* target = links.findNamed(typedef_target.followedType))
        links.addTypedef(typedef_target.name, *target);
    }
  };
  // The formats share the style sheets' budget; a format that could not be written stops the others.
  OutputRun output_run(configuration);
  output_run.jobs = threads;
  if (!configuration.htmlOutputFile().empty())
    writeOutput(output_run, document, kHtmlFormat, add_typedef_links);
  if (!configuration.rtfOutputFile().empty())
    writeOutput(output_run, document, kRtfFormat, add_typedef_links);
  if (!configuration.winHelpOutputFile().empty())
    writeOutput(output_run, document, kWinHelpFormat, add_typedef_links);
  if (configuration.reportUndocumented())
    reportUndocumentedFiles(store.parsedFiles, documented, document.declaringFiles());
}

}  // namespace quillet
