; The installer of the desktop tool for 64-bit Windows, built by scripts/package-windows:
;   makensis -DVERSION=0.53 -DSTAGE=<folder of the zip's files> -DICON=<app.ico>
;            -DFILELIST=<the uninstaller's deletions> -DOUTFILE=<setup.exe> installer.nsi
; Per machine, into Program Files; Start-menu entries; an uninstaller that removes what was
; installed; vk4100ctl.exe (in bin\, which holds nothing else) on the system PATH when that
; part is chosen, or with /PATH=1 on the command line of a silent (/S) install.
Unicode true
Target amd64-unicode  ; a 64-bit program, as the tool is (and as wine64 runs)
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
${StrStr}
${UnStrRep}

!define PRODUCT "VK-4100 Camera Control Tool"
!define COMPANY "Ostra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VK-4100 Camera Control Tool"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COMPANY}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licences\README.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT}" SecTool
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\vk4100-control-tool.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vk4100-control-tool.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless chosen (or /PATH=1 on a silent install's command line).
Section /o "vk4100ctl.exe on the PATH" SecPath
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  ; A PATH near the installer's string limit would come back cut short: leave it alone.
  StrLen $3 $0
  IntOp $4 ${NSIS_MAX_STRLEN} - 300
  ${If} $3 > $4
    MessageBox MB_ICONEXCLAMATION "The PATH is too long to be changed here; add $INSTDIR\bin to it by hand." /SD IDOK
    Return
  ${EndIf}
  ${StrStr} $1 ";$0;" ";$INSTDIR\bin;"
  ${If} $1 == ""
    ${If} $0 == ""
      StrCpy $0 "$INSTDIR\bin"
    ${Else}
      StrCpy $0 "$0;$INSTDIR\bin"
    ${EndIf}
    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "OnPath" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}
SectionEnd

LangString DESC_SecTool ${LANG_ENGLISH} "The desktop tool and vk4100ctl.exe, with the Qt libraries they need."
LangString DESC_SecPath ${LANG_ENGLISH} "Lets a command prompt run vk4100ctl.exe without its folder."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecTool} $(DESC_SecTool)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPath} $(DESC_SecPath)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $R0
  ${GetOptions} $R0 "/PATH=" $R1
  ${If} $R1 == "1"
    !insertmacro SelectSection ${SecPath}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  ReadRegDWORD $2 HKLM "${UNINSTALL_KEY}" "OnPath"
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  StrLen $3 $0
  IntOp $4 ${NSIS_MAX_STRLEN} - 300
  ${If} $2 == 1
  ${AndIf} $3 <= $4
    ${UnStrRep} $0 ";$0;" ";$INSTDIR\bin;" ";"
    ; Take off the separators the wrapping above added.
    StrCpy $0 $0 "" 1
    StrCpy $0 $0 -1
    WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  ; Only what the installer put there: the folder goes if nothing else is left in it.
  !include "${FILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
