// CXRelayOut: the layout rule that places an object inside its parent (or a top-level
// window on the work area) by an alignment and a margin. The alignment word keeps the
// vertical flags in its low half and the horizontal flags in its high half.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XGeometry.h"

class IXUIObject;

// Flags of each half of the alignment word; tested in the order 1, 4, 2, 8.
enum : DWORD {
  XALIGN_NEAR = 0x1,     // top / left
  XALIGN_CENTER = 0x2,
  XALIGN_FAR = 0x4,      // bottom / right
  XALIGN_STRETCH = 0x8,
  XALIGN_DEFAULT = 0x00010001,  // top left
};

class WENDORA_API CXRelayOut {
 public:
  explicit CXRelayOut(IXUIObject* object);
  ~CXRelayOut();

  // Two letters, case ignored: vertical T, C, B or S, then horizontal L, C, R or S; further
  // characters are ignored. A null or shorter text changes nothing; an unknown letter gives
  // no flag for its half (that half keeps its coordinates).
  void SetAlignment(const wchar_t* text);
  void SetAlignment(DWORD alignment) { m_alignment = alignment; }
  DWORD GetAlignment() const { return m_alignment; }
  void SetMargin(const CRect& margin) { m_margin = margin; }
  CRect GetMargin() const { return m_margin; }
  void SetEnable(int enable) { m_enabled = enable; }
  int IsEnable() const { return m_enabled; }
  IXUIObject* GetObject() const { return m_object; }

  // The object's place under this rule; not stored.
  CRect CalcRect() const;

  // The reference rectangle of an object: its parent's rectangle (moved to the origin when
  // the parent is a window), or the work area for an object without a parent.
  static CRect ReferenceRect(IXUIObject* object);
  // The placement arithmetic: own rectangle placed in the reference rectangle.
  static CRect Place(const CRect& own, const CRect& reference, DWORD alignment, const CRect& margin);

 private:
  int m_enabled = 0;
  DWORD m_alignment = XALIGN_DEFAULT;
  IXUIObject* m_object;
  CRect m_margin;
};

// The layout rule an object uses (windowless objects and windows each keep their own), or
// null for objects without one.
WENDORA_API CXRelayOut* XGetRelayout(IXUIObject* object);
