// Files links through the program's automation object "quorva.IEMenuCatch",
// by name and through IDispatch as a script would: COM starts the program
// when it is not running.
#pragma once

#include "link_request.h"

namespace link_host {

class AutomationFiler final : public LinkFiler {
public:
    std::string File(const std::u16string& url, const std::u16string& title) override;
};

}  // namespace link_host
