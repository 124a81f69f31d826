// What a script learns when AddURL refuses a link: the call's own HRESULT and
// a sentence in the user's language, in the exception information of
// IDispatch::Invoke (a script sees the HRESULT as its error's number).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace integration {

// The sentence for a refusal of AddURL (E_INVALIDARG: a text over the limit;
// E_OUTOFMEMORY: the queue is full or memory ran out; anything else).
std::string AddUrlErrorText(HRESULT refusal);

// Fills `exception` (may be null; what it held on entry is not freed, as an
// [out] argument's) with `refusal`, its sentence and the ProgID as source.
void FillAddUrlException(EXCEPINFO* exception, HRESULT refusal);

}  // namespace integration
