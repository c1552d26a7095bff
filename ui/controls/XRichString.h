// CXString: a caption with inline style markup ("{#fontid=2;hfontid=3}run{/}") split into
// segments, each with its fonts for the normal, hover, pushed (and a fourth) state, laid out
// left to right and drawn in the font of the current button state. Segment rectangles are
// valid only while the adjusted flag is set; every SetString and NeedAdjust clears it.
#pragma once

#include <windows.h>

#include <vector>

#include "WendoraApi.h"
#include "XGeometry.h"
#include "XString.h"

class CXBaseUI;

// Button states: which of a segment's fonts draws it.
enum Button_State {
  BUTTON_STATE_NORMAL = 0,
  BUTTON_STATE_HOVER = 1,
  BUTTON_STATE_PUSHED = 2,
};

// One run of text with its four font ids (indices of the font table) and its rectangle.
struct XStringDataEx {
  CString text;
  int fontIds[4];
  CRect rect;
};

class WENDORA_API CXString {
 public:
  CXString() = default;
  explicit CXString(CXBaseUI* owner) : m_pOwner(owner) {}
  CXString(const CXString&) = delete;
  CXString& operator=(const CXString&) = delete;

  // Splits the text into segments; plain runs take the owner's four font ids as they are now.
  // Never throws: without memory for the segments the string has none.
  void SetString(const CString& text);
  void SetWindowTextW(const CString& text) { SetString(text); }
  void GetWindowTextW(CString& text) const { text = m_source; }
  const CString& GetSource() const { return m_source; }

  // The object whose font ids plain runs use and whose rectangle the text is laid out in.
  // An owner of class "XSTRING" is resized to fit its text at each layout.
  void SetOwner(CXBaseUI* owner) { m_pOwner = owner; }
  CXBaseUI* GetOwner() const { return m_pOwner; }

  // Draws every segment in the owner's rectangle with the DrawText flags. DT_CENTER and
  // DT_RIGHT place the row of segments as a whole; the other flags apply to each segment.
  void Draw(HDC dc, UINT flags);
  // The same inside the given rectangle (a button's text rectangle, an edit's inner one).
  void Draw(HDC dc, UINT flags, const RECT& box);
  // Forgets the segment rectangles; the next Draw lays the text out again.
  void NeedAdjust() { m_bAdjusted = false; }
  bool IsAdjusted() const { return m_bAdjusted; }

  // 0 normal, 1 hover, 2 pushed (3 is the fourth font); other values are ignored.
  void SetButtonState(int state);
  int GetButtonState() const { return m_state; }
  // Stores the flag and passes it to the owner's XUI_SetEnable.
  void SetButtonEffect(int effect);
  int IsButtonEffect() const { return m_bButtonEffect; }
  // The flag alone, for an owner that keeps it in step from its own XUI_SetEnable.
  void StoreButtonEffect(int effect) { m_bButtonEffect = effect; }

  int GetSegmentCount() const { return static_cast<int>(m_segments.size()); }
  const XStringDataEx* GetSegment(int index) const;
  // Union of the measured text boxes of the last layout (empty before the first).
  CRect GetTextRect() const { return m_textRect; }

  // The markup split into parts, in order: plain runs and whole "{#...}...{/}" runs.
  static std::vector<CString> SplitParts(const CString& text);
  // A font id of the font table, or 0 when the table has no such font.
  static int ResolveFont(int id);

 private:
  void ParseStyleStringEx(const CString& part, XStringDataEx& segment);
  void AdjustRectEx(HDC dc, const CRect& box);

  CString m_source;
  std::vector<XStringDataEx> m_segments;
  bool m_bAdjusted = false;
  int m_bButtonEffect = 0;
  int m_state = BUTTON_STATE_NORMAL;
  CXBaseUI* m_pOwner = nullptr;
  CRect m_layoutBox;  // the rectangle the segments were laid out in
  CRect m_textRect;
};
