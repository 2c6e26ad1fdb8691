#include "document/search_index.h"

#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include "document/document.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"

namespace quillet {

namespace {

// Entry kinds as the search script numbers them; the script also ranks equal matches in this order.
enum Kind : int {
  kChapter = 0,
  kNamespace,
  kClass,
  kStruct,
  kUnion,
  kEnum,
  kTypedef,
  kFunction,
  kEnumerator,
  kFile,
};

// Writes the entries, numbering the pages' files once each so that an entry names its file by number.
class IndexWriter {
 public:
  IndexWriter(const EvaluationContext& context, std::ostream& out) : context_(context), out_(out) {
    plain_.linkIndex = nullptr;  // summaries as text: no links
    plain_.filter = context.filter;
  }

  void add(int kind, std::string_view name, std::string_view scope, std::string_view detail,
           const DocText& comment, const StyleSheetObject* target) {
    // What no page shows (members of an access the run leaves out) is not offered.
    const std::string link =
        target && context_.linkIndex ? context_.linkIndex->objectLink(*target, context_) : std::string();
    if (link.empty() && context_.linkIndex) return;
    addLinked(kind, name, scope, detail, comment, link);
  }

  void addLinked(int kind, std::string_view name, std::string_view scope, std::string_view detail,
                 const DocText& comment, const std::string& link) {
    if (name.empty()) return;
    const size_t hash = link.find('#');
    const std::string file = link.substr(0, hash);
    auto [found, added] = files_.emplace(file, files_.size());
    if (added) fileOrder_.push_back(file);
    out_ << (count_++ ? ",\n[" : "[") << kind << ',';
    writeScriptString(out_, name);
    out_ << ',';
    writeScriptString(out_, scope);
    out_ << ',';
    writeScriptString(out_, detail);
    out_ << ',';
    writeScriptString(out_, summary(comment));
    out_ << ',' << found->second << ',';
    writeScriptString(
        out_, hash == std::string::npos ? std::string_view() : std::string_view(link).substr(hash + 1));
    out_ << ']';
  }

  void writeFiles() {
    out_ << "],\nfiles:[";
    for (size_t i = 0; i < fileOrder_.size(); ++i) {
      if (i) out_ << ',';
      writeScriptString(out_, fileOrder_[i]);
    }
    out_ << "]};\n";
  }

 private:
  std::string summary(const DocText& comment) {
    if (comment.empty()) return {};
    std::ostringstream text;
    comment.WriteSummary(plain_, "", text);
    return plainText(text.str());
  }

  const EvaluationContext& context_;
  EvaluationContext plain_;
  std::ostream& out_;
  std::unordered_map<std::string, size_t> files_;
  std::vector<std::string> fileOrder_;
  size_t count_ = 0;
};

std::string scopeOf(std::string_view nameSpace, std::string_view className) {
  std::string scope(nameSpace);
  if (!scope.empty()) scope += "::";
  if (!className.empty()) scope.append(className).append("::");
  return scope;
}

int classKind(const Class& c) {
  return c.classType == "struct" ? kStruct : c.classType == "union" ? kUnion : kClass;
}

// The enumerator's name without its initializer.
std::string_view enumeratorName(std::string_view written) {
  const size_t end = written.find_first_of(" =\t");
  return written.substr(0, end);
}

// A nested enumeration is in the namespace of its class, `nameSpace`.
void addEnum(IndexWriter& index, const Enum& e, const std::string& nameSpace) {
  const std::string scope = scopeOf(nameSpace, e.className);
  index.add(kEnum, e.name, scope, "", e.doc, &e);
  const std::string tagScope = e.name.empty() ? scope : scope + e.name + "::";
  for (const EnumTag& tag : e.tags)
    index.add(kEnumerator, enumeratorName(tag.name), tagScope, "", tag.doc, &e);
}

}  // namespace

void writeScriptString(std::ostream& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out << '"';
  size_t plain = 0;  // where the characters not yet written begin; runs of them are written at once
  const auto writePlain = [&](size_t end) {
    if (end > plain) out.write(text.data() + plain, static_cast<std::streamsize>(end - plain));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      writePlain(i);
      out << '\\' << static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      writePlain(i);
      out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
    } else if (c == '<' && i + 1 < text.size() && text[i + 1] == '/') {
      writePlain(i);
      out << "<\\/";  // never "</script" in a page that inlines the text
      ++i;
    } else {
      continue;
    }
    plain = i + 1;
  }
  writePlain(text.size());
  out << '"';
}

