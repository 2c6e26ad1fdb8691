#include "app/batch_options.h"

#include <cctype>
#include <ostream>
#include <string_view>

namespace quillet {

namespace {

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// What the next argument is: a switch group, or the value of a switch that had no attached text.
enum class Expect { Switches, Include, Define, ConfigFile, ProjectFile, OutputDir, Jobs };

const char* missingValueMessage(Expect state) {
  switch (state) {
    case Expect::Include:
      return "Missing include file after -I switch.";
    case Expect::Define:
      return "Missing define after -D switch.";
    case Expect::ConfigFile:
      return "Missing qlc file after -qlc switch.";
    case Expect::ProjectFile:
      return "Missing project file after -prj switch.";
    case Expect::OutputDir:
      return "Missing output file after -O switch.";
    case Expect::Jobs:
      return "Missing number of jobs after -j switch.";
    case Expect::Switches:
      break;
  }
  return "";
}

// The long forms: each names a flag or the value a short switch takes.
struct LongOption {
  std::string_view name;
  bool BatchOptions::*flag;
  Expect value;
};
constexpr LongOption kLongOptions[] = {
    {"batch", &BatchOptions::batch, Expect::Switches},
    {"config", nullptr, Expect::ConfigFile},
    {"output", nullptr, Expect::OutputDir},
    {"jobs", nullptr, Expect::Jobs},
    {"include", nullptr, Expect::Include},
    {"define", nullptr, Expect::Define},
    {"verbose", &BatchOptions::verbose, Expect::Switches},
    {"no-html", &BatchOptions::noHtml, Expect::Switches},
    {"no-rtf", &BatchOptions::noRtf, Expect::Switches},
    {"project", nullptr, Expect::ProjectFile},
    {"ignore-include-env", &BatchOptions::ignoreIncludeEnv, Expect::Switches},
    {"debug", &BatchOptions::debug, Expect::Switches},
    {"no-copyright", &BatchOptions::noCopyright, Expect::Switches},
    {"fail-on-warning", &BatchOptions::failOnWarning, Expect::Switches},
    {"help", &BatchOptions::help, Expect::Switches},
    {"version", &BatchOptions::version, Expect::Switches},
};

// Stores a number of jobs, 1 to 256; false (with the usage error set) for anything else.
bool storeJobs(BatchOptions& options, std::string_view value) {
  unsigned jobs = 0;
  for (char c : value) {
    if (c < '0' || c > '9' || jobs > 256) {
      jobs = 0;
      break;
    }
    jobs = jobs * 10 + static_cast<unsigned>(c - '0');
  }
  if (jobs == 0 || jobs > 256) {
    options.errorMessage = "The number of jobs must be a whole number from 1 to 256, not \"" +
                           std::string(value) + "\".";
    options.usageError = true;
    return false;
  }
  options.jobs = jobs;
  return true;
}

// Reads the letters of a switch group (the argument without its prefix) into `options`; false when the
// group is refused (usageError and perhaps errorMessage are then set). `expect` receives the value the next
// argument must give.
bool readSwitchGroup(std::string_view arg, BatchOptions& options, Expect& expect) {
  // Stores a switch value: attached text if there is some, else the next argument.
  auto take = [&expect](std::string& field, std::string_view prefix, std::string_view text, Expect next) {
    if (text.empty()) {
      expect = next;
    } else {
      field += prefix;
      field += text;
    }
  };
  // Letters C, V, X, H and ? may be grouped; every other switch uses up the rest of the argument.
  for (size_t pos = 1; pos < arg.size(); ++pos) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[pos])));
    const std::string_view from_letter = arg.substr(pos);
    const std::string_view after_letter = arg.substr(pos + 1);
    if (letter == 'C' || letter == 'V' || letter == 'X' || letter == 'H' || letter == '?') {
      bool& flag = letter == 'C'   ? options.batch
                   : letter == 'V' ? options.verbose
                   : letter == 'X' ? options.ignoreIncludeEnv
                                   : options.help;
      flag = true;
      continue;
    }
    if (letter == 'D') {
      if (lowerCase(from_letter) == "debug") {
        options.debug = true;
      } else {
        take(options.defines, ",", after_letter, Expect::Define);
      }
    } else if (letter == 'I') {
      take(options.includes, ";", after_letter, Expect::Include);
    } else if (letter == 'N') {
      const std::string word = lowerCase(from_letter);
      if (word == "nohtml") {
        options.noHtml = true;
      } else if (word == "nocopyright") {
        options.noCopyright = true;
      } else if (word == "nortf") {
        options.noRtf = true;
      } else {
        options.errorMessage = "Unrecognized switch " + word;
        options.usageError = true;
        return false;
      }
    } else if (letter == 'J') {
      std::string jobs;
      take(jobs, "", after_letter, Expect::Jobs);
      if (!jobs.empty() && !storeJobs(options, jobs)) return false;
    } else if (letter == 'O') {
      options.outputDir.clear();
      take(options.outputDir, "", after_letter, Expect::OutputDir);
    } else if (letter == 'Q' && from_letter.starts_with("qlc")) {
      options.configFile.clear();
      take(options.configFile, "", from_letter.substr(3), Expect::ConfigFile);
    } else if (letter == 'P' && from_letter.starts_with("prj")) {
      options.projectFile.clear();
      take(options.projectFile, "", from_letter.substr(3), Expect::ProjectFile);
    } else {
      // Unknown letters, a Q not followed by "qlc" and a P not followed by "prj" are all refused.
      options.usageError = true;
      return false;
    }
    break;
  }
  return true;
}

