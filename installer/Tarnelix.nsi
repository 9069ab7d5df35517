; The Tarnelix installer, built by scripts/dist.sh with Debian's makensis:
;   makensis -DVERSION=3.0.0 -DSTAGE=<folder of the programs> -DOUTFILE=<setup.exe> Tarnelix.nsi
; Installs for all users into Program Files. The uninstaller ends the
; running programs through their windows first; with /PURGE (or when the
; user agrees) it also removes the settings and the list files.
Unicode true
Target amd64-unicode
!ifdef COMPRESSOR
  SetCompressor ${COMPRESSOR}
!else
  SetCompressor /SOLID lzma
!endif

!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Tarnelix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnelix"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The value the main program writes for "Start with Windows".
!define RUN_VALUE "Tarnelix"
!define WM_COMMAND 0x0111
!define IDOK 1
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails nevershow
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Corvantine"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) Corvantine"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Tarnelix (required)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tarnelix.exe"
  File "${STAGE}\Wendle.dll"
  File "${STAGE}\Veilmark-AddOn.exe"
  File "${STAGE}\TarnelixCtrl.exe"
  File "${STAGE}\README.txt"
  !if /FileExists "${STAGE}\TarnelixHelp.chm"
    File "${STAGE}\TarnelixHelp.chm"
  !endif
  File /r "${STAGE}\Skin"
  File /r "${STAGE}\Notifications"
  File /r "${STAGE}\Sound"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Tarnelix.lnk" "$INSTDIR\Tarnelix.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Veilmark Privacy Add-on.lnk" "$INSTDIR\Veilmark-AddOn.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall Tarnelix.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvantine"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarnelix.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; TarnelixCtrl.exe applies the signed updates and then starts the programs.
Section "Start Tarnelix with Windows" SecRun
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\TarnelixCtrl.exe"'
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Waits up to $R1 tenths of a second for the process $R0 (a handle) to end.
Function un.WaitForProcess
  ${If} $R0 <> 0
    IntOp $R1 $R1 * 100
    System::Call 'kernel32::WaitForSingleObject(p R0, i R1) i'
    System::Call 'kernel32::CloseHandle(p R0)'
  ${EndIf}
FunctionEnd

; The main window's own exit: the OK command, then OK on its question.
; Tarnelix then broadcasts its exit message, which ends the add-on too.
Function un.EndTarnelix
  FindWindow $0 "#32770" "Tarnelix 3.0"
  StrCpy $R0 0
  ${If} $0 <> 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .R0'
    System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${IDOK}, p 0)'
    ${For} $3 1 100
      FindWindow $4 "#32770" "Message Info"
      ${If} $4 <> 0
        System::Call 'user32::GetWindowThreadProcessId(p r4, *i .r5)'
        ${If} $5 = $2
          System::Call 'user32::PostMessageW(p r4, i ${WM_COMMAND}, p ${IDOK}, p 0)'
          ${Break}
        ${EndIf}
      ${EndIf}
      Sleep 100
    ${Next}
  ${EndIf}
  StrCpy $R1 100
  Call un.WaitForProcess
FunctionEnd

; An add-on left without its main program obeys an exit message that names
; the main window it had found ($0, or none).
Function un.EndAddOn
  FindWindow $6 "#32770" "Tarnelix-Veilmark"
  ${If} $6 <> 0
    System::Call 'user32::GetWindowThreadProcessId(p r6, *i .r2)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .R0'
    System::Call 'user32::RegisterWindowMessageW(w "WM_TARNELIX_EXIT") i .r7'
    System::Call 'user32::PostMessageW(p r6, i r7, p 0, p r0)'
    StrCpy $R1 50
    Call un.WaitForProcess
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndTarnelix
  Call un.EndAddOn

  Delete "$INSTDIR\Tarnelix.exe"
  ; The system may keep the hook library mapped in other processes for a
  ; while after Tarnelix has removed its hooks: then it goes at the next
  ; start of Windows, and the folder with it.
  Delete /REBOOTOK "$INSTDIR\Wendle.dll"
  Delete "$INSTDIR\Veilmark-AddOn.exe"
  Delete "$INSTDIR\TarnelixCtrl.exe"
  Delete "$INSTDIR\TarnelixCtrl.log"
  Delete "$INSTDIR\TarnelixHelp.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\*.bak"
  RMDir /r "$INSTDIR\Skin"
  RMDir /r "$INSTDIR\Notifications"
  RMDir /r "$INSTDIR\Sound"
  RMDir /r "$INSTDIR\New"

  Delete "$SMPROGRAMS\${PRODUCT}\Tarnelix.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Veilmark Privacy Add-on.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Tarnelix.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The user's lists and settings go only when asked for.
  ${GetParameters} $8
  ClearErrors
  ${GetOptions} $8 "/PURGE" $9
  ${IfNot} ${Errors}
  ${OrIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Also remove your Tarnelix settings and lists?" /SD IDNO IDYES`
    Delete "$INSTDIR\AllowBanners.dat"
    Delete "$INSTDIR\BlockedHistory.dat"
    Delete "$INSTDIR\Adware.dat"
    Delete "$INSTDIR\AllowCookies.dat"
    DeleteRegKey HKCU "Software\Corvantine\Tarnelix"
    DeleteRegKey HKCU "Software\Corvantine\Veilmark-AddOn"
    DeleteRegKey /ifempty HKCU "Software\Corvantine"
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd
