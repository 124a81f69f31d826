// The list of every language-pack key the program looks up. Whoever adds a
// GetText call, a translated dialog control or a menu command adds its key
// here; a test then demands it of every pack shipped in res/Language.
#pragma once

#include <cstddef>
#include <span>

struct LanguageKey {
    const char* section;
    const char* key;
    // The program's own text for it (a literal or the resource's caption; for
    // section "message" the string-table entry), with real line breaks and
    // tabs; the Chinese pack holds exactly these. nullptr: no Chinese text of
    // its own exists.
    const char* builtin;
};

std::span<const LanguageKey> LanguageKeys();
