; Pinvale's setup program and its uninstaller. Setup installs the output folder per machine
; and records everything it makes (files, shortcuts, registry values, the extension's
; registration); the uninstaller removes exactly that and keeps the user's data unless asked.
; Defines from the build: VERSION (a.b.c.d), DIST (the output folder), OUTFILE, ICON.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Pinvale"
!define PUBLISHER "Tarquon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pinvale"
!define USER_KEY "Software\Tarquon\Pinvale"
!define MAKER_KEY "Software\Tarquon"
!define EXTENSION_KEY "Software\Classes\CLSID\{EDE9C14E-B540-40BD-9592-1770FCDF08F4}\InprocServer32"
!define MUTEX "Pinvale_{704E1A40-9417-4525-AC09-396ED748401A}"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var OldVersion  ; version of the installation found at start, empty when there is none

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(UnComponentsTop)"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

; The first language is the fallback; otherwise the system's UI language picks the page texts.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!include "Languages.nsh"

; The registration keeps (never deletes) the handler-list keys it may share with other
; extensions. Setup notes in the uninstall entry which of them did not exist before its
; registration (per class one bit for the list key and one for the ShellEx key above it) and
; removes exactly those, when empty, after unregistering.
!define MADE_KEYS "MadeShellKeys"
!macro NOTE_MISSING_KEYS class listBit shellBit
  ClearErrors
  EnumRegKey $R1 HKLM "Software\Classes\${class}\ShellEx" 0
  ${If} ${Errors}
    IntOp $R0 $R0 | ${shellBit}
  ${Else}
    ClearErrors
    EnumRegKey $R1 HKLM "Software\Classes\${class}\ShellEx\ContextMenuHandlers" 0
    ${If} ${Errors}
      IntOp $R0 $R0 | ${listBit}
    ${EndIf}
  ${EndIf}
!macroend
!macro PRUNE_MADE_KEYS class listBit shellBit
  IntOp $R1 $R0 & ${listBit}
  IntOp $R2 $R0 & ${shellBit}
  ${If} $R1 <> 0
  ${OrIf} $R2 <> 0
    DeleteRegKey /ifempty HKLM "Software\Classes\${class}\ShellEx\ContextMenuHandlers"
  ${EndIf}
  ${If} $R2 <> 0
    DeleteRegKey /ifempty HKLM "Software\Classes\${class}\ShellEx"
  ${EndIf}
!macroend

; Ends a running Pinvale the way the updater does (WM_CLOSE to its main window) and waits for
; the process, so that no file of the program folder is in use. A program without a window
; (still starting) holds the instance mutex: it is waited for, then the user is asked.
!macro CLOSE_PROGRAM un
Function ${un}CloseProgram
  Push $0
  Push $1
  Push $2
  Push $3
  retry:
  StrCpy $3 0
  ${Do}
    FindWindow $0 "XDROPEASYWND" "${PRODUCT}"
    ${If} $0 <> 0
      DetailPrint "$(ClosingProgram)"
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
      System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ${If} $2 <> 0
        System::Call 'kernel32::WaitForSingleObject(p r2, i 20000)'
        System::Call 'kernel32::CloseHandle(p r2)'
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r0'
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    IntOp $3 $3 + 1
    ${If} $3 > 60
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
      Pop $3
      Pop $2
      Pop $1
      Pop $0
      SetErrorLevel 3
      Abort "$(StillRunning)"
    ${EndIf}
    Sleep 250
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The full path of the 64-bit extension's registration in the 64-bit view, or empty.
Function ${un}RegisteredExtension
  Push $0
  SetRegView 64
  ReadRegStr $0 HKLM "${EXTENSION_KEY}" ""
  SetRegView 32
  Exch $0
FunctionEnd

