#include "add_url_errors.h"

#include "language.h"

namespace integration {
namespace {

constexpr char kSection[] = "automation";

BSTR AnsiToBstr(const std::string& text) {
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return nullptr;
    BSTR out = ::SysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (out) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, wide);
    return out;
}

}  // namespace

std::string AddUrlErrorText(HRESULT refusal) {
    const CLanguage* language = CLanguage::Instance();
    switch (refusal) {
        case E_INVALIDARG:
            return language->GetText(kSection, "10000", "网址或标题太长(超过 64 KiB),链接没有被收下。");
        case E_OUTOFMEMORY:
            return language->GetText(kSection, "10001", "等待收藏的链接太多(或内存不足),链接没有被收下。");
        default:
            return language->GetText(kSection, "10002", "链接没有被收下。");
    }
}

void FillAddUrlException(EXCEPINFO* exception, HRESULT refusal) {
    if (!exception) return;
    *exception = EXCEPINFO{};
    exception->scode = refusal;
    exception->bstrSource = ::SysAllocString(L"quorva.IEMenuCatch");
    exception->bstrDescription = AnsiToBstr(AddUrlErrorText(refusal));
}

}  // namespace integration