std::string plainText(std::string_view html) {
  std::string text;
  text.reserve(html.size());
  bool blank = false;
  for (size_t i = 0; i < html.size(); ++i) {
    char c = html[i];
    if (c == '<') {
      const size_t end = html.find('>', i);
      if (end == std::string_view::npos) break;
      i = end;
      continue;
    }
    if (c == '&') {
      static const std::pair<std::string_view, char> kEntities[] = {
          {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
      for (const auto& [entity, plain] : kEntities) {
        if (html.substr(i, entity.size()) == entity) {
          c = plain;
          i += entity.size() - 1;
          break;
        }
      }
    }
    if (c == ' ' || c == '\n' || c == '\t' || c == '\r' || static_cast<unsigned char>(c) < 0x20) {
      blank = !text.empty();
      continue;
    }
    if (blank) text += ' ';
    blank = false;
    text += c;
  }
  return text;
}

void writeSearchIndex(const Document& document, const EvaluationContext& context, std::ostream& out) {
  out << "window.quilletIndex={kinds:[\"chapter\",\"namespace\",\"class\",\"struct\",\"union\",\"enum\","
         "\"typedef\",\"function\",\"enumerator\",\"file\"],\nentries:[";
  IndexWriter index(context, out);
  std::set<std::string> namespaces;
  std::set<std::string> files;
  auto noteNamespace = [&](const std::string& space) {
    for (size_t end = space.find("::"); !space.empty(); end = space.find("::", end + 2)) {
      namespaces.insert(space.substr(0, end));
      if (end == std::string::npos) break;
    }
  };
  for (const StyleSheetObject* object : document.globalChapters()) {
    const Chapter& chapter = *static_cast<const Chapter*>(object);
    if (chapter.parent()) index.add(kChapter, chapter.name(), "", "", DocText(), &chapter);
  }
  for (const StyleSheetObject* object : document.globalClasses()) {
    const Class& c = *static_cast<const Class*>(object);
    noteNamespace(c.nameSpace);
    files.insert(c.file);
    const std::string scope = scopeOf(c.nameSpace, "");
    index.add(classKind(c), c.name, scope, "", c.doc, &c);
    const std::string memberScope = scopeOf(c.nameSpace, c.name);
    for (const Function& f : *c.functions)
      index.add(kFunction, f.name, memberScope, f.ParameterText(), f.CombinedComment(), &f);
    for (const Enum& e : c.enums) addEnum(index, e, c.nameSpace);
    for (const TypedefRecord& t : c.typedefs) {
      const size_t cut = t.name.rfind("::");
      index.add(kTypedef, cut == std::string::npos ? t.name : t.name.substr(cut + 2), memberScope, "", t.doc,
                &c);
    }
  }
  for (const StyleSheetObject* object : document.globalFunctions()) {
    const Function& f = *static_cast<const Function*>(object);
    noteNamespace(f.nameSpace);
    files.insert(f.file);
    index.add(kFunction, f.name, scopeOf(f.nameSpace, f.className), f.ParameterText(), f.CombinedComment(),
              &f);
  }
  for (const StyleSheetObject* object : document.globalEnums()) {
    const Enum& e = *static_cast<const Enum*>(object);
    noteNamespace(e.nameSpace);
    files.insert(e.file);
    addEnum(index, e, e.nameSpace);
  }
  for (const std::string& space : namespaces) {
    const size_t cut = space.rfind("::");
    index.addLinked(kNamespace, cut == std::string::npos ? space : space.substr(cut + 2),
                    cut == std::string::npos ? std::string() : space.substr(0, cut + 2), "", DocText(), "");
  }
  for (const std::string& file : files) {
    const std::string link = context.linkIndex ? context.linkIndex->namedLink(context, file) : std::string();
    const size_t cut = file.find_last_of("/\\");
    index.addLinked(kFile, cut == std::string::npos ? file : file.substr(cut + 1),
                    cut == std::string::npos ? std::string() : file.substr(0, cut + 1), "", DocText(), link);
  }
  index.writeFiles();
}

}  // namespace quillet
