// DocText for comments written with comment commands or read as Markdown: the description is cut into
// paragraphs as any comment is (with the paragraph levels the comment tags give), each paragraph becomes
// prepared markup, code blocks are kept as written, and every section becomes a comment of its own in the
// comment's CommentSections.
#include <algorithm>
#include <iterator>
#include <utility>

#include "common/message_output.h"
#include "model/comment_commands.h"
#include "model/comment_inline.h"
#include "model/comment_markdown.h"
#include "model/comment_sections.h"
#include "model/comment_structure.h"
#include "model/doc_text.h"

namespace quillet {

namespace {

// The tag regions seen from a stretch of text that began at `offset` of the comment text.
std::vector<TagRegion> regionsFrom(std::span<const TagRegion> regions, size_t offset) {
  std::vector<TagRegion> shifted;
  for (TagRegion region : regions) {
    if (region.end < offset) continue;
    region.position = region.position > offset ? region.position - offset : 0;
    region.end -= offset;
    shifted.push_back(region);
  }
  return shifted;
}

bool isNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '~' || c == ':';
}

// True when a see-also entry is one name (a class, a member, a function with its parameters).
bool isNameEntry(std::string_view entry) {
  if (entry.empty() || !isNameStart(entry.front()) || entry.starts_with("http")) return false;
  int depth = 0;
  for (char c : entry) {
    if (c == '(' || c == '<') ++depth;
    if (c == ')' || c == '>') --depth;
    if (depth == 0 && (c == ' ' || c == '\t' || c == '@' || c == '\\')) return false;
  }
  return depth == 0;
}

// A see-also list: names separated by commas become references, anything else is marked up as text.
void prepareSeeAlso(std::string_view text, PreparedText& into) {
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c == '(' || c == '<') ++depth;
    if ((c == ')' || c == '>') && depth > 0) --depth;
    if (c != ',' || depth > 0) continue;
    const std::string_view raw = text.substr(start, i - start);
    size_t lead = raw.find_first_not_of(' ');
    if (lead == std::string_view::npos) lead = raw.size();
    appendPreparedText(into.text, raw.substr(0, lead));
    std::string_view entry = raw.substr(lead);
    size_t keep = entry.size();
    while (keep > 0 && (entry[keep - 1] == ' ' || entry[keep - 1] == '.')) --keep;
    const std::string_view trailing = entry.substr(keep);
    entry = entry.substr(0, keep);
    if (isNameEntry(entry)) {
      appendPreparedTag(into.text, "seeref", {{"name", "\"" + std::string(entry) + "\"", false}});
      appendPreparedText(into.text, entry);
      appendPreparedTag(into.text, "/seeref");
    } else {
      prepareInline(entry, into);
    }
    appendPreparedText(into.text, trailing);
    if (i < text.size()) appendPreparedText(into.text, ",");
    start = i + 1;
  }
}

// Appends the paragraphs of the prose `text` (which began at `offset` in the comment) to `paragraphs`, as
// prepared markup.
void appendProse(std::string_view text, size_t offset, std::span<const TagRegion> regions,
                 const ParagraphOptions& options, bool markdown, bool seeAlso, std::string_view fileName,
                 std::vector<DocParagraph>& paragraphs, std::vector<std::string>& copyTargets) {
  const std::vector<TagRegion> shifted = regionsFrom(regions, offset);
  std::vector<DocParagraph> made = markdown ? buildMarkdownParagraphs(text, shifted, options, fileName)
                                            : buildParagraphs(text, shifted, options);
  for (DocParagraph& paragraph : made) {
    // A paragraph with nothing to mark up is prepared markup as it stands (a see-also list excepted).
    const bool inline_markdown = !seeAlso && markdown && paragraph.kind == DocParagraph::kFlowing;
    if (paragraph.prepared || (!seeAlso && !inline_markdown && isPlainText(paragraph.text))) {
      paragraph.prepared = true;
      continue;
    }
    PreparedText prepared;
    if (inline_markdown) {
      if (!prepareMarkdownParagraph(paragraph.text, prepared)) {
        paragraph.prepared = true;  // nothing to mark up
        continue;
      }
    } else if (seeAlso && paragraph.kind == DocParagraph::kFlowing) {
      prepared.text.reserve(paragraph.text.size());
      prepareSeeAlso(paragraph.text, prepared);
    } else {
      prepared.text.reserve(paragraph.text.size());
      prepareInline(paragraph.text, prepared);
    }
    finishInline(prepared);
    paragraph.text = std::move(prepared.text);
    paragraph.prepared = true;
    paragraph.block = prepared.block && paragraph.kind == DocParagraph::kFlowing;
    copyTargets.insert(copyTargets.end(), prepared.copyTargets.begin(), prepared.copyTargets.end());
  }
  if (paragraphs.empty()) {
    paragraphs = std::move(made);  // the first block of a comment (most comments have one)
    return;
  }
  paragraphs.insert(paragraphs.end(), std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
}

// Appends the paragraphs of one block of comment text to `paragraphs`, as prepared markup.
void appendBlock(const CommentBlock& block, std::span<const TagRegion> regions,
                 const ParagraphOptions& options, bool markdown, bool seeAlso, std::string_view fileName,
                 std::vector<DocParagraph>& paragraphs, std::vector<std::string>& copyTargets) {
  if (!block.verbatim) {
    appendProse(block.text, block.offset, regions, options, markdown, seeAlso, fileName, paragraphs,
                copyTargets);
    return;
  }
  DocParagraph code;
  code.kind = DocParagraph::kPreformatted;
  code.prepared = true;
  appendPreparedText(code.text, block.text);
  paragraphs.push_back(std::move(code));
}

std::vector<CommentItem>* listFor(CommentSections& sections, SectionKind kind) {
  switch (kind) {
    case SectionKind::kParam:
      return &sections.params;
    case SectionKind::kTemplateParam:
      return &sections.templateParams;
    case SectionKind::kReturnValue:
      return &sections.returnValues;
    case SectionKind::kThrows:
      return &sections.exceptions;
    case SectionKind::kSee:
      return &sections.seeAlso;
    case SectionKind::kNote:
      return &sections.notes;
    case SectionKind::kReturn:
      break;
  }
  return nullptr;
}

}  // namespace

