// CHyperLink: turns a static control into a link to a web address. It draws the control's text
// underlined in the browser's link colours, shows the hand cursor over the text and opens the
// address on a click. The object must outlive the control or be detached first.
#pragma once

#include <windows.h>

#include <string>

#include "XGdi.h"

class CHyperLink {
 public:
  CHyperLink() = default;
  ~CHyperLink();
  CHyperLink(const CHyperLink&) = delete;
  CHyperLink& operator=(const CHyperLink&) = delete;

  // Subclasses the static control; the colours are read from the browser settings now.
  bool Attach(HWND control, const std::wstring& url);
  // Gives the control its own window procedure back (also done when the control is destroyed).
  void Detach();

  COLORREF LinkColor() const { return m_linkColor; }
  COLORREF VisitedColor() const { return m_visitedColor; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  RECT TextRect();
  bool OverText(LPARAM clientPoint);
  void ReadColors();

  HWND m_hWnd = nullptr;
  WNDPROC m_oldProc = nullptr;
  std::wstring m_url;
  COLORREF m_linkColor = RGB(0, 0, 255);
  COLORREF m_visitedColor = RGB(128, 0, 128);
  bool m_visited = false;
  CXGdiObject<HFONT> m_font;  // the control's font, underlined
};
