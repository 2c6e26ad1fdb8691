#include "app/compiler_view.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "common/process_runner.h"

namespace quillet {

namespace {

constexpr std::string_view kCacheHeader = "quillet compiler view 1";
constexpr int kTimeoutSeconds = 60;

// The names the condition operators are asked about: those real headers (the C and C++ libraries,
// compiler headers, googletest, Boost, fmt, LLVM) test for. A name the compiler does not know answers 0.
struct Probe {
  const char* operation;
  std::vector<const char*> names;
};

const std::vector<Probe>& probes() {
  static const std::vector<Probe> table = {
      {"__has_cpp_attribute",
       {"assume", "carries_dependency", "clang::fallthrough", "clang::require_constant_initialization",
        "deprecated", "fallthrough", "gnu::always_inline", "gnu::fallthrough", "gnu::unused", "likely",
        "maybe_unused", "no_unique_address", "nodiscard", "noreturn", "unlikely"}},
      {"__has_attribute",
       {"always_inline",
        "assume_aligned",
        "cold",
        "const",
        "deprecated",
        "disable_tail_calls",
        "enable_if",
        "fallthrough",
        "format",
        "hot",
        "malloc",
        "may_alias",
        "minsize",
        "no_profile_instrument_function",
        "no_sanitize",
        "no_sanitize_thread",
        "no_thread_safety_analysis",
        "no_unique_address",
        "nodebug",
        "nodiscard",
        "noinline",
        "nonnull",
        "nonstring",
        "noreturn",
        "preserve_most",
        "pure",
        "require_constant_initialization",
        "returns_nonnull",
        "sentinel",
        "trivial_abi",
        "unused",
        "used",
        "visibility",
        "warn_unused_result",
        "weak"}},
      {"__has_builtin",
       {"__builtin_FILE",
        "__builtin_FUNCTION",
        "__builtin_LINE",
        "__builtin_add_overflow",
        "__builtin_addressof",
        "__builtin_assume",
        "__builtin_assume_aligned",
        "__builtin_bit_cast",
        "__builtin_clz",
        "__builtin_clzll",
        "__builtin_constant_p",
        "__builtin_copysign",
        "__builtin_ctz",
        "__builtin_ctzll",
        "__builtin_debugtrap",
        "__builtin_expect",
        "__builtin_frame_address",
        "__builtin_is_constant_evaluated",
        "__builtin_is_corresponding_member",
        "__builtin_is_pointer_interconvertible_with_class",
        "__builtin_isinf",
        "__builtin_launder",
        "__builtin_memcmp",
        "__builtin_memcpy",
        "__builtin_memset",
        "__builtin_mul_overflow",
        "__builtin_nan",
        "__builtin_operator_new",
        "__builtin_popcount",
        "__builtin_sadd_overflow",
        "__builtin_smul_overflow",
        "__builtin_source_location",
        "__builtin_ssub_overflow",
        "__builtin_strlen",
        "__builtin_sub_overflow",
        "__builtin_trap",
        "__builtin_uadd_overflow",
        "__builtin_unreachable",
        "__has_unique_object_representations",
        "__is_aggregate",
        "__is_layout_compatible",
        "__is_pointer_interconvertible_base_of",
        "__is_same",
        "__make_integer_seq",
        "__type_pack_element"}},
      {"__has_feature",
       {"address_sanitizer", "cxx_alias_templates", "cxx_attributes", "cxx_constexpr", "cxx_decltype",
        "cxx_exceptions", "cxx_generic_lambdas", "cxx_lambdas", "cxx_noexcept", "cxx_nullptr", "cxx_rtti",
        "cxx_rvalue_references", "cxx_static_assert", "cxx_thread_local", "cxx_variadic_templates",
        "hwaddress_sanitizer", "memory_sanitizer", "thread_sanitizer"}},
      {"__has_extension", {"attribute_deprecated_with_message", "cxx_binary_literals"}},
  };
  return table;
}

// The text handed to the compiler: for each operator it has, one line naming it and one line per name
// with its answer. The lines carry numbers into the probe table, not names: the compiler would expand the
// operators' names, and the attribute and builtin names might be macros.
std::string probeText() {
  std::string text;
  for (size_t p = 0; p < probes().size(); ++p) {
    const Probe& probe = probes()[p];
    const std::string operation = probe.operation;
    text += "#ifdef " + operation + "\nquillet_operator " + std::to_string(p) + "\n";
    for (size_t n = 0; n < probe.names.size(); ++n)
      text += "quillet_probe " + std::to_string(p) + " " + std::to_string(n) + " " + operation + "(" +
              probe.names[n] + ")\n";
    text += "#endif\n";
  }
  return text;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    visit(text.substr(start, end - start));
    start = end + 1;
  }
}

// The folders between "#include <...> search starts here:" and "End of search list." in what "-v" prints.
std::vector<std::string> searchList(std::string_view errors) {
  std::vector<std::string> folders;
  bool inside = false;
  forEachLine(errors, [&](std::string_view line) {
    if (line.starts_with("#include <...> search starts here:")) {
      inside = true;
    } else if (line.starts_with("End of search list.")) {
      inside = false;
    } else if (inside && !line.empty() && line[0] == ' ') {
      std::string_view folder = trimmed(line);
      constexpr std::string_view kFramework = " (framework directory)";
      if (folder.ends_with(kFramework)) folder.remove_suffix(kFramework.size());
      if (!folder.empty()) folders.emplace_back(folder);
    }
  });
  return folders;
}

// The answers in the preprocessed probe text: "quillet_operator P" and "quillet_probe P N VALUE".
void readProbes(std::string_view output, CompilerView& view) {
  forEachLine(output, [&](std::string_view line) {
    const std::string text(trimmed(line));
    unsigned long p = 0;
    unsigned long n = 0;
    long long value = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "quillet_operator %lu%n", &p, &used) == 1 &&
        static_cast<size_t>(used) == text.size() && p < probes().size()) {
      view.features[probes()[p].operation] = 1;
    } else if (std::sscanf(text.c_str(), "quillet_probe %lu %lu %lli", &p, &n, &value) == 3 &&
               p < probes().size() && n < probes()[p].names.size() && value != 0) {
      // Unknown names answer 0 and are not kept.
      view.features[std::string(probes()[p].operation) + " " + probes()[p].names[n]] = value;
    }
  });
}

