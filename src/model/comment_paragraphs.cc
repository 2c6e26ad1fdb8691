#include "model/comment_paragraphs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/byte_search.h"

namespace quillet {

namespace {

std::string_view stripBlanks(std::string_view line) {
  const size_t first = skipBlanks(line);
  size_t end = line.size();
  while (end > first && line[end - 1] == ' ') --end;
  return line.substr(first, end - first);
}

int32_t levelOfFormatting(int32_t formatting) {
  switch (formatting) {
    case CommentTag::kPreserveAll:
      return kPreformattedLevel;
    case CommentTag::kPreserveParagraphs:
      return kParagraphBreaksLevel;
    default:
      return kAutoLevel;
  }
}

bool isLower(char c) {
  return c >= 'a' && c <= 'z';
}

char toUpper(char c) {
  return static_cast<char>(c - 'a' + 'A');
}

// True when `line` holds three blanks in a row somewhere. Chunks overlap by two bytes, so that a run
// across their border is seen.
bool hasThreeBlanks(std::string_view line) {
  size_t i = 0;
  for (; i + kChunkSize <= line.size(); i += kChunkSize - 2) {
    const uint32_t blanks = chunkMask(line.data() + i, ' ');
    if ((blanks & (blanks >> 1) & (blanks >> 2)) != 0) return true;
  }
  unsigned run = 0;
  for (; i < line.size(); ++i) {
    run = line[i] == ' ' ? run + 1 : 0;
    if (run == 3) return true;
  }
  return false;
}

// True when some line holds, inside it, a run of more than two blanks that does not follow a full stop.
bool hasWideGaps(std::span<const std::string_view> lines) {
  for (std::string_view raw : lines) {
    const std::string_view line = stripBlanks(raw);
    if (!hasThreeBlanks(line)) continue;  // most lines: no such run can be in them
    size_t run = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const bool extends = line[i] == ' ' && i + 1 < line.size() && (i == 0 || line[i - 1] != '.');
      if (extends) {
        if (++run > 2) return true;
      } else {
        run = 0;
      }
    }
  }
  return false;
}

// Formats one paragraph at its level and appends it.
void addParagraph(std::span<const std::string_view> lines, int32_t level, const ParagraphOptions& options,
                  std::vector<DocParagraph>& paragraphs) {
  if (!options.autoFormat) level = kPreformattedLevel;
  if (level <= kAutoLevel) level = looksPreformatted(lines) ? kPreformattedLevel : kFlowLevel;
  DocParagraph paragraph;
  if (level >= kPreformattedLevel) {
    size_t size = 0;
    for (std::string_view line : lines) size += line.size() + 1;
    paragraph.text.reserve(size);
    for (std::string_view line : lines) {
      paragraph.text += line;
      paragraph.text += '\n';
    }
    paragraph.kind = DocParagraph::kPreformatted;
  } else {
    paragraph.text = reflowLines(lines, options.capitalize);
    paragraph.kind = DocParagraph::kFlowing;
  }
  paragraphs.push_back(std::move(paragraph));
}

// Deletes from the start of every line of `text` up to `count` leading blanks or tabs.
void removeIndentation(std::string& text, size_t count) {
  std::string out;
  out.reserve(text.size());
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t end = std::min(lineEnd(text, begin) + 1, text.size());
    size_t skip = 0;
    while (skip < count && begin + skip < end && (text[begin + skip] == ' ' || text[begin + skip] == '\t'))
      ++skip;
    out.append(text, begin + skip, end - begin - skip);
    begin = end;
  }
  text = std::move(out);
}

// The indentation shared by the lines of `text` that hold more than blanks and tabs.
size_t commonIndentation(std::string_view text) {
  size_t common = std::string_view::npos;
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t end = lineEnd(text, begin);
    const std::string_view line = text.substr(begin, end - begin);
    size_t indent = 0;
    while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t')) ++indent;
    if (indent < line.size()) common = std::min(common, indent);
    begin = end + 1;
  }
  return common == std::string_view::npos ? 0 : common;
}

}  // namespace

