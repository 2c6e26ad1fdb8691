#include "frontend/preprocessor/header_cache.h"

#include <utility>

namespace quillet {

MacroPtr makeMacro(std::string name, bool function_like, std::vector<std::string> parameters,
                   std::vector<token_t> replacement, bool variadic) {
  auto macro = std::make_shared<Macro>();
  macro->name = std::move(name);
  macro->nameHash = macroNameHash(macro->name);
  macro->functionLike = function_like;
  macro->variadic = function_like && variadic && !parameters.empty();
  macro->parameters = std::move(parameters);
  macro->replacement = std::move(replacement);
  macro->parameterOf.assign(macro->replacement.size(), -1);
  for (size_t i = 0; i < macro->replacement.size(); ++i) {
    const token_t& token = macro->replacement[i];
    if (token.kind == T_PASTE) macro->pastes = true;
    macro->replacementBytes += token.text.size();
    if (!isWordKind(token.kind)) continue;
    for (size_t p = 0; p < macro->parameters.size(); ++p) {
      if (macro->parameters[p] == token.text) {
        macro->parameterOf[i] = static_cast<int32_t>(p);
        break;
      }
    }
  }
  return macro;
}

const HeaderRecord* HeaderCache::find(std::string_view file_name) const {
  auto it = records_.find(file_name);
  return it == records_.end() ? nullptr : it->second.get();
}

std::shared_ptr<const MacroTable> HeaderCache::predefined(const std::vector<std::string>& defines,
                                                          const std::vector<std::string>& compiler_macros,
                                                          const std::function<MacroTable()>& make) {
  if (!predefined_ || defines != predefinedDefines_ || compiler_macros != predefinedCompilerMacros_) {
    predefined_ = std::make_shared<const MacroTable>(make());
    predefinedDefines_ = defines;
    predefinedCompilerMacros_ = compiler_macros;
  }
  return predefined_;
}

void HeaderCache::add(std::vector<HeaderRecordPtr> records) {
  for (HeaderRecordPtr& record : records) {
    if (!record) continue;
    std::string name = record->fileName;
    if (records_.try_emplace(name, std::move(record)).second) journal_.push_back(std::move(name));
  }
}

bool HeaderCache::firstMissing(const std::string& name) {
  if (!missing_.insert(name).second) return false;
  journal_.push_back("\n" + name);
  return true;
}

void HeaderCache::rollBack(size_t position) {
  while (journal_.size() > position) {
    const std::string& entry = journal_.back();
    if (!entry.empty() && entry.front() == '\n') {
      missing_.erase(entry.substr(1));
    } else {
      records_.erase(entry);
    }
    journal_.pop_back();
  }
}

}  // namespace quillet
