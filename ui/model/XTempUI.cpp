// The include placeholder and its row in the class-name table.
#include "XTempUI.h"

#include "XUIClassTable.h"

CXTempUI::~CXTempUI() = default;

XUI_REGISTER_CLASS(L"include", CXTempUI)