uint64_t fnv1a(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// The cache file for a compiler, or empty when the user has no cache folder.
std::string cacheFile(const std::string& path, int64_t modified, const std::string& standard) {
  std::string folder = environmentValue("XDG_CACHE_HOME");
  if (folder.empty()) {
    const std::string home = environmentValue("HOME");
    if (home.empty()) return {};
    folder = home + "/.cache";
  }
  char name[32];
  std::snprintf(
      name, sizeof name, "%016llx",
      static_cast<unsigned long long>(fnv1a(path + "\n" + std::to_string(modified) + "\n" + standard)));
  return folder + "/quillet/compiler-" + name + ".txt";
}

std::optional<CompilerView> takeView(const std::string& compiler, const std::string& path,
                                     const std::string& standard) {
  std::vector<std::string> macro_run = {path, "-dM", "-E", "-x", "c++"};
  std::vector<std::string> probe_run = {path, "-E", "-P", "-v", "-x", "c++"};
  if (!standard.empty()) {
    macro_run.push_back("-std=" + standard);
    probe_run.push_back("-std=" + standard);
  }
  macro_run.push_back("-");
  probe_run.push_back("-");
  const ProcessResult macros = processRunner().run(macro_run, "", kTimeoutSeconds);
  if (!macros.started || macros.exitStatus != 0) {
    std::string reason = macros.started ? "it failed" : "it could not be started";
    const size_t end = macros.errors.find('\n');
    if (macros.started && !macros.errors.empty()) reason += ": " + macros.errors.substr(0, end);
    reportMessage("warning: the compiler " + compiler + " (" + path +
                  ") was not asked for its view of the code, " + reason +
                  ". The sources are read without its predefined macros and include folders.");
    return std::nullopt;
  }
  CompilerView view;
  forEachLine(macros.output, [&](std::string_view line) {
    if (line.starts_with("#define ")) view.macros.emplace_back(trimmed(line.substr(8)));
  });
  const ProcessResult probed = processRunner().run(probe_run, probeText(), kTimeoutSeconds);
  view.includeFolders = searchList(probed.errors);
  readProbes(probed.output, view);
  return view;
}

}  // namespace

