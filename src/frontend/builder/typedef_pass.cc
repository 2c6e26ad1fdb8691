#include "frontend/builder/typedef_pass.h"

#include "model/class_dictionary.h"

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

std::vector<TypedefTarget> typedefTargets(const CodeStore& store) {
  std::vector<TypedefTarget> targets;
  targets.reserve(store.typedefs().size());
  for (const TypedefRecord& record : store.typedefs())
    targets.push_back({record.name, followTypedef(store, record)});
  return targets;
}

void addTypedefsToDictionary(const CodeStore& store, ClassDictionary& dictionary) {
  for (const TypedefRecord& record : store.typedefs())
    dictionary.addTypedef(record.name, followTypedef(store, record));
}

}  // namespace quillet
