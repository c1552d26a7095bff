// CXScrollbar: the vertical skinned scrollbar of a list ("list.scrollbar"). It shows a page
// of a longer content: position is in content pixels and always within 0 .. range - page.
// Its pictures are its image children "scrollback" (track) and "scrollnormal",
// "scrollhover", "scrollpush" (thumb by state); without them it paints plain fills.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XBaseUI.h"

// Scroll arithmetic, plain integers: the thumb's height and its offset on the track.
struct WENDORA_API XSCROLL_GEOMETRY {
  // page * barHeight / range, truncated, but at least 8 pixels (or the bar's height when it
  // is shorter); 0 for a range of 0 or less.
  static int ThumbHeight(int page, int range, int barHeight);
  // The portion is content pixels per track pixel: (range - page) / (barHeight - thumbHeight).
  // The thumb's offset from the track's top for a position: position / portion, truncated
  // (computed in integers, so the end position puts the thumb exactly at the bottom).
  static int ThumbOffset(int position, int page, int range, int barHeight, int thumbHeight);
  // The position change for a thumb moved by trackDelta pixels: trackDelta * portion, rounded.
  static int ContentDelta(int trackDelta, int page, int range, int barHeight, int thumbHeight);
  // Clamps a position into 0 .. range - page.
  static int Clamp(int position, int page, int range);
};

class WENDORA_API CXScrollbar : public CXBaseUI {
 public:
  enum { STATE_NORMAL = 0, STATE_HOVER = 1, STATE_PUSHED = 2 };

  CXScrollbar();
  ~CXScrollbar() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  DWORD XUI_GetStyle() override;  // the stored style with 0x10: every move counts

  // Ignored when range <= 0 or range < page. Shows the scrollbar when page < range; else
  // hides it and resets the position. A position beyond the new end is pulled back to it.
  void SetScrollRange(int page, int range);
  // Refused (the old position kept) outside 0 .. range - page.
  void SetScrollPos(int position);
  int GetScrollPos() const { return m_position; }
  int GetPage() const { return m_page; }
  int GetRange() const { return m_range; }
  int GetState() const { return m_state; }
  bool IsDragging() const { return m_bDragging != 0; }
  // The thumb at the current position, in window client coordinates.
  CRect GetScrollbarRect();

  // Mouse handlers, points in client coordinates of the host window.
  virtual void OnMouseMove(WPARAM wParam, LPARAM lParam);
  virtual void OnMouseLeave(WPARAM wParam, LPARAM lParam);
  virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
  virtual void OnLButtonUp(WPARAM wParam, LPARAM lParam);

 private:
  int ThumbHeight();
  void SetState(int state);
  void EndDrag();
  void InvalidateParent();

  int m_page = 0;
  int m_range = 0;
  int m_position = 0;
  int m_state = STATE_NORMAL;
  BOOL m_bButtonDown = FALSE;
  CPoint m_press;  // where the current drag began
  BOOL m_bDragging = FALSE;
  int m_pressPosition = 0;  // the position when the current drag began
  bool m_bWin32Capture = false;
};
