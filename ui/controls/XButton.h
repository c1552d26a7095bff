// CXButtonImpl: the push button, base of every button kind. Its look comes from its image
// children (switched to the block of its state) and its caption; its state follows the mouse
// (0 normal, 1 hover, 2 pushed), and a release that completes a press is a click.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "WendoraApi.h"
#include "XBaseUI.h"

struct ITessaly;

enum BUTTON_TYPE {
  BUTTON_TYPE_PUSH = 0,
  BUTTON_TYPE_CHECK = 1,
  BUTTON_TYPE_RADIO = 2,  // toolbar buttons too
};

// Caption alignment.
enum STRING_BIAS {
  STRING_BIAS_LEFT = 0,  // and any other value
  STRING_BIAS_CENTER = 1,
  STRING_BIAS_RIGHT = 2,
};

enum {
  XBUTTON_NORMAL = 0,
  XBUTTON_HOVER = 1,
  XBUTTON_PUSHED = 2,
};

// DrawText flags of a caption alignment: centre DT_CENTER | DT_VCENTER | DT_SINGLELINE (37),
// right DT_RIGHT (2), anything else 0.
WENDORA_API UINT XButtonTextFlags(int bias);

// The frames of a check or radio strip for a state. A strip of n > 0 blocks holds n / 2
// unchecked frames followed by n / 2 checked ones: block `state` is drawn, and when checked
// block n / 2 + state over it. A strip of no blocks is drawn whole with a block width of 0.
struct XSTRIP_FRAMES {
  bool whole;
  int blockWidth;
  int count;      // blocks to draw, in order (1 or 2)
  int block[2];
};
WENDORA_API XSTRIP_FRAMES XStripFrames(int pictureWidth, int blocks, int state, BOOL checked);

// Button groups: group number -> IDs of the members, in order of joining, each once.
typedef std::map<int, std::vector<CString>> XBUTTON_GROUPS;

class WENDORA_API CXButtonImpl : public CXBaseUI {
 public:
  CXButtonImpl();
  ~CXButtonImpl() override;

  // The event step, then the mouse messages to the handlers below (each marked handled).
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  const wchar_t* XUI_GetClassName() override;  // "XBUTTON"
  // "group" joins a group (AddButtonGroup with the own ID) and is taken; "buttontype" and
  // "texttopbias" are stored and then passed on to CXBaseUI.
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Own operations, after CXBaseUI's.
  virtual LRESULT OnMouseMove(MESSAGE_EVENT* event);
  virtual LRESULT OnMouseLeave(MESSAGE_EVENT* event);
  virtual LRESULT OnLButtonDown(MESSAGE_EVENT* event);
  virtual LRESULT OnLButtonUp(MESSAGE_EVENT* event);
  virtual void AddButtonGroup(int group, const CString& id);  // nothing for push and check buttons

  // With useStates false all four state colours become the normal one.
  void SetTextColor(COLORREF normal, BOOL useStates, COLORREF hover, COLORREF push, COLORREF fourth);
  COLORREF GetTextColor(int state) const;  // 0 outside 0..3
  void SetBias(STRING_BIAS bias) { m_nBias = bias; }
  int GetBias() const { return m_nBias; }
  void SetTextMargin(int left, int top);
  int GetTextLeftMargin() const { return m_nTextLeft; }
  int GetTextTopMargin() const { return m_nTextTop; }
  // When on, the button shows the hand cursor.
  void EnableSetCursor(int enable) { m_bSetCursor = enable; }
  void SetButtonType(int type) { m_nType = type; }
  int GetButtonType() const { return m_nType; }
  // The image index of every image child (background children that are not hidden).
  void SetImageIndex(int index);
  int GetState() const { return m_nState; }
  BOOL IsButtonDown() const { return m_bButtonDown; }
  CString GetGroupName() const { return m_strGroup; }

 protected:
  // State and the image children's index together.
  void SetState(int state);
  // The same, with the button repainted, when the state changes.
  void EnterState(int state);
  // The release of every kind: a release in hover is no click; otherwise the state becomes
  // hover, a check-type button toggles, a radio-type button of a radio kind is checked and
  // unchecks the other members of its group (looked up among its parent's children; groups
  // is null for a button in no group), and the click is posted.
  LRESULT Release(MESSAGE_EVENT* event, bool radioKind, const XBUTTON_GROUPS* groups, int group);
  static void JoinGroup(XBUTTON_GROUPS& groups, int group, const CString& id);
  // The IDs of a group's members in order of joining (empty for an unknown group).
  static std::vector<CString> GroupMembers(const XBUTTON_GROUPS& groups, int group);

  // The strip shared by every button of a class (check buttons, radio buttons): its picture,
  // held for the process, and its block count.
  struct XBUTTON_STRIP {
    ITessaly* image;
    int blocks;
  };
  static void ForgetStrip(XBUTTON_STRIP& strip);
  // Check and radio painting: the strip frames of the state at the top-left, then the
  // caption after the strip block in the state's text colour.
  void PaintStrip(HDC dc, XBUTTON_STRIP& strip);

  // The caption: rich text when the caption has markup, else plain text in the font and
  // colour (nothing for an empty caption).
  void DrawCaption(HDC dc, const CRect& rect, UINT flags, HFONT font, COLORREF color);
  // The caption in the font and colour of a font-table id, drawn only when the table has it.
  void DrawCaptionWithFont(HDC dc, const CRect& rect, UINT flags, int fontId);
  // A caption with markup, drawn by its rich-text string in the text rectangle with the
  // fonts of the button's state: true when drawn, false for a plain caption.
  bool DrawRichCaption(HDC dc, const CRect& rect, UINT flags);

 private:
  BOOL m_bButtonDown = FALSE;
  int m_nState = XBUTTON_NORMAL;
  CString m_strGroup;
  COLORREF m_textColors[4] = {0, 0, 0, 0};
  int m_nBias = STRING_BIAS_CENTER;
  int m_nTextLeft = 0;
  int m_nTextTop = 0;
  int m_bSetCursor = 0;
  int m_nType = BUTTON_TYPE_PUSH;
};
