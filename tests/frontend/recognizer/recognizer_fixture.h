// A fixture for recognizer tests: preprocesses a snippet of source as a module and runs the recognizer
// over it with a RecordingLexer, giving back the recorded calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frontend/preprocessor/preprocessor.h"
#include "frontend/preprocessor/preprocessor_fixture.h"
#include "support/recording_lexer.h"

namespace quillet::testing {

class RecognizerFixture : public PreprocessorFixture {
 protected:
  /// The calls made while recognizing `source` (file changes left out), with the blanks that keep a
  /// comment's source alignment left out too: runs of blanks become one, none follows a "|".
  std::vector<std::string> recognize(const std::string& source) {
    RecordingLexer lexer;
    return recognize(source, lexer);
  }
  std::vector<std::string> recognize(const std::string& source, RecordingLexer& lexer) {
    Preprocessor preprocessor(write("module.cpp", source), options_, cache_);
    lexer.Parse(preprocessor);
    std::vector<std::string> calls;
    for (const std::string& call : lexer.calls) {
      if (call.rfind("OnFileBegin|", 0) == 0) continue;
      std::string tidy;
      for (char c : call)
        if (c != ' ' || (!tidy.empty() && tidy.back() != ' ' && tidy.back() != '|')) tidy += c;
      calls.push_back(std::move(tidy));
    }
    return calls;
  }
  /// The calls of `source` whose names are among `names` ("OnClassName OnBaseClass").
  std::vector<std::string> recognize(const std::string& source, std::string_view names) {
    std::vector<std::string> kept;
    const std::string wanted = " " + std::string(names) + " ";
    for (std::string& call : recognize(source))
      if (wanted.find(" " + call.substr(0, call.find('|')) + " ") != std::string::npos)
        kept.push_back(std::move(call));
    return kept;
  }
};

}  // namespace quillet::testing
