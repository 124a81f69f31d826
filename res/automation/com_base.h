// Included by the header generated from quorva_automation.idl in place of a
// header for com_base.idl: the real declarations of IUnknown and IDispatch.
#pragma once
#include <oaidl.h>
