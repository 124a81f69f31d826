#include "typelib_keys.h"

namespace integration {
namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

void Note(ScriptResult& first, long error) {
    if (first == kScriptOk && error != kRegistryOk && error != kRegistryNotFound)
        first = ScriptResultFromRegistryError(error);
}

}  // namespace

ScriptResult RemoveTypeLibraryKeys(RegistryAccess& registry, const TypeLibraryKeys& keys) {
    ScriptResult first = kScriptOk;
    if (keys.libraryId.empty() || keys.version.empty()) return kScriptSyntaxError;
    const std::string library = "TypeLib\\" + keys.libraryId;
    Note(first, registry.DeleteTree(kClasses, library + "\\" + keys.version));
    if (registry.KeyExists(kClasses, library) && !registry.HasSubkeys(kClasses, library))
        Note(first, registry.DeleteTree(kClasses, library));
    for (const std::string& id : keys.interfaceIds) {
        if (!id.empty()) Note(first, registry.DeleteTree(kClasses, "Interface\\" + id));
    }
    return first;
}

}  // namespace integration
