#include "language_prompts.h"

#include "language.h"

unsigned PromptKeyForCommand(unsigned id) {
    if (id >= 0xF000 && id <= 0xF1EF) return 0xEF00 + (id - 0xF000) / 16;  // system menu
    if (id >= 0xE110 && id <= 0xE11F) return 0xEFDA;                        // recent files
    if (id >= 0xFF00) return 0xEF1F;
    return id;
}

std::string MenuPrompt(const CLanguage& lang, unsigned id) {
    std::string text = lang.GetText("message", std::to_string(PromptKeyForCommand(id)));
    std::size_t br = text.find('\n');  // never a trail byte: those start at 0x40
    return br == std::string::npos ? std::string() : text.substr(0, br);
}

std::string CommandToolTip(const CLanguage& lang, unsigned id) {
    std::string text = lang.GetText("message", std::to_string(id));
    std::size_t br = text.find('\n');
    if (br == std::string::npos) return std::string();
    std::string tip = text.substr(br + 1);
    ini_text::CutToBytes(tip, kToolTipBytes);
    return tip;
}

ButtonTexts SplitButtonText(const std::string& text) {
    std::size_t br = text.rfind('\n');
    if (br == std::string::npos) return {text, std::string()};
    return {text.substr(br + 1), text.substr(0, br)};
}
