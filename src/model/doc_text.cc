#include "model/doc_text.h"

#include <optional>
#include <ostream>
#include <utility>

#include "common/message_output.h"
#include "config/configuration.h"
#include "config/tag_matching.h"
#include "model/comment_cleanup.h"
#include "model/comment_commands.h"
#include "model/comment_markup_writers.h"
#include "model/comment_sections.h"
#include "model/comment_summary.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

constexpr std::string_view kDefaultHtmlOpening = "<PRE CLASS=QLCMT>";
constexpr std::string_view kDefaultHtmlClosing = "</PRE>\n";

// The tags of a run are compiled once and reused for every comment while their names stay the same.
const TagMatcher& matcherFor(const std::vector<CommentTag>& tags) {
  struct Cache {
    std::vector<std::string> names;
    std::optional<TagMatcher> matcher;
  };
  thread_local Cache cache;
  bool same = cache.matcher.has_value() && cache.names.size() == tags.size();
  for (size_t i = 0; same && i < tags.size(); ++i) same = cache.names[i] == tags[i].tagName();
  if (!same) {
    cache.names.clear();
    for (const CommentTag& tag : tags) cache.names.push_back(tag.tagName());
    cache.matcher.emplace(tags);
  }
  return *cache.matcher;
}

bool writesHtml(const EvaluationContext& context) {
  return context.filter != nullptr && context.filter->markupKind() == kHtmlMarkup;
}

// Writes one paragraph's text with `builder`, as prepared markup or as text with HTML tags.
void buildParagraph(CommentTextBuilder& builder, const DocParagraph& paragraph,
                    size_t limit = std::string_view::npos) {
  builder.setCodeBlock(paragraph.kind == DocParagraph::kPreformatted);
  if (paragraph.prepared) {
    builder.BuildPrepared(paragraph.text, limit);
  } else {
    builder.Build(paragraph.text, limit);
  }
}

// True when a comment tag matched where a comment command is written: the configuration handles the
// commands with its tags, and the comment is read as it always was.
bool tagsHandleCommands(std::string_view text, const std::vector<TagMatch>& matches) {
  for (const TagMatch& match : matches)
    if (match.position < text.size() && (text[match.position] == '@' || text[match.position] == '\\'))
      return true;
  return false;
}

}  // namespace

DocText::DocText(std::string_view rawText, bool applyTags, int32_t level, std::string fileName) {
  if (rawText.empty()) return;
  const Configuration* configuration = currentConfiguration();
  auto data = std::make_shared<Data>();
  data->fileName = std::move(fileName);
  data->level = level;
  data->applyTags = applyTags;
  const bool markdown = configuration && configuration->commentMarkdown();

  std::string text = expandTabs(rawText, configuration ? configuration->tabSize() : 8);
  blankCommentMarkers(text, markdown);
  CommentDirectives directives = extractDirectives(text, data->fileName);
  for (const std::string& error : directives.errors) reportMessage(error);
  data->directiveTargets = std::move(directives.targets);

  std::vector<TagRegion> regions;
  bool read_as_before = false;
  if (applyTags && configuration && !configuration->commentTags().empty()) {
    const std::vector<CommentTag>& tags = configuration->commentTags();
    std::vector<TagMatch> matches = matcherFor(tags).find(text);
    if (!matches.empty()) {
      read_as_before = tagsHandleCommands(text, matches);
      text = quillet::applyTags(text, matches, tags);
      regions = tagRegions(matches, tags, text.size());
    }
  }

  ParagraphOptions options;
  options.level = level;
  options.autoFormat = configuration ? configuration->autoFormat() : true;
  options.capitalize = configuration ? configuration->autoCapitalize() : true;
  bool structured = false;
  if (!read_as_before && (markdown || mayHoldCommands(text))) {
    if (text.size() > kLongestStructuredComment) {
      reportMessage("warning: (" + data->fileName + ") a comment of " + std::to_string(text.size()) +
                    " bytes is too long to read its commands and Markdown, shown as text.");
    } else {
      structured = readStructured(text, regions, options, markdown, *data);
    }
  }
  if (!structured) data->paragraphs = buildParagraphs(text, regions, options);
  for (const DocParagraph& paragraph : data->paragraphs) data->size += paragraph.text.size();
  if (data->sections) data->size += data->sections->size();
  data_ = std::move(data);
}

DocText DocText::fromParagraphs(std::vector<DocParagraph> paragraphs, std::string fileName) {
  DocText made;
  if (paragraphs.empty()) return made;
  auto data = std::make_shared<Data>();
  data->fileName = std::move(fileName);
  data->level = kParameterLevel;
  data->paragraphs = std::move(paragraphs);
  for (const DocParagraph& paragraph : data->paragraphs) data->size += paragraph.text.size();
  made.data_ = std::move(data);
  return made;
}

const DocText* DocText::parameterText(std::string_view name) const {
  return sections() ? sections()->parameterText(name) : nullptr;
}

