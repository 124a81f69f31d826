// Writing and removing the keys of a parsed registration script.
#include "registry_script.h"

namespace integration {
namespace {

std::string JoinPath(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + '\\' + name;
}

bool Failed(long error) { return error != kRegistryOk && error != kRegistryNotFound; }

ScriptResult RegisterKey(RegistryAccess& reg, RegistryRoot root, const std::string& parent,
                         const ScriptKey& key) {
    const std::string path = JoinPath(parent, key.name);
    if (key.flag == ScriptKey::Flag::Delete || key.flag == ScriptKey::Flag::ForceRemove) {
        long error = reg.DeleteTree(root, path);
        if (Failed(error)) return ScriptResultFromRegistryError(error);
        if (key.flag == ScriptKey::Flag::Delete) return kScriptOk;
    }
    if (long error = reg.CreateKey(root, path)) return ScriptResultFromRegistryError(error);
    if (key.hasDefault) {
        if (long error = reg.SetStringValue(root, path, std::string(), key.defaultValue))
            return ScriptResultFromRegistryError(error);
    }
    for (const ScriptNamedValue& v : key.values) {
        if (long error = reg.SetStringValue(root, path, v.name, v.data))
            return ScriptResultFromRegistryError(error);
    }
    for (const ScriptKey& sub : key.subkeys) {
        if (ScriptResult r = RegisterKey(reg, root, path, sub)) return r;
    }
    return kScriptOk;
}

void Note(ScriptResult& first, long error) {
    if (first == kScriptOk && Failed(error)) first = ScriptResultFromRegistryError(error);
}

void UnregisterKey(RegistryAccess& reg, RegistryRoot root, const std::string& parent,
                   const ScriptKey& key, ScriptResult& first) {
    const std::string path = JoinPath(parent, key.name);
    if (!reg.KeyExists(root, path)) return;
    if (key.flag == ScriptKey::Flag::ForceRemove || key.flag == ScriptKey::Flag::Delete) {
        Note(first, reg.DeleteTree(root, path));
        return;
    }
    for (const ScriptKey& sub : key.subkeys) UnregisterKey(reg, root, path, sub, first);
    for (const ScriptNamedValue& v : key.values) Note(first, reg.DeleteValue(root, path, v.name));
    if (key.flag == ScriptKey::Flag::NoRemove) return;
    if (reg.HasSubkeys(root, path)) {
        // Something not ours lives below: keep the key, take back our value.
        if (key.hasDefault) Note(first, reg.DeleteValue(root, path, std::string()));
        return;
    }
    Note(first, reg.DeleteTree(root, path));
}

}  // namespace

ScriptResult ScriptResultFromRegistryError(long error) {
    if (error == 0) return kScriptOk;
    return static_cast<ScriptResult>(0x80070000u | (static_cast<unsigned long>(error) & 0xFFFFu));
}

ScriptResult RegisterScript(RegistryAccess& registry, const RegistryScript& script) {
    for (const ScriptRootBlock& block : script.roots) {
        for (const ScriptKey& key : block.keys) {
            if (ScriptResult r = RegisterKey(registry, block.root, std::string(), key)) return r;
        }
    }
    return kScriptOk;
}

ScriptResult UnregisterScript(RegistryAccess& registry, const RegistryScript& script) {
    ScriptResult first = kScriptOk;
    for (const ScriptRootBlock& block : script.roots) {
        for (const ScriptKey& key : block.keys) UnregisterKey(registry, block.root, std::string(), key, first);
    }
    return first;
}

ScriptResult ApplyRegistryScript(RegistryAccess& registry, std::string_view text,
                                 const ScriptReplacements& replacements, bool registering) {
    RegistryScript script;
    if (!ParseRegistryScript(text, replacements, script)) return kScriptSyntaxError;
    return registering ? RegisterScript(registry, script) : UnregisterScript(registry, script);
}

}  // namespace integration
