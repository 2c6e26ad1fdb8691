// Fakes for the evaluator tests: style sheet objects with fixed answers, a fixture that runs small style
// sheets over them while capturing the messages, and a small chapter of classes and functions to run them on.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/file_contents.h"
#include "common/file_services.h"
#include "stylesheet/captured_messages.h"
#include "stylesheet/link_index.h"
#include "stylesheet/style_sheet_cache.h"
#include "stylesheet/style_sheet_eval_to_dictionary.h"
#include "stylesheet/style_sheet_eval_to_file.h"
#include "support/temp_tree.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/markup.h"
#include "template_objects/style_sheet_filter.h"
#include "template_objects/style_sheet_object_list.h"

namespace quillet {

// An object of any type with fixed properties, tests and lists. Writing "cancel" cancels the run; "linked"
// is written as linked text.
class FakeObject final : public StyleSheetObject {
 public:
  FakeObject(std::string_view type, std::string_view name) : type_(type), name_(name) {
    if (!name.empty()) properties["name"] = name_;
  }
  bool WriteProperty(const EvaluationContext& context, std::string_view property,
                     std::ostream& out) override {
    auto found = properties.find(property);
    if (found == properties.end()) return false;
    ++written;
    if (property == "cancel") static_cast<CapturedMessages*>(currentMessageOutput())->canceled = true;
    if (property == "linked") {
      writeLinkedText(context, out, found->second, "");
    } else {
      context.filter->write(out, found->second);
    }
    return true;
  }
  std::string_view TypeName() const override { return type_; }
  std::string FullName() const override { return name_; }
  std::string AnchorName() const override { return anchor.empty() ? "c_" + name_ : anchor; }
  LinkKind linkKind() const override { return type_ == "class" ? LinkKind::kType : LinkKind::kFunction; }
  std::string FileName(const EvaluationContext&) const override { return fileName; }
  bool Test(std::string_view property, int32_t& value) const override {
    auto found = tests.find(property);
    if (found == tests.end()) return false;
    value = found->second;
    return true;
  }
  StyleSheetObject* GetList(std::string_view name) override {
    auto found = lists.find(name);
    return found == lists.end() ? nullptr : found->second;
  }

  std::map<std::string, std::string, std::less<>> properties;
  std::map<std::string, int32_t, std::less<>> tests;
  std::map<std::string, StyleSheetObject*, std::less<>> lists;
  std::string anchor, fileName;
  int written = 0;  // properties written so far

 private:
  std::string type_, name_;
};

class EvaluatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUILLET_STYLES", QUILLET_TEST_DATA "/stylesheet/evaluator", 1);
    resetOutputFileNames();
  }
  void TearDown() override {
    unsetenv("QUILLET_STYLES");
    clearStyleSheetCache();
    resetOutputFileNames();
  }

  FakeObject& make(std::string_view type, std::string_view name = "") {
    return objects_.emplace_back(type, name);
  }
  /// A list view called `name` over `items`, offered by `owner` under that name.
  StyleSheetObjectSubsetList* listOf(FakeObject& owner, std::string_view name,
                                     std::vector<FakeObject*> items) {
    StyleSheetObjectSubsetList& list = lists_.emplace_back(name);
    for (FakeObject* item : items) list.add(item);
    return static_cast<StyleSheetObjectSubsetList*>(owner.lists[std::string(name)] = &list);
  }

  /// The file pass of `text` (a style sheet "t.html") over `stack`, as the file `file` of the temporary
  /// folder.
  std::string run(std::string_view text, ObjectStack stack, const std::string& file = "main.html",
                  const StyleSheetFilter* filter = nullptr) {
    const StyleSheet sheet = StyleSheet::fromText("t.html", text);
    std::ostringstream out;
    StyleSheetEvalToFile evaluator(out, tree_.root() + file, sheet, links_, tree_.root(),
                                   filter ? *filter : html_);
    const ObjectStack before = stack;
    evaluator.evaluate(stack);
    EXPECT_EQ(stack, before);  // every push is popped
    return out.str();
  }
  /// The dictionary pass of `text` over `stack`, as the file `file`.
  void record(std::string_view text, ObjectStack stack, const std::string& file = "main.html") {
    const StyleSheet sheet = StyleSheet::fromText("t.html", text);
    StyleSheetEvalToDictionary(tree_.root() + file, sheet, links_, tree_.root(), html_).evaluate(stack);
  }

  CapturedMessages messages_;
  TempTree tree_;
  LinkIndex links_;
  HTMLStyleSheetFilter html_;
  std::deque<FakeObject> objects_;
  std::deque<StyleSheetObjectSubsetList> lists_;
};

// A chapter "Guide" with the classes Widget (functions Draw, Run, Hide) and Gadget (no functions).
class GuideTest : public EvaluatorTest {
 protected:
  GuideTest() {
    guide_.fileName = "guide";
    guide_.properties["title"] = "Guide Book";
    draw_.tests = {{"public", 1}, {"static", 0}};
    run_.tests = {{"public", 1}, {"static", 1}};
    hide_.tests = {{"public", 0}, {"static", 0}};
    listOf(gadget_, "function_list", {});
  }

  /// The contents of the file `file` of the temporary folder.
  std::string written(const std::string& file) {
    std::string contents;
    EXPECT_TRUE(readFileContents(tree_.path(file), contents)) << file;
    return contents;
  }

  FakeObject& guide_ = make("chapter", "Guide");
  FakeObject& widget_ = make("class", "Widget");
  FakeObject& gadget_ = make("class", "Gadget");
  FakeObject& draw_ = make("function", "Draw");
  FakeObject& run_ = make("function", "Run");
  FakeObject& hide_ = make("function", "Hide");
  StyleSheetObject* classes_ = listOf(guide_, "class_list", {&widget_, &gadget_});
  StyleSheetObject* functions_ = listOf(widget_, "function_list", {&draw_, &run_, &hide_});
};

}  // namespace quillet
