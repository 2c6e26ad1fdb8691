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
enum class Expect { Switches, Include, Define, ConfigFile, ProjectFile, OutputDir };

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
    case Expect::Switches:
      break;
  }
  return "";
}

}  // namespace

bool BatchOptions::parse(int argc, const char* const* argv) {
  if (argc <= 1) {
    usageError = true;
    return false;
  }
  programPath = argv[0] ? argv[0] : "";
  Expect expect = Expect::Switches;

  // Stores a switch value: attached text if there is some, else the next argument.
  auto take = [&expect](std::string& field, std::string_view prefix, std::string_view text, Expect next) {
    if (text.empty()) {
      expect = next;
    } else {
      field += prefix;
      field += text;
    }
  };

  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i] ? argv[i] : "";

    if (expect != Expect::Switches) {
      if (arg.empty()) {
        errorMessage = missingValueMessage(expect);
        usageError = true;
        return false;
      }
      switch (expect) {
        case Expect::Include:
          includes += ";", includes += arg;
          break;
        case Expect::Define:
          defines += ",", defines += arg;
          break;
        case Expect::ConfigFile:
          configFile = arg;
          break;
        case Expect::ProjectFile:
          projectFile = arg;
          break;
        case Expect::OutputDir:
          outputDir = arg;
          break;
        case Expect::Switches:
          break;
      }
      expect = Expect::Switches;
      continue;
    }

    if (arg.empty() || (arg[0] != '-' && arg[0] != '/')) {
      if (i == 1) {
        configFile = arg;  // a bare file name asks the editor to open it
        return false;
      }
      errorMessage = "Error: Too many files specified";
      usageError = true;
      return false;
    }

    // Letters C, V and X may be grouped; every other switch uses up the rest of the argument.
    for (size_t pos = 1; pos < arg.size(); ++pos) {
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[pos])));
      const std::string_view from_letter = arg.substr(pos);
      const std::string_view after_letter = arg.substr(pos + 1);
      if (letter == 'C') {
        batch = true;
        continue;
      }
      if (letter == 'V') {
        verbose = true;
        continue;
      }
      if (letter == 'X') {
        ignoreIncludeEnv = true;
        continue;
      }
      if (letter == 'D') {
        if (lowerCase(from_letter) == "debug") {
          debug = true;
        } else {
          take(defines, ",", after_letter, Expect::Define);
        }
      } else if (letter == 'I') {
        take(includes, ";", after_letter, Expect::Include);
      } else if (letter == 'N') {
        const std::string word = lowerCase(from_letter);
        if (word == "nohtml") {
          noHtml = true;
        } else if (word == "nocopyright") {
          noCopyright = true;
        } else if (word == "nortf") {
          noRtf = true;
        } else {
          errorMessage = "Unrecognized switch " + word;
          usageError = true;
          return false;
        }
      } else if (letter == 'O') {
        outputDir.clear();
        take(outputDir, "", after_letter, Expect::OutputDir);
      } else if (letter == 'Q' && from_letter.starts_with("qlc")) {
        configFile.clear();
        take(configFile, "", from_letter.substr(3), Expect::ConfigFile);
      } else if (letter == 'P' && from_letter.starts_with("prj")) {
        projectFile.clear();
        take(projectFile, "", from_letter.substr(3), Expect::ProjectFile);
      } else {
        // Unknown letters, a Q not followed by "qlc" and a P not followed by "prj" are all refused.
        usageError = true;
        return false;
      }
      break;
    }
  }

  if (!configFile.empty() || !projectFile.empty()) return true;
  errorMessage = "error: missing required command line argument -qlc";
  return false;
}

void BatchOptions::printUsage(std::ostream& out) const {
  out << '\n'
      << "quillet [-IXDov] [-nohtml] [-nortf] [-qlc \"config file name\"] [-prj filename] \n"
      << "-I       Add the following path to the list of include directories.  This\n"
      << "         is optional.\n"
      << "-X       Ignore environment variable. This is optional.\n"
      << "-D       define the macro. This is optional.\n"
      << "-v       Verbose output\n"
      << "-nohtml  Do not a create a html file. This is optional.\n"
      << "-nortf   Do not a create a rtf file. This is optional.\n"
      << "-o       Place all output files into the following directory. This is optional.\n"
      << "-qlc     Use this configuration file.\n"
      << "-prj     Import the Microsoft Developer Studio file\n";
  if (!errorMessage.empty()) out << errorMessage;
  out << '\n';
  out.flush();
}

}  // namespace quillet