; Registers (arg "") or unregisters (arg "/u") Hollin.dll with the 64-bit registration tool,
; which a 32-bit program reaches through the Sysnative folder.
Function ${un}RegisterExtension
  Exch $0
  Push $1
  Push $R0
  Push $R1
  Push $R2
  ReadRegDWORD $R0 HKLM "${UNINSTALL_KEY}" "${MADE_KEYS}"
  SetRegView 64
  ${If} $0 == ""
    !insertmacro NOTE_MISSING_KEYS "*" 1 2
    !insertmacro NOTE_MISSING_KEYS "Folder" 4 8
    !insertmacro NOTE_MISSING_KEYS "Directory" 16 32
    !insertmacro NOTE_MISSING_KEYS "Directory\Background" 64 128
  ${EndIf}
  SetRegView 32
  ExecWait '"$WINDIR\Sysnative\regsvr32.exe" /s $0 "$INSTDIR\Hollin.dll"' $1
  ${If} $1 != 0
    DetailPrint "$(RegisterFailed) ($1)"
  ${EndIf}
  ${If} $0 == "/u"
    SetRegView 64
    !insertmacro PRUNE_MADE_KEYS "*" 1 2
    !insertmacro PRUNE_MADE_KEYS "Folder" 4 8
    !insertmacro PRUNE_MADE_KEYS "Directory" 16 32
    !insertmacro PRUNE_MADE_KEYS "Directory\Background" 64 128
    SetRegView 32
    StrCpy $R0 0
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${MADE_KEYS}" $R0
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."

; Every shipped file (folder inside the program folder, name), for setup and uninstaller alike.
!macro FOR_EACH_SHIPPED_FILE do
  !insertmacro ${do} "" "Pinvale.exe"
  !insertmacro ${do} "" "Wendora.dll"
  !insertmacro ${do} "" "Corvane.dll"
  !insertmacro ${do} "" "Brindle.dll"
  !insertmacro ${do} "" "Oskel.dll"
  !insertmacro ${do} "" "Tessaly.dll"
  !insertmacro ${do} "" "Hollin.dll"
  !insertmacro ${do} "" "lua51.dll"
  !insertmacro ${do} "" "libexpat.dll"
  !insertmacro ${do} "" "libstdc++-6.dll"
  !insertmacro ${do} "" "libgcc_s_dw2-1.dll"
  !insertmacro ${do} "" "libwinpthread-1.dll"
  !insertmacro ${do} "skin" "DefaultSkin.xui"
!macroend
!macro INSTALL_FILE dir name
  !if "${dir}" == ""
    SetOutPath "$INSTDIR"
    File "${DIST}\${name}"
  !else
    SetOutPath "$INSTDIR\${dir}"
    File "${DIST}\${dir}\${name}"
  !endif
!macroend
; A file still in use (the extension loaded by the file manager) goes at the next restart.
!macro REMOVE_FILE dir name
  !if "${dir}" == ""
    Delete /REBOOTOK "$INSTDIR\${name}"
  !else
    Delete /REBOOTOK "$INSTDIR\${dir}\${name}"
  !endif
!macroend

Section "$(NameProgram)" SecProgram
  SectionIn RO
  Call CloseProgram

  SetOutPath "$INSTDIR"
  ; Explorer may hold the extension loaded: a loaded library can be renamed but not replaced,
  ; so the old one moves aside and goes at the next restart.
  ${If} ${FileExists} "$INSTDIR\Hollin.dll"
    Delete "$INSTDIR\Hollin.dll"
    ${If} ${FileExists} "$INSTDIR\Hollin.dll"
      GetTempFileName $0 "$INSTDIR"
      Delete "$0"
      Rename "$INSTDIR\Hollin.dll" "$0"
      Delete /REBOOTOK "$0"
    ${EndIf}
  ${EndIf}
  !insertmacro FOR_EACH_SHIPPED_FILE INSTALL_FILE
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pinvale.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The context-menu extension finds the program through this per-user value.
  WriteRegStr HKCU "${USER_KEY}" "installpath" "$INSTDIR\Pinvale.exe"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Pinvale.exe"
  SetShellVarContext current
SectionEnd

Section "$(NameContextMenu)" SecContextMenu
  Push ""
  Call RegisterExtension
SectionEnd

; The same shortcut as the settings dialog's "start with Windows", so both agree.
Section "$(NameAutostart)" SecAutostart
  CreateShortcut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\Pinvale.exe"
SectionEnd

Section "$(NameRun)" SecRun
SectionEnd

