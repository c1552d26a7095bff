// CTrayIcon: the program's icon in the notification area, tied to the main window. The record
// is filled once when the main window is created and reused for every add (also after the
// taskbar is re-created) and for the final delete; the icon handle lives for the whole run.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "ShellHandles.h"

class CTrayIcon {
 public:
  enum : UINT {
    kCallbackMessage = WM_USER + 3,  // 1027
    kCommandOpen = 1000,
    kCommandExit = 1,
  };

  CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Loads the program icon (resource 128 at the small-icon size), fills the record for the
  // window and adds the icon.
  void Create(HWND window);
  // Adds the icon again with the same record (the taskbar was re-created).
  void Add();
  void Delete();
  // The right-button menu at the cursor: open (1000) and exit (1) in the user's language
  // ("打开Pinvale" and "退出" in Chinese), owned by the window; the choice arrives as WM_COMMAND.
  void ShowMenu();

  // The id of the registered "TaskbarCreated" message.
  static UINT TaskbarCreatedMessage();
  const NOTIFYICONDATAW& Record() const { return m_data; }

 private:
  NOTIFYICONDATAW m_data;
  CXIcon m_icon;
};
