// Resource ids of the automation server: the embedded type library and the
// registry scripts that register the server.
#pragma once

#define IDR_AUTOMATION_TYPELIB 1
#define IDR_APP_REGISTRATION 100
#define IDR_IEMENUCATCH 102