std::vector<TagRegion> tagRegions(const std::vector<TagMatch>& matches, const std::vector<CommentTag>& tags,
                                  size_t textSize) {
  std::vector<TagRegion> regions;
  regions.reserve(matches.size());
  for (size_t k = 0; k < matches.size(); ++k) {
    const TagMatch& match = matches[k];
    TagRegion region;
    region.position = match.position;
    region.end = k + 1 < matches.size() ? matches[k + 1].position : textSize;
    region.level =
        match.tagIndex < tags.size() ? levelOfFormatting(tags[match.tagIndex].formatting()) : kAutoLevel;
    regions.push_back(region);
  }
  return regions;
}

std::vector<DocParagraph> buildParagraphs(std::string_view text, std::span<const TagRegion> regions,
                                          const ParagraphOptions& options, LineStarts* starts) {
  std::vector<DocParagraph> paragraphs;
  // The lines of the paragraph being collected; kept between calls, since every comment comes here.
  thread_local std::vector<std::string_view> lines;
  lines.clear();
  size_t start = 0;         // offset of the paragraph being collected
  size_t length = 0;        // summed length of its lines
  size_t first_region = 0;  // regions before this one end before every later paragraph starts

  const auto finish = [&] {
    if (lines.empty()) return;
    int32_t level = options.level;
    while (first_region < regions.size() && regions[first_region].end < start) ++first_region;
    for (size_t k = first_region; k < regions.size() && regions[k].position <= start + length; ++k)
      level = std::max(level, regions[k].level);
    addParagraph(lines, level, options, paragraphs);
    lines.clear();
    length = 0;
  };

  constexpr size_t kNone = std::string_view::npos;
  size_t common = kNone;   // the least indentation of a line
  size_t run = kNone;      // the least indentation of a line of the paragraph being collected
  size_t deepest_run = 0;  // the most of that over the paragraphs
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t end = lineEnd(text, begin);
    const std::string_view line = text.substr(begin, end - begin);
    const size_t first = skipBlanks(line);
    if (first == line.size()) {
      finish();
      start = end + 1;
      if (run != kNone) deepest_run = std::max(deepest_run, run);
      run = kNone;
    } else {
      lines.push_back(line);
      length += line.size();
      if (starts) {
        const char lead = line[first];
        if (lead == '-' || lead == '+' || lead == '*' || lead == '#' || lead == '>' || lead == '|' ||
            lead == '`' || lead == '~' || lead == '\t' || (lead >= '0' && lead <= '9'))
          starts->mayOpenBlocks = true;
        common = std::min(common, first);
        run = std::min(run, first);
      }
    }
    begin = end + 1;
  }
  if (run != kNone) deepest_run = std::max(deepest_run, run);
  if (starts && common != kNone && deepest_run >= common + 4) starts->mayOpenBlocks = true;
  finish();
  finishPreformatted(paragraphs);
  return paragraphs;
}

bool looksPreformatted(std::span<const std::string_view> lines) {
  const size_t n = lines.size();
  if (n <= 1) return false;
  // The lengths of the lines without their blanks, found once (kept between calls).
  thread_local std::vector<size_t> lengths;
  lengths.clear();
  size_t long_lines = 0;
  for (std::string_view line : lines) {
    lengths.push_back(stripBlanks(line).size());
    if (lengths.back() > 40) ++long_lines;
  }
  const double ratio = static_cast<double>(long_lines) / static_cast<double>(n);
  bool candidate = n == 2 ? ratio <= 0.45 : n == 3 ? ratio <= 0.55 : ratio <= 0.6;

  if (candidate && n > 2) {
    // Lines of nearly equal length that are long enough are prose however short each of them is.
    size_t total = 0;
    for (size_t i = 0; i + 1 < n; ++i) total += lengths[i];
    const size_t average = total / (n - 1);
    if (average > 28) {
      size_t deviation_sum = 0;
      for (size_t i = 0; i + 1 < n; ++i) {
        const size_t length = lengths[i];
        deviation_sum += length > average ? length - average : average - length;
      }
      const size_t deviation = deviation_sum / (n - 1);
      if (deviation == 0 || static_cast<double>(average) / static_cast<double>(deviation) > 4.0)
        candidate = false;
    }
  }
  return candidate || hasWideGaps(lines);
}

