// Routing of a UI object's mouse messages to its handlers by a table of message and handler:
// the matching handler runs (virtually) with the message's wParam and lParam, and the event
// is marked handled; other messages are left untouched for the caller.
#pragma once

#include <windows.h>

#include <cstddef>

#include "XUIObject.h"

template <class T>
struct XMOUSE_ROUTE {
  UINT message;
  void (T::*handler)(WPARAM wParam, LPARAM lParam);
};

// True when the table has the event's message (then handled); false otherwise.
template <class T, std::size_t N>
bool XRouteMouse(T* object, MESSAGE_EVENT* event, const XMOUSE_ROUTE<T> (&routes)[N]) {
  for (const XMOUSE_ROUTE<T>& route : routes) {
    if (route.message != event->uMsg) continue;
    event->bHandled = TRUE;
    (object->*route.handler)(event->wParam, event->lParam);
    return true;
  }
  return false;
}
