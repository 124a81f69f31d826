#include "classes_fallback_registry.h"

#include <utility>

namespace integration {
namespace {

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// A delete's result from both places: not found only when neither had it.
long Combine(long classes, long user) {
    if (classes == kRegistryNotFound) return user;
    return classes;
}

}  // namespace

ClassesFallbackRegistry::ClassesFallbackRegistry(RegistryAccess& inner, std::string userClasses)
    : inner_(inner), userClasses_(std::move(userClasses)) {}

std::string ClassesFallbackRegistry::UserPath(const std::string& path) const {
    if (path.empty()) return std::string();  // never the user's classes key itself
    return userClasses_ + '\\' + path;
}

long ClassesFallbackRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    long error = inner_.CreateKey(root, path);
    if (root == kClasses && error == kRegistryAccessDenied) error = inner_.CreateKey(kUser, UserPath(path));
    return error;
}

long ClassesFallbackRegistry::SetStringValue(RegistryRoot root, const std::string& path, const std::string& name,
                                             const std::string& data) {
    long error = inner_.SetStringValue(root, path, name, data);
    if (root == kClasses && error == kRegistryAccessDenied)
        error = inner_.SetStringValue(kUser, UserPath(path), name, data);
    return error;
}

long ClassesFallbackRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    long error = inner_.DeleteValue(root, path, name);
    if (root != kClasses || path.empty()) return error;
    return Combine(error, inner_.DeleteValue(kUser, UserPath(path), name));
}

long ClassesFallbackRegistry::DeleteTree(RegistryRoot root, const std::string& path) {
    long error = inner_.DeleteTree(root, path);
    if (root != kClasses || path.empty()) return error;
    return Combine(error, inner_.DeleteTree(kUser, UserPath(path)));
}

bool ClassesFallbackRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    if (inner_.KeyExists(root, path)) return true;
    return root == kClasses && !path.empty() && inner_.KeyExists(kUser, UserPath(path));
}

bool ClassesFallbackRegistry::HasSubkeys(RegistryRoot root, const std::string& path) {
    if (inner_.HasSubkeys(root, path)) return true;
    return root == kClasses && !path.empty() && inner_.HasSubkeys(kUser, UserPath(path));
}

}  // namespace integration
