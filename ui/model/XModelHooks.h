// How the object model reaches the layers above it without depending on them: the UI manager
// and the window classes fill these entries when the library is loaded. An empty entry (a host
// that links only the model) answers null: no application callback, no window layout rule.
#pragma once

#include "XUIObject.h"

class CXRelayOut;

struct XMODEL_HOOKS {
  // The application's notification callback (the UI manager's), or null.
  INotifyCallback* (*notifyCallback)();
  // The layout rule of a window object, or null for any other object.
  CXRelayOut* (*windowRelayout)(IXUIObject* object);
};

// The installed entries.
XMODEL_HOOKS& XModelHooks();