std::string compilerPath(const std::string& compiler) {
  if (compiler.empty()) return {};
  auto is_file = [](const std::string& path) { return fileSystem().status(path).kind == PathKind::kFile; };
  if (compiler.find('/') != std::string::npos) {
    const std::string path = absolutePath(compiler);
    return is_file(path) ? path : std::string();
  }
  const std::string search = environmentValue("PATH");
  size_t start = 0;
  while (start <= search.size()) {
    size_t end = search.find(':', start);
    if (end == std::string::npos) end = search.size();
    std::string folder = search.substr(start, end - start);
    if (folder.empty()) folder = ".";
    const std::string path = absolutePath(folder + "/" + compiler);
    if (is_file(path)) return path;
    start = end + 1;
  }
  return {};
}

std::string compilerViewText(const CompilerView& view, const std::string& path, int64_t modified,
                             const std::string& standard) {
  std::string text(kCacheHeader);
  text += "\ncompiler " + path + "\nmodified " + std::to_string(modified) + "\nstandard " + standard + "\n";
  for (const std::string& macro : view.macros) text += "macro " + macro + "\n";
  for (const std::string& folder : view.includeFolders) text += "include " + folder + "\n";
  for (const auto& [key, value] : view.features)
    text += "feature " + key + " = " + std::to_string(value) + "\n";
  return text;
}

std::optional<CompilerView> parseCompilerViewText(const std::string& text, const std::string& path,
                                                  int64_t modified, const std::string& standard) {
  const std::string head = std::string(kCacheHeader) + "\ncompiler " + path + "\nmodified " +
                           std::to_string(modified) + "\nstandard " + standard + "\n";
  if (!text.starts_with(head)) return std::nullopt;
  CompilerView view;
  bool valid = true;
  forEachLine(std::string_view(text).substr(head.size()), [&](std::string_view line) {
    if (line.starts_with("macro ")) {
      view.macros.emplace_back(line.substr(6));
    } else if (line.starts_with("include ")) {
      view.includeFolders.emplace_back(line.substr(8));
    } else if (line.starts_with("feature ") && line.find(" = ") != std::string_view::npos) {
      const size_t equals = line.rfind(" = ");
      const std::string value(line.substr(equals + 3));
      view.features[std::string(line.substr(8, equals - 8))] = std::strtoll(value.c_str(), nullptr, 10);
    } else if (!line.empty()) {
      valid = false;
    }
  });
  if (!valid) return std::nullopt;
  return view;
}

std::optional<CompilerView> compilerView(const std::string& compiler, const std::string& standard) {
  const std::string path = compilerPath(compiler);
  if (path.empty()) {
    reportMessage("warning: the compiler " + compiler +
                  " was not found. The sources are read without its predefined macros and include folders.");
    return std::nullopt;
  }
  const int64_t modified = fileSystem().status(path).modified;
  const std::string cache = cacheFile(path, modified, standard);
  std::string text;
  if (!cache.empty() && readFileContents(cache, text)) {
    if (std::optional<CompilerView> cached = parseCompilerViewText(text, path, modified, standard))
      return cached;
  }
  std::optional<CompilerView> view = takeView(compiler, path, standard);
  if (view && !cache.empty()) {
    // A cache that cannot be written only costs the next run another question to the compiler.
    std::string error;
    createFolders(cache.substr(0, cache.rfind('/')));
    writeFileContents(cache, compilerViewText(*view, path, modified, standard), error);
  }
  return view;
}

}  // namespace quillet
