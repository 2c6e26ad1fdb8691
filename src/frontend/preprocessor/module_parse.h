// Parsing one module of a generation run. The run's module loop calls parseModule for each source file
// that no earlier module read; it gets back the records of the files the module read (the module and its
// headers), enters their names in the list of parsed files and, unless headers are reparsed, adds them to
// the run's header cache so that later modules replay those headers instead of reading them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet {

/// Reads the token stream of one module, normally to its end (the code model builder's parse).
using ModuleReader = std::function<void(Preprocessor&)>;

/// Preprocesses `module_file` with the front end's `options` against `header_cache`, handing the token
/// stream to `read` (when empty, the tokens are read to the end and dropped; a cancelled run stops early).
/// Returns the records of the files read, the module's first.
std::vector<HeaderRecordPtr> parseModule(const std::string& module_file, const FrontEndOptions& options,
                                         HeaderCache& header_cache, const ModuleReader& read = {});

}  // namespace quillet