; What an unchosen component leaves: no registration of this folder's extension and no
; Startup shortcut. The program's "rightmenu" option follows the choice, so its settings
; dialog shows the state setup left.
Section "-Unchosen"
  ${If} ${SectionIsSelected} ${SecContextMenu}
    WriteRegDWORD HKCU "${USER_KEY}" "rightmenu" 1
  ${Else}
    WriteRegDWORD HKCU "${USER_KEY}" "rightmenu" 0
    Call RegisteredExtension
    Pop $0
    ${If} $0 == "$INSTDIR\Hollin.dll"
      Push "/u"
      Call RegisterExtension
    ${EndIf}
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    Delete "$SMSTARTUP\${PRODUCT}.lnk"
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(DescProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecContextMenu} "$(DescContextMenu)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "$(DescAutostart)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRun} "$(DescRun)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Sets a component from a command-line option NAME=0|1; an absent option changes nothing.
!macro COMPONENT_OPTION params option section
  ClearErrors
  ${GetOptions} "${params}" "${option}" $1
  ${IfNot} ${Errors}
    ${If} $1 == "1"
      !insertmacro SelectSection ${section}
    ${ElseIf} $1 == "0"
      !insertmacro UnselectSection ${section}
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  ReadRegStr $OldVersion HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $OldVersion != ""
    ${VersionCompare} "$OldVersion" "${VERSION}" $0
    ${If} $0 != 2
      MessageBox MB_YESNO|MB_ICONQUESTION "$(AskOverwrite)" /SD IDYES IDYES +3
      SetErrorLevel 4
      Quit
    ${EndIf}
    ; An upgrade keeps the choices the installation has.
    Call RegisteredExtension
    Pop $0
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != "$1\Hollin.dll"
      !insertmacro UnselectSection ${SecContextMenu}
    ${EndIf}
    ${IfNot} ${FileExists} "$SMSTARTUP\${PRODUCT}.lnk"
      !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}
    !insertmacro UnselectSection ${SecRun}
  ${EndIf}

  ${GetParameters} $0
  !insertmacro COMPONENT_OPTION $0 "/CONTEXTMENU=" ${SecContextMenu}
  !insertmacro COMPONENT_OPTION $0 "/AUTOSTART=" ${SecAutostart}
  !insertmacro COMPONENT_OPTION $0 "/RUN=" ${SecRun}

  ; The 64-bit extension cannot load on a 32-bit system.
  ${IfNot} ${RunningX64}
    !insertmacro UnselectSection ${SecContextMenu}
    !insertmacro SetSectionFlag ${SecContextMenu} ${SF_RO}
  ${EndIf}
FunctionEnd

; An upgrade stays in the folder of the installation it replaces.
Function SkipDirectoryOnUpgrade
  ${If} $OldVersion != ""
    Abort
  ${EndIf}
FunctionEnd

; Started through the shell, so that the program runs as the user's own process without
; setup's elevation: an elevated window is refused drops and messages from the file manager.
Function .onInstSuccess
  ${If} ${SectionIsSelected} ${SecRun}
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Pinvale.exe"'
  ${EndIf}
FunctionEnd

; ---- Uninstaller -------------------------------------------------------------------------

Section "-un.Program"
  Call un.CloseProgram

  Call un.RegisteredExtension
  Pop $0
  ${If} $0 == "$INSTDIR\Hollin.dll"
    Push "/u"
    Call un.RegisterExtension
  ${EndIf}

  !insertmacro FOR_EACH_SHIPPED_FILE REMOVE_FILE
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR\skin"
  RMDir /REBOOTOK "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  SetShellVarContext current
  Delete "$SMSTARTUP\${PRODUCT}.lnk"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Where the program is and whether its extension is on describe this installation; the
  ; user's other options stay for a later installation.
  DeleteRegValue HKCU "${USER_KEY}" "installpath"
  DeleteRegValue HKCU "${USER_KEY}" "rightmenu"
  DeleteRegKey /ifempty HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
SectionEnd

; The favourites folder by the program's own rule: %APPDATA% when set, else the shell's folder.
Section /o "un.$(NameRemoveData)" SecRemoveData
  DeleteRegKey HKCU "${USER_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  ExpandEnvStrings $0 "%APPDATA%"
  ${If} $0 == ""
  ${OrIf} $0 == "%APPDATA%"
    StrCpy $0 "$APPDATA"
  ${EndIf}
  RMDir /r "$0\${PUBLISHER}\${PRODUCT}"
  RMDir "$0\${PUBLISHER}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRemoveData} "$(DescRemoveData)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecRemoveData}
  ${EndIf}
FunctionEnd
