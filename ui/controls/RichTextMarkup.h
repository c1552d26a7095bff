// The markup of rich-text captions: "{#fontid=2;hfontid=3;pfontid=4}run{/}" between plain
// runs. Platform-neutral (UTF-16 as char16_t); CXString lays the runs out and draws them.
#pragma once

#include <string>
#include <vector>

// One run: its text and, for a styled run, the font ids of the normal, hover, pushed and
// fourth states (0 where the style names none). A plain run takes its owner's ids.
struct XRichRun {
  std::u16string text;
  bool styled = false;
  int fontIds[4] = {0, 0, 0, 0};
};

// The markup split into parts, in order: plain runs and whole "{#...}...{/}" runs.
std::vector<std::u16string> XSplitRichParts(const std::u16string& text);
// Every part of the text as a run.
std::vector<XRichRun> XParseRichText(const std::u16string& text);
