#include "stylesheet/style_sheet_eval_to_file.h"

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "common/file_contents.h"
#include "common/message_output.h"
#include "common/output_set.h"
#include "stylesheet/evaluation_budget.h"
#include "stylesheet/link_index.h"
#include "stylesheet/object_stack_copy.h"
#include "stylesheet/page_jobs.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

void StyleSheetEvalToFile::CountingBuffer::forward(const char* text, std::streamsize count) {
  if (!target_ || count <= 0) return;
  // Past the output budget nothing more is written; the evaluation stops at its next section.
  if (!chargeOutput(static_cast<uint64_t>(count))) return;
  const std::streamsize put = target_->sputn(text, count);
  if (put > 0) written_ += static_cast<uint64_t>(put);
}

void StyleSheetEvalToFile::CountingBuffer::passOn() {
  forward(pbase(), pptr() - pbase());
  setp(area_, area_ + kAreaSize);
}

std::streamsize StyleSheetEvalToFile::CountingBuffer::xsputn(const char* text, std::streamsize count) {
  if (count <= 0) return 0;  // an empty text may come without characters at all
  if (count <= epptr() - pptr()) {
    std::memcpy(pptr(), text, static_cast<size_t>(count));
    pbump(static_cast<int>(count));
    return count;
  }
  passOn();
  if (count >= kAreaSize) {
    forward(text, count);
  } else {
    std::memcpy(pptr(), text, static_cast<size_t>(count));
    pbump(static_cast<int>(count));
  }
  return count;
}

StyleSheetEvalToFile::CountingBuffer::int_type StyleSheetEvalToFile::CountingBuffer::overflow(int_type c) {
  passOn();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int StyleSheetEvalToFile::CountingBuffer::sync() {
  passOn();
  return target_ ? target_->pubsync() : 0;
}

StyleSheetEvalToFile::StyleSheetEvalToFile(std::ostream& out, std::string filePath, const StyleSheet& sheet,
                                           LinkIndex& links, std::string outputFolder,
                                           const StyleSheetFilter& filter)
    : StyleSheetEvaluator(sheet, links, std::move(outputFolder), filter, false, std::move(filePath)),
      buffer_(out.rdbuf()),
      out_(&buffer_) {}

bool StyleSheetEvalToFile::writeProperty(std::string_view property, StyleSheetObject& object) {
  return object.WriteProperty(context(), property, out_);
}

void StyleSheetEvalToFile::writeText(std::string_view text) {
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void StyleSheetEvalToFile::writeAnchor(StyleSheetObject& object, std::string_view postfix) {
  if (postfix.empty()) {
    writeText(links().objectAnchor(context(), object));
  } else {
    writeText(links().namedAnchor(context(), links().postfixKey(object, postfix)));
  }
}

void StyleSheetEvalToFile::writeLink(StyleSheetObject& object, std::string_view postfix) {
  // The entry, not the link text, tells whether the object was anchored: an RTF link is the anchor name
  // alone, which may be empty.
  const LinkIndex::Entry* entry =
      postfix.empty() ? links().findObject(object) : links().findNamed(links().postfixKey(object, postfix));
  if (!entry) {
    reportError(") : cannot find link for object " + object.FullName());
    return;
  }
  writeText(LinkIndex::linkText(context(), *entry));
}

namespace {

// Evaluates `sheet` over `stack` into a new output file `filePath`; `parent` is the style sheet whose
// new_file started it, named in the report of a file that cannot be written.
void writePage(ObjectStack& stack, const std::string& filePath, const StyleSheet& sheet, LinkIndex& links,
               const std::string& outputFolder, const StyleSheetFilter& filter, const StyleSheet& parent) {
  OutputFile file(filePath);
  {
    StyleSheetEvalToFile nested(file.stream(), filePath, sheet, links, outputFolder, filter);
    nested.evaluate(stack);
  }
  std::string error;
  // A file that stopped the output was reported there, with the system's reason.
  if (!file.commit(error) && !outputStopped())
    reportMessage("error(" + parent.fileName() + ") : cannot open output file " + filePath);
}

}  // namespace

void StyleSheetEvalToFile::newFile(ObjectStack& stack, const std::string& filePath, const StyleSheet& sheet) {
  if (PageJobs* jobs = PageJobs::startable()) {
    auto copy = std::make_shared<ObjectStackCopy>(stack);
    jobs->start([copy, filePath, &sheet, &links = links(), folder = context().outputFolder,
                 &filter = filter(), &parent = styleSheet(), nesting = nestingState()] {
      const SeededNesting seeded(nesting);
      writePage(copy->stack(), filePath, sheet, links, folder, filter, parent);
    });
    return;
  }
  writePage(stack, filePath, sheet, links(), context().outputFolder, filter(), styleSheet());
}

}  // namespace quillet