// On this platform "/" starts paths too: an argument beginning with "/" is a switch only when it has no
// further "/" and spells a known switch ("/C", "/V", "/Iinc", "/qlc").
bool isSlashSwitch(std::string_view arg) {
  if (arg.empty() || arg[0] != '/' || arg.find('/', 1) != std::string_view::npos) return false;
  BatchOptions scratch;
  Expect expect = Expect::Switches;
  return readSwitchGroup(arg, scratch, expect);
}

bool store(BatchOptions& options, Expect state, std::string_view value) {
  switch (state) {
    case Expect::Jobs:
      return storeJobs(options, value);
    case Expect::Include:
      options.includes += ";", options.includes += value;
      break;
    case Expect::Define:
      options.defines += ",", options.defines += value;
      break;
    case Expect::ConfigFile:
      options.configFile = value;
      break;
    case Expect::ProjectFile:
      options.projectFile = value;
      break;
    case Expect::OutputDir:
      options.outputDir = value;
      break;
    case Expect::Switches:
      break;
  }
  return true;
}

}  // namespace

bool BatchOptions::parse(int argc, const char* const* argv) {
  if (argc <= 1) {
    usageError = true;
    return false;
  }
  programPath = argv[0] ? argv[0] : "";
  Expect expect = Expect::Switches;
  bool only_files = false;  // after "--" every argument is a file

  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i] ? argv[i] : "";

    if (expect != Expect::Switches) {
      if (arg.empty()) {
        errorMessage = missingValueMessage(expect);
        usageError = true;
        return false;
      }
      if (!store(*this, expect, arg)) return false;
      expect = Expect::Switches;
      continue;
    }

    if (!only_files && arg == "--") {
      only_files = true;
      continue;
    }
    if (!only_files && arg.starts_with("--")) {
      const size_t equals = arg.find('=');
      const std::string_view name = arg.substr(2, equals == std::string_view::npos ? arg.npos : equals - 2);
      const LongOption* option = nullptr;
      for (const LongOption& candidate : kLongOptions)
        if (candidate.name == name) option = &candidate;
      if (option == nullptr) {
        errorMessage = "Unrecognized option --" + std::string(name);
        usageError = true;
        return false;
      }
      if (option->flag != nullptr) {
        if (equals != std::string_view::npos) {
          errorMessage = "Option --" + std::string(name) + " takes no value";
          usageError = true;
          return false;
        }
        this->*(option->flag) = true;
      } else if (equals == std::string_view::npos) {
        expect = option->value;
      } else if (equals + 1 == arg.size()) {
        errorMessage = missingValueMessage(option->value);
        usageError = true;
        return false;
      } else if (!store(*this, option->value, arg.substr(equals + 1))) {
        return false;
      }
      continue;
    }
    if (!only_files && arg.size() > 0 && (arg[0] == '-' || isSlashSwitch(arg))) {
      if (!readSwitchGroup(arg, *this, expect)) return false;
      continue;
    }

    // A bare argument names the configuration, whether it comes before or after the switches.
    if (arg.empty()) continue;
    if (!configFile.empty()) {
      errorMessage = "Error: Too many files specified";
      usageError = true;
      return false;
    }
    configFile = arg;
  }

  if (!configFile.empty() || !projectFile.empty() || help || version) return true;
  errorMessage = "error: missing required command line argument -qlc";
  return false;
}

void BatchOptions::printUsage(std::ostream& out) const {
  out << '\n'
      << "Usage: quillet [switches] [config.toml | config.qlc]\n"
      << "       quillet init [DIR] [--force] [--compile-commands FILE] [--from-doxyfile FILE]\n"
      << "       quillet convert IN OUT\n"
      << "\n"
      << "Without -C the configuration editor opens, on the configuration named if there is one.\n"
      << "\n"
      << "  -C, --batch                 generate the documentation and exit, without the editor\n"
      << "  -qlc, --config FILE         the configuration to use (.toml or .qlc); a bare file name is the "
         "same\n"
      << "  -I, --include DIR           add an include folder before the configured ones (repeatable)\n"
      << "  -D, --define MACRO          define a macro, NAME or NAME=value (repeatable)\n"
      << "  -X, --ignore-include-env    ignore the INCLUDE environment variable\n"
      << "  -o, --output DIR            put every output file into DIR\n"
      << "  -nohtml, --no-html          do not write the HTML output\n"
      << "  -nortf, --no-rtf            do not write the RTF output\n"
      << "  -prj, --project FILE        first import a Developer Studio project (.dsp) or workspace (.dsw),\n"
      << "                              or a compilation database (compile_commands.json)\n"
      << "  -j, --jobs N                use N threads (default: one per core)\n"
      << "  -V, --verbose               progress lines, and the headers that documented nothing\n"
      << "  -debug, --debug             print every token the parser reads (implies -V)\n"
      << "  -nocopyright, --no-copyright  no banner line\n"
      << "  --fail-on-warning           exit with status 3 when the run reports a warning or an error\n"
      << "  -h, -?, --help              show this text\n"
      << "  --version                   show the version\n"
      << "\n"
      << "Switches may be written with \"/\" too (/C, /V, /Iinc) and in either case; C, V and X may be\n"
      << "grouped (-CV). With -C and no configuration, quillet.toml in the current folder is used, or the\n"
      << "only .qlc file there. `quillet init` writes a quillet.toml for the sources in a folder.\n"
      << "Exit status: 0 documentation generated, 1 a configuration or input file could not be used,\n"
      << "2 unusable command line, 3 warnings or errors with --fail-on-warning.\n";
  if (!errorMessage.empty()) out << errorMessage;
  out << '\n';
  out.flush();
}

}  // namespace quillet
