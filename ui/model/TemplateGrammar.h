// The UI template grammar over the XML layer's raw events: "View", "Image", "event",
// "relayout" and property elements, and the joining of a property's text from its pieces.
// Platform-neutral: what to build goes to a sink (the template builder makes the objects).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "SkinValueText.h"

// An "Image" element as its attributes describe it. Attributes before "class" are ignored.
struct XImageSpec {
  enum Kind { Plain, Check, Res };  // the class value: "Check" hides it, "res" also disables it
  Kind kind = Plain;
  const char* id = nullptr;         // the last "id", null when none
  const char* margin = nullptr;     // the last "margin" and "alignment": a layout rule
  const char* alignment = nullptr;
  // "value", "block", "drawtype" and "alpha" in their order, for the image class itself.
  std::vector<std::pair<const char*, const char*>> properties;
};

// A "relayout" element: the rectangle (when "rect" was given) and the layout rule.
struct XRelayoutSpec {
  bool hasRect = false;
  XSkinBox rect;                // the last "rect" as a template rectangle
  const char* margin = "";      // the last "margin" and "alignment", "" when absent
  const char* alignment = "";
};

// What the builder does for the grammar. Texts are the parser's 8-bit text.
class IXTemplateSink {
 public:
  virtual ~IXTemplateSink() = default;
  // A View of the class with the id: true when an object was made and is now the insertion
  // point (the root, or a child of the insertion point).
  virtual bool MakeView(const char* className, const char* id) = 0;
  // The end of a View that made an object: the insertion point moves to its parent.
  virtual void CloseView() = 0;
  virtual void MakeImage(const XImageSpec& image) = 0;
  // An "event" element with both a name and a function.
  virtual void AttachEvent(const char* name, const char* func) = 0;
  virtual void Relayout(const XRelayoutSpec& rule) = 0;
  // The text of a property element, joined and trimmed, never empty (UTF-8).
  virtual void ApplyProperty(const std::string& element, const std::string& value) = 0;
};

class XTemplateGrammar {
 public:
  explicit XTemplateGrammar(IXTemplateSink& sink) : m_sink(sink) {}
  XTemplateGrammar(const XTemplateGrammar&) = delete;
  XTemplateGrammar& operator=(const XTemplateGrammar&) = delete;

  // One event of the raw stream (ParseAction protocol); true at ParseDone.
  bool Feed(int action, const char* text, int length, const char** attrs);

  // Character data is applied once per run between tags, so text that the parser delivers in
  // pieces (split at entity references and line breaks) is kept whole with the blanks between
  // the pieces. Blanks and line breaks before the text are layout, as is a line break followed
  // only by blanks at its end (the closing tag's indentation).
  static std::string JoinedText(const std::string& pieces);

 private:
  void Start(const char* name, const char** attrs);
  void End(const char* name);
  void Flush();
  void StartImage(const char** attrs);
  void StartEvent(const char** attrs);
  void StartRelayout(const char** attrs);

  IXTemplateSink& m_sink;
  std::vector<bool> m_views;  // per open "View": whether it made an object
  std::string m_element;      // the element that most recently started
  std::string m_text;         // character data gathered since the last tag, blanks included
};
