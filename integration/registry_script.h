// Component-registration scripts: a tree of registry keys with their values,
// written when a component is registered and removed when it is unregistered.
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove '{...}' = s 'Class name'
//           {
//               LocalServer32 = s '%MODULE%'
//               val AppID = s '{...}'
//           }
//       }
//   }
//
// A key is a name (quoted with ' when it holds braces, spaces or a keyword;
// '' stands for one ') with an optional default value "= s 'text'" and an
// optional body of named values ("val Name = s 'text'") and subkeys. Flags:
// NoRemove keys are never deleted on unregistering (only what the script put
// below them is); ForceRemove keys are deleted with everything below them
// before they are written, and deleted whole on unregistering; Delete keys
// are deleted on registering and not written. Other keys are removed on
// unregistering once nothing foreign is left below them. Keywords and root
// names (HKCR, HKCU, HKLM or their long forms) are matched without case.
//
// %NAME% in a name or value is replaced by the value given for NAME (%% is
// one %). Replacement happens after the text is split into tokens, so a
// value such as a path with quotes or braces cannot change the script.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "registry_access.h"

namespace integration {

// Results have the layout of system HRESULTs, so that start-up can use them
// as the exit code of a registration run.
using ScriptResult = std::int32_t;
constexpr ScriptResult kScriptOk = 0;
constexpr ScriptResult kScriptSyntaxError = static_cast<ScriptResult>(0x80020009);  // DISP_E_EXCEPTION

// The result for a failed registry operation with the given system error code.
ScriptResult ScriptResultFromRegistryError(long error);

struct ScriptNamedValue {
    std::string name;
    std::string data;
};

struct ScriptKey {
    enum class Flag { Normal, NoRemove, ForceRemove, Delete };

    std::string name;
    Flag flag = Flag::Normal;
    bool hasDefault = false;
    std::string defaultValue;
    std::vector<ScriptNamedValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRootBlock {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<ScriptKey> keys;
};

struct RegistryScript {
    std::vector<ScriptRootBlock> roots;
};

using ScriptReplacements = std::map<std::string, std::string>;

// Parses `text`; on a syntax error (or an unknown %NAME%) returns false and
// leaves `out` unspecified. Nothing is written before a script has parsed.
bool ParseRegistryScript(std::string_view text, const ScriptReplacements& replacements,
                         RegistryScript& out);

// Writes every key and value; stops at the first failure and returns it.
ScriptResult RegisterScript(RegistryAccess& registry, const RegistryScript& script);

// Removes what the script writes, keeping NoRemove keys. Goes on past
// failures and returns the first one.
ScriptResult UnregisterScript(RegistryAccess& registry, const RegistryScript& script);

// Parses and then registers or unregisters.
ScriptResult ApplyRegistryScript(RegistryAccess& registry, std::string_view text,
                                 const ScriptReplacements& replacements, bool registering);

}  // namespace integration
