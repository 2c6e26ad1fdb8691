// The pass over the code store's typedef records that lets typedef names stand for what they name: each
// typedef is followed through the others to the type it finally names. The run hands those pairs to the
// link index of each output set (a typedef of a documented type links where the type does), and the
// document's class dictionary learns which typedefs stand for documented classes.
#pragma once

#include <string>
#include <vector>

#include "frontend/builder/code_store.h"

namespace quillet {

class ClassDictionary;

/// A typedef's name and the type it names once followed through the other typedefs.
struct TypedefTarget {
  std::string name;
  std::string followedType;
};

/// The declared type of `record` followed through the store's typedefs: a name that is a typedef is
/// replaced by that typedef's declared type, at most 100 times.
std::string followTypedef(const CodeStore& store, const TypedefRecord& record);

/// Every typedef of `store` with its followed type, in the store's order.
std::vector<TypedefTarget> typedefTargets(const CodeStore& store);

/// Enters every typedef of `store` whose followed type names a class of `dictionary` as standing for it.
void addTypedefsToDictionary(const CodeStore& store, ClassDictionary& dictionary);

}  // namespace quillet
