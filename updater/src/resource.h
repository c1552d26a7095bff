// Resource ids of Brindle.dll's update dialog and its strings, shared by the resource script
// and the code, so the two cannot drift apart.
#pragma once

#define IDS_UPDATE_QUESTION 102
#define IDD_UPDATE 103
#define IDS_DOWNLOADED 104

#define IDC_UPDATE_LINK 1001
#define IDC_UPDATE_PROGRESS 1002
#define IDC_UPDATE_STATUS 1003
#define IDC_UPDATE_INFO 1004

// The maker's web site behind the link (the control's text is the address as shown).
#define BRINDLE_SITE_TEXT "www.tarquon.com"
#define BRINDLE_SITE_URL L"http://www.tarquon.com/"