bool DocText::readStructured(std::string_view text, std::span<const TagRegion> regions,
                             const ParagraphOptions& options, bool markdown, Data& data) {
  if (!mayHoldCommands(text)) {
    if (!markdown) return false;
    // Markdown without commands (most comments): one block of prose, and no sections.
    appendProse(text, 0, regions, options, markdown, false, data.fileName, data.paragraphs, data.copyTargets);
    finishPreformatted(data.paragraphs);
    return true;
  }
  CommentStructure structure = readCommentStructure(text, data.fileName);
  for (const std::string& name : structure.unknownCommands)
    reportMessage("warning: unknown comment command @" + name + ", shown as text.");
  for (const std::string& problem : structure.problems) reportMessage(problem);
  if (!structure.hasCommands) {
    if (!markdown) return false;
    structure.description.assign(1, CommentBlock{std::string(text), false, {}, 0});
  }
  data.directiveTargets.insert(data.directiveTargets.end(), structure.targets.begin(),
                               structure.targets.end());
  data.documentsNoDeclaration = structure.documentsNoDeclaration;

  // Most comments with commands have sections; one without gets none (the object is dropped at the end).
  auto sections = std::make_shared<CommentSections>();
  for (size_t i = 0; i < structure.description.size(); ++i) {
    const size_t first = data.paragraphs.size();
    // A brief is prose however short its lines.
    ParagraphOptions block_options = options;
    if (static_cast<int>(i) == structure.briefBlock) block_options.level = kParameterLevel;
    appendBlock(structure.description[i], regions, block_options, markdown, false, data.fileName,
                data.paragraphs, data.copyTargets);
    if (static_cast<int>(i) == structure.briefBlock && data.paragraphs.size() > first) {
      sections->hasBrief = true;
      sections->brief = data.paragraphs[first];
    }
  }
  finishPreformatted(data.paragraphs);

  for (CommentSectionText& written : structure.sections) {
    const CommentCommand& command = *written.command;
    const bool see_also = command.section == SectionKind::kSee;
    // A section's text is prose (a code block in it excepted), and names in a see-also list are not
    // sentences to capitalise.
    ParagraphOptions flowing = options;
    flowing.level = kParameterLevel;
    flowing.capitalize = options.capitalize && !see_also;
    std::vector<DocParagraph> paragraphs;
    for (const CommentBlock& block : written.blocks)
      appendBlock(block, {}, flowing, markdown, see_also, data.fileName, paragraphs, data.copyTargets);
    finishPreformatted(paragraphs);
    CommentItem item{std::string(command.kind), std::move(written.name), std::move(written.direction),
                     DocText::fromParagraphs(std::move(paragraphs), data.fileName)};
    if (command.section == SectionKind::kReturn) {
      sections->returns.append(item.text);
      continue;
    }
    if (item.kind == "deprecated") sections->deprecated = true;
    listFor(*sections, command.section)->push_back(std::move(item));
  }
  if (!sections->empty()) data.sections = std::move(sections);
  return true;
}

}  // namespace quillet
