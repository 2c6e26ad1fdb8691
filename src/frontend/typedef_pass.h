// The pass over the code store's typedef records that lets typedef names stand for what they name: the
// output stage hands each typedef whose type has a link target to the link index under the typedef's name,
// and the document's class dictionary learns which typedefs stand for documented classes.
#pragma once

#include <string>

#include "frontend/code_store.h"

namespace quillet {

class ClassDictionary;
class LinkIndex;

/// The declared type of `record` followed through the store's typedefs: a name that is a typedef is
/// replaced by that typedef's declared type, at most 100 times.
std::string followTypedef(const CodeStore& store, const TypedefRecord& record);

/// Records every typedef of `store` whose followed type has a named entry in `index` as another name of
/// that entry.
void addTypedefsToLinkIndex(const CodeStore& store, LinkIndex& index);

/// Enters every typedef of `store` whose followed type names a class of `dictionary` as standing for it.
void addTypedefsToDictionary(const CodeStore& store, ClassDictionary& dictionary);

}  // namespace quillet
