#include "model/doc_text.h"

#include <optional>
#include <ostream>
#include <utility>

#include "common/message_output.h"
#include "config/configuration.h"
#include "config/tag_matching.h"
#include "model/comment_cleanup.h"
#include "model/comment_markup_writers.h"
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

}  // namespace

DocText::DocText(std::string_view rawText, bool applyTags, int32_t level, std::string fileName) {
  if (rawText.empty()) return;
  const Configuration* configuration = currentConfiguration();
  auto data = std::make_shared<Data>();
  data->fileName = std::move(fileName);
  data->level = level;
  data->applyTags = applyTags;

  std::string text = expandTabs(rawText, configuration ? configuration->tabSize() : 8);
  blankCommentMarkers(text);
  CommentDirectives directives = extractDirectives(text, data->fileName);
  for (const std::string& error : directives.errors) reportMessage(error);
  data->directiveTargets = std::move(directives.targets);

  std::vector<TagRegion> regions;
  if (applyTags && configuration && !configuration->commentTags().empty()) {
    const std::vector<CommentTag>& tags = configuration->commentTags();
    std::vector<TagMatch> matches = matcherFor(tags).find(text);
    if (!matches.empty()) {
      text = quillet::applyTags(text, matches, tags);
      regions = tagRegions(matches, tags, text.size());
    }
  }

  ParagraphOptions options;
  options.level = level;
  options.autoFormat = configuration ? configuration->autoFormat() : true;
  options.capitalize = configuration ? configuration->autoCapitalize() : true;
  data->paragraphs = buildParagraphs(text, regions, options);
  for (const DocParagraph& paragraph : data->paragraphs) data->size += paragraph.text.size();
  data_ = std::move(data);
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
  data_ = std::move(merged);
}

void DocText::WriteFull(const EvaluationContext& context, std::string_view classContext,
                        std::ostream& out) const {
  std::string_view opening = context.fixedTextOpening;
  std::string_view closing = context.fixedTextClosing;
  const std::span<const DocParagraph> all = paragraphs();

  if (writesHtml(context)) {
    if (opening.empty() && closing.empty()) {
      opening = kDefaultHtmlOpening;
      closing = kDefaultHtmlClosing;
    }
    for (size_t i = 0; i < all.size(); ++i) {
      const DocParagraph& paragraph = all[i];
      if (paragraph.kind == DocParagraph::kPreformatted) {
        out << opening;
        HTMLCommentTextBuilder builder(out, context, classContext);
        builder.setCodeBlock(true);
        builder.Build(paragraph.text);
        out << closing;
      } else if (i == 0) {
        HTMLCommentTextBuilder(out, context, classContext).Build(paragraph.text);
      } else {
        out << "<P CLASS=QLCMT>";
        HTMLCommentTextBuilder(out, context, classContext).Build(paragraph.text);
        out << "</P>\n";
      }
    }
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
      builder.setCodeBlock(preformatted);
      builder.Build(paragraph.text);
    }
    if (preformatted) {
      out << "\\line " << closing << '}';
    } else if (i + 1 < all.size()) {
      out << "\\par ";
    }
  }
  out << '}';
}

void DocText::WriteSummary(const EvaluationContext& context, std::string_view classContext,
                           std::ostream& out) const {
  if (empty()) return;
  const DocParagraph& first = data_->paragraphs.front();
  const bool preformatted = first.kind == DocParagraph::kPreformatted;
  const size_t length = firstSentenceLength(first.text, preformatted, false);
  if (writesHtml(context)) {
    HTMLCommentTextBuilder builder(out, context, classContext);
    builder.setCodeBlock(preformatted);
    builder.Build(first.text, length);
    return;
  }
  RTFCommentTextBuilder builder(out, context, classContext, context.fixedTextOpening,
                                context.fixedTextClosing);
  builder.setCodeBlock(preformatted);
  builder.Build(first.text, length);
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
