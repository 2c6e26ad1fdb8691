#include "frontend/typedef_pass.h"

#include "model/class_dictionary.h"
#include "stylesheet/link_index.h"

namespace quillet {

namespace {

constexpr int kMaxTypedefSteps = 100;

}  // namespace

std::string followTypedef(const CodeStore& store, const TypedefRecord& record) {
  const std::string* text = &record.declaredText;
  for (int step = 0; step < kMaxTypedefSteps; ++step) {
    const TypedefRecord* next = store.GetTypedef(*text);
    if (!next || next->declaredText == *text) break;
    text = &next->declaredText;
  }
  return *text;
}

void addTypedefsToLinkIndex(const CodeStore& store, LinkIndex& index) {
  for (const TypedefRecord& record : store.typedefs()) {
    if (const LinkIndex::Entry* target = index.findNamed(followTypedef(store, record)))
      index.addTypedef(record.name, *target);
  }
}

void addTypedefsToDictionary(const CodeStore& store, ClassDictionary& dictionary) {
  for (const TypedefRecord& record : store.typedefs())
    dictionary.addTypedef(record.name, followTypedef(store, record));
}

}  // namespace quillet
