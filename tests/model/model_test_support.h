// Helpers for the code model tests: functions, classes and comments made in one line, and property
// values read back as strings.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "model/class.h"
#include "stylesheet/evaluation_context.h"

namespace quillet {

/// A comment holding `text`, as if found in `file`.
inline DocText comment(const std::string& text, const std::string& file = "widget.h") {
  return DocText(text, false, DocText::kParameterLevel, file);
}

/// A function `name` with parameters of the given signature types (shown types alike).
inline Function function(const std::string& name, const std::vector<std::string>& types = {},
                         const std::string& attributes = "") {
  Function made;
  made.name = name;
  made.attributes = attributes;
  for (const std::string& type : types) made.AddArg(type, type, "", "", {});
  return made;
}

/// A class `name` of the given key.
inline Class makeClass(const std::string& name, const std::string& key = "class") {
  Class made;
  made.name = name;
  made.classType = key;
  return made;
}

/// What `object` writes for `property` in `context`, or "<unknown>" when it does not know it.
inline std::string property(StyleSheetObject& object, const std::string& name,
                            const EvaluationContext& context = {}) {
  std::ostringstream out;
  if (!object.WriteProperty(context, name, out)) return "<unknown>";
  return out.str();
}

/// The value of the test `name`, or -1 when the object does not know it.
inline int32_t test(const StyleSheetObject& object, const std::string& name) {
  int32_t value = -1;
  return object.Test(name, value) ? value : -1;
}

}  // namespace quillet