std::string reflowLines(std::span<const std::string_view> lines, bool capitalize) {
  size_t size = 0;
  for (std::string_view line : lines) size += line.size() + 1;
  // Written straight into the buffer: a run of blanks and line breaks (a line's end is one) becomes one
  // blank between words. A chunk of characters is copied as it is when none of them is a line break and
  // no blank among them follows a blank; only the rest is looked at one by one.
  std::string text(size, '\0');
  char* out = text.data();
  size_t length = 0;
  const auto isBlank = [](char c) { return c == ' ' || c == '\n'; };
  const auto one = [&](char c) {
    if (!isBlank(c)) {
      out[length++] = c;
    } else if (length > 0 && out[length - 1] != ' ') {
      out[length++] = ' ';
    }
  };
  // True when the characters whose blanks and line breaks these masks mark (from bit 0) can be copied as
  // they are: no line break, and no blank after a blank (the one written last included).
  const auto copiable = [&](uint32_t blanks, uint32_t breaks) {
    const bool after_blank = (blanks & 1) != 0 && length > 0 && out[length - 1] == ' ';
    return breaks == 0 && (blanks & (blanks << 1)) == 0 && !after_blank;
  };
  for (std::string_view line : lines) {
    size_t begin = 0;
    size_t end = line.size();
    if (end >= kChunkSize) {
      const uint32_t blanks = chunkMask(line.data(), ' ') | chunkMask(line.data(), '\n');
      begin = static_cast<size_t>(__builtin_ctz(~blanks));
    }
    while (begin < end && isBlank(line[begin])) ++begin;
    while (end > begin && isBlank(line[end - 1])) --end;
    if (begin == end) continue;
    if (length > 0) out[length++] = ' ';
    size_t i = begin;
    for (; i + kChunkSize <= end; i += kChunkSize) {
      const char* const chunk = line.data() + i;
      if (!copiable(chunkMask(chunk, ' '), chunkMask(chunk, '\n'))) {
        for (size_t k = i; k < i + kChunkSize; ++k) one(line[k]);
        continue;
      }
      std::memcpy(out + length, chunk, kChunkSize);
      length += kChunkSize;
    }
    // The rest, through the chunk that ends where the line's words end.
    if (i < end && end - begin >= kChunkSize) {
      const char* const chunk = line.data() + end - kChunkSize;
      const unsigned skipped = static_cast<unsigned>(kChunkSize - (end - i));
      if (copiable(chunkMask(chunk, ' ') >> skipped, chunkMask(chunk, '\n') >> skipped)) {
        std::memcpy(out + length, line.data() + i, end - i);
        length += end - i;
        i = end;
      }
    }
    for (; i < end; ++i) one(line[i]);
  }
  text.resize(length);
  if (!capitalize || text.empty()) return text;

  if (isLower(text[0])) text[0] = toUpper(text[0]);
  if (std::string_view(".:;>?").find(text.back()) == std::string_view::npos) text += '.';
  for (size_t stop = findByte(text, '.'); stop != std::string::npos; stop = findByte(text, '.', stop + 1))
    if (stop + 2 < text.size() && text[stop + 1] == ' ' && isLower(text[stop + 2]))
      text[stop + 2] = toUpper(text[stop + 2]);
  return text;
}

void finishPreformatted(std::vector<DocParagraph>& paragraphs) {
  size_t kept = 0;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (kept > 0 && paragraphs[kept - 1].kind == DocParagraph::kPreformatted &&
        paragraphs[i].kind == DocParagraph::kPreformatted &&
        paragraphs[kept - 1].prepared == paragraphs[i].prepared) {
      paragraphs[kept - 1].text += '\n';
      paragraphs[kept - 1].text += paragraphs[i].text;
      continue;
    }
    if (kept != i) paragraphs[kept] = std::move(paragraphs[i]);
    ++kept;
  }
  paragraphs.resize(kept);
  for (DocParagraph& paragraph : paragraphs) {
    if (paragraph.kind != DocParagraph::kPreformatted) continue;
    const size_t indent = commonIndentation(paragraph.text);
    if (indent > 0) removeIndentation(paragraph.text, indent);
  }
}

}  // namespace quillet
