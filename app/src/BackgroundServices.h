// The two services of every first-instance start: the usage ping through the service
// library's statistics object, and the update check through Brindle.dll on a thread of its
// own. Their addresses are build-time settings (PINVALE_PING_HOST, PINVALE_UPDATE_HOST).
#pragma once

#include <windows.h>

#include "XString.h"

// "http://<ping host>/stat.php?src=pinvale&type=open&" and
// "http://<update host>/pinvale/update.ini". Tests may point both at a loopback server with
// the environment variables PINVALE_TEST_PING_URL and PINVALE_TEST_UPDATE_URL; only addresses
// on 127.0.0.1 are taken from there.
CString PingAddress();
CString UpdateAddress();

class CBackgroundServices {
 public:
  // Asks the service library for the statistics object, sends the ping and keeps the object.
  static void SendPing();
  // Releases the kept statistics object, if any.
  static void ReleasePing();
  static bool HasPingObject();

  // Starts the update thread for the main window (never joined).
  static void StartUpdateCheck(HWND mainWindow);
  // The updater library beside the running program: "<folder>\Brindle.dll".
  static CString UpdaterPath();
};