std::span<const std::string> DocText::copyTargets() const {
  if (!data_) return {};
  return data_->copyTargets;
}

std::span<const DocParagraph> DocText::paragraphs() const {
  if (!data_) return {};
  return data_->paragraphs;
}

std::span<const std::string> DocText::directiveTargets() const {
  if (!data_) return {};
  return data_->directiveTargets;
}

const std::string& DocText::fileName() const {
  static const std::string kNone;
  return data_ ? data_->fileName : kNone;
}

void DocText::append(const DocText& other) {
  if (other.empty()) return;
  if (!data_) {
    data_ = other.data_;
    return;
  }
  auto merged = std::make_shared<Data>(*data_);
  merged->paragraphs.insert(merged->paragraphs.end(), other.data_->paragraphs.begin(),
                            other.data_->paragraphs.end());
  merged->size += other.data_->size;
  if (other.data_->sections) {
    auto sections = data_->sections ? std::make_shared<CommentSections>(*data_->sections)
                                    : std::make_shared<CommentSections>();
    sections->append(*other.data_->sections);
    merged->sections = std::move(sections);
  }
  merged->copyTargets.insert(merged->copyTargets.end(), other.data_->copyTargets.begin(),
                             other.data_->copyTargets.end());
  data_ = std::move(merged);
}

void DocText::WriteFull(const EvaluationContext& context, std::string_view classContext,
                        std::ostream& out) const {
  writeParagraphs(context, classContext, true, out);
}

void DocText::WriteDetails(const EvaluationContext& context, std::string_view classContext,
                           std::ostream& out) const {
  writeParagraphs(context, classContext, false, out);
}

void DocText::writeParagraphs(const EvaluationContext& context, std::string_view classContext,
                              bool withSections, std::ostream& out) const {
  std::string_view opening = context.fixedTextOpening;
  std::string_view closing = context.fixedTextClosing;
  const std::span<const DocParagraph> all = paragraphs();
  const CommentSections* parts = withSections ? sections() : nullptr;

  if (writesHtml(context)) {
    if (opening.empty() && closing.empty()) {
      opening = kDefaultHtmlOpening;
      closing = kDefaultHtmlClosing;
    }
    for (size_t i = 0; i < all.size(); ++i) {
      const DocParagraph& paragraph = all[i];
      HTMLCommentTextBuilder builder(out, context, classContext);
      if (paragraph.kind == DocParagraph::kPreformatted) {
        out << opening;
        buildParagraph(builder, paragraph);
        out << closing;
      } else if (i == 0 || paragraph.block) {
        // Block markup (a list, a table) stands on its own; no paragraph holds it.
        buildParagraph(builder, paragraph);
        if (paragraph.block) out << '\n';
      } else {
        out << "<P CLASS=QLCMT>";
        buildParagraph(builder, paragraph);
        out << "</P>\n";
      }
    }
    if (parts) writeSections(*parts, context, classContext, out);
    return;
  }

  out << '{';
  for (size_t i = 0; i < all.size(); ++i) {
    const DocParagraph& paragraph = all[i];
    const bool preformatted = paragraph.kind == DocParagraph::kPreformatted;
    if (preformatted) out << '{' << opening;
    {
      // The builder closes the groups its tags left open before the paragraph ends.
      RTFCommentTextBuilder builder(out, context, classContext, opening, closing);
      buildParagraph(builder, paragraph);
    }
    if (preformatted) {
      out << "\\line " << closing << '}';
    } else if (i + 1 < all.size()) {
      out << "\\par ";
    }
  }
  if (parts) writeSections(*parts, context, classContext, out);
  out << '}';
}

void DocText::WriteSummary(const EvaluationContext& context, std::string_view classContext,
                           std::ostream& out) const {
  if (empty()) return;
  const CommentSections* parts = sections();
  const DocParagraph* first = nullptr;
  size_t length = std::string_view::npos;
  if (parts && parts->hasBrief) {
    first = &parts->brief;
  } else if (!data_->paragraphs.empty()) {
    first = &data_->paragraphs.front();
    const Configuration* configuration = currentConfiguration();
    if (!configuration || configuration->commentAutoBrief())
      length = firstSentenceLength(first->text, first->kind == DocParagraph::kPreformatted, first->prepared);
  }
  if (!first) return;
  if (writesHtml(context)) {
    HTMLCommentTextBuilder builder(out, context, classContext);
    buildParagraph(builder, *first, length);
    return;
  }
  RTFCommentTextBuilder builder(out, context, classContext, context.fixedTextOpening,
                                context.fixedTextClosing);
  buildParagraph(builder, *first, length);
}

bool DocText::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (property != "text") return false;
  WriteFull(context, {}, out);
  return true;
}

bool DocText::Test(std::string_view property, int32_t& value) const {
  if (property != "text") return false;
  value = empty() ? 0 : 1;
  return true;
}

}  // namespace quillet
