// Texts of commands from section "message": each is the status-bar prompt
// (also the tool tip), a line break, and the short name shown as a toolbar
// button's label.
#pragma once

#include <cstddef>
#include <string>

class CLanguage;

// The command id whose [message] text serves menu item `id`: system-menu
// commands, the recent-file range and ids from 0xFF00 up share texts.
unsigned PromptKeyForCommand(unsigned id);

// The status-bar prompt of a highlighted menu item: its text up to the first
// line break; empty when the text has none or the pack lacks it (prompts have
// no built-in text).
std::string MenuPrompt(const CLanguage& lang, unsigned id);

// The tool tip the main window answers: the text after the first line break,
// cut to kToolTipBytes between characters; empty without a line break.
constexpr std::size_t kToolTipBytes = 79;
std::string CommandToolTip(const CLanguage& lang, unsigned id);

// A toolbar button's texts from "description\nlabel", split at the last line
// break; a text without one is all label.
struct ButtonTexts {
    std::string label;
    std::string description;
};
ButtonTexts SplitButtonText(const std::string& text);
