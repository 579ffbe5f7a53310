; The per-user installer of Brentoval: no administrator rights, the program in
; %LOCALAPPDATA%\Programs\Brentoval (a folder the user can write, so the database and the client
; book stay beside the program), Arabic pages, shortcuts named in Arabic, an entry in Apps & features.
; An upgrade installs over the old copy and leaves its data files alone; the uninstaller removes the
; program's own files and keeps the data unless asked.
;   makensis -DSTAGE=<packed Brentoval folder> -DFILES=<generated file list> -DOUTFILE=<setup.exe> installer.nsi
; /ALLUSERS (as administrator): into Program Files for every user, shortcuts and Apps entry for
; all; each user's data then lives in %LOCALAPPDATA%\Brentoval (the marker all-users.txt tells
; the program), the connection values go to the machine's settings. Not administrator: exit code 5.
; Silent: setup.exe /S [/ALLUSERS] [/NODESKTOP] [/SERVER=… /DATABASE=… /UID=… /PWD=… /DRIVER=… /EXTRA=…] [/D=folder]
;         uninstall.exe /S [/REMOVEDATA] (with _?=folder it runs in place and can be waited on)
; Neither replaces nor removes anything while a copy of the program runs (the program holds the
; mutex Global\BrentovalRunning): interactive they ask to close it, silent they end with exit
; code 3. A file that cannot be written ends the install with exit code 2. What the installer did
; is written to %TEMP%\brentoval-setup.log.
; 64-bit like the program it installs (and like Windows 10/11 on the pharmacies' machines).
Target amd64-unicode
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Brentoval"
!define VERSION "9.00"
!define SHORTCUT "برنتوفال"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brentoval"

Name "${SHORTCUT} ${VERSION}"
Caption "${SHORTCUT} ${VERSION}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef SIGN
  ; The installer and the uninstaller it carries, signed as they are made (the certificate from
  ; the environment of the build, see sign-windows.sh).
  !finalize 'bash "${SIGN}" "%1"'
  !uninstfinalize 'bash "${SIGN}" "%1"'
!endif
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
ShowInstDetails nevershow
ShowUninstDetails nevershow
; A file that cannot be replaced is never skipped: retry or give up, never a success.
AllowSkipFiles off

VIProductVersion "9.0.0.0"
VIFileVersion "9.0.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "brentoval.ico"
!define MUI_UNICON "brentoval.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\brentoval.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\licenses"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "عرض تراخيص المكتبات المرفقة"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom ShortcutPage ShortcutPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.DataPage un.DataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Arabic"

Var RemoveData
Var RemoveDataBox
Var WantDesktop
Var DesktopBox
Var Log
Var Settings
Var AllUsers

; One line of the install log.
!macro LogLine text
  FileWriteUTF16LE $Log "${text}$\r$\n"
!macroend

; Waits until no copy of the program runs: asks to close it, or in silent mode ends with exit
; code 3 before anything changed.
!macro RunningCheck UN
Function ${UN}EnsureNotRunning
  again:
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\BrentovalRunning") p .r0'
  ${If} $0 != 0
    System::Call 'kernel32::CloseHandle(p r0)'
    ${IfNot} ${Silent}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_RIGHT|MB_RTLREADING "برنتوفال مفتوح الان على هذا الجهاز. اغلق كل نسخه المفتوحة ثم حاول مرة اخرى." IDRETRY again
    ${EndIf}
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro RunningCheck ""
!insertmacro RunningCheck "un."

; The value of a flag on the command line: $R0 the flag with its "=" ("/PWD="), the value back
; in $R1 as typed, up to the next blank, or in double quotes up to the closing one (GetOptions
; would end it at any "/"). The error flag is set when the flag is not there.
Function FlagValue
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrLen $R4 $R0
  StrCpy $R2 0
  StrCpy $R1 ""
  ClearErrors
  find:
    StrCpy $R3 $CMDLINE $R4 $R2
    StrCmp $R3 "" missing
    StrCmp $R3 $R0 0 next
    IntCmp $R2 0 found
    IntOp $R5 $R2 - 1
    StrCpy $R3 $CMDLINE 1 $R5
    StrCmp $R3 " " found
  next:
    IntOp $R2 $R2 + 1
    Goto find
  found:
    IntOp $R2 $R2 + $R4
    StrCpy $R5 " "
    StrCpy $R3 $CMDLINE 1 $R2
    StrCmp $R3 '"' 0 take
    StrCpy $R5 '"'
    IntOp $R2 $R2 + 1
  take:
    StrCpy $R3 $CMDLINE 1 $R2
    StrCmp $R3 "" done
    StrCmp $R3 $R5 done
    StrCpy $R1 "$R1$R3"
    IntOp $R2 $R2 + 1
    Goto take
  missing:
    SetErrors
  done:
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
FunctionEnd

; Installing or removing for all users needs an administrator: else exit code 5, nothing changed.
!macro AdminCheck UN
Function ${UN}RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP|MB_RIGHT|MB_RTLREADING "التثبيت لكل المستخدمين يحتاج الى صلاحيات المسؤول (Administrator)." /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro AdminCheck ""
!insertmacro AdminCheck "un."

; The connection value of one silent flag into the hand-over file (key=value, UTF-16).
!macro SettingFlag FLAG KEY
  StrCpy $R0 "/${FLAG}="
  Call FlagValue
  StrCpy $1 $R1
  ${IfNot} ${Errors}
    FileWriteUTF16LE $2 "${KEY}=$1$\r$\n"
    !insertmacro LogLine "connection value given: ${KEY}"
    StrCpy $Settings 1
  ${EndIf}
!macroend

Function .onInit
  FileOpen $Log "$TEMP\brentoval-setup.log" w
  FileWriteUTF16LE /BOM $Log ""
  ; Not the command line: it may hold the password.
  ${If} ${Silent}
    !insertmacro LogLine "${PRODUCT} ${VERSION} setup, silent"
  ${Else}
    !insertmacro LogLine "${PRODUCT} ${VERSION} setup"
  ${EndIf}
  StrCpy $WantDesktop 1
  ClearErrors
  ${GetOptions} $CMDLINE "/NODESKTOP" $0
  ${IfNot} ${Errors}
    StrCpy $WantDesktop 0
  ${EndIf}
  StrCpy $AllUsers 0
  ClearErrors
  ${GetOptions} $CMDLINE "/ALLUSERS" $0
  ${IfNot} ${Errors}
    Call RequireAdmin
    StrCpy $AllUsers 1
    ; The per-user default folder gives way to Program Files; a folder given with /D stays.
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
    SetShellVarContext all
    !insertmacro LogLine "for all users"
  ${EndIf}
  Call EnsureNotRunning
FunctionEnd

Function .onInstFailed
  !insertmacro LogLine "failed: the program files could not all be written"
  FileClose $Log
  SetErrorLevel 2
FunctionEnd

Function ShortcutPage
  !insertmacro MUI_HEADER_TEXT "الاختصارات" "اختصار البرنامج في قائمة ابدأ وعلى سطح المكتب"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 14u "ضع اختصارا للبرنامج على سطح المكتب"
  Pop $DesktopBox
  ${NSD_AddStyle} $DesktopBox ${BS_RIGHTBUTTON}|${BS_RIGHT}
  ${NSD_AddExStyle} $DesktopBox ${WS_EX_RTLREADING}
  ${If} $WantDesktop == 1
    ${NSD_Check} $DesktopBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ShortcutPageLeave
  ${NSD_GetState} $DesktopBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $WantDesktop 1
  ${Else}
    StrCpy $WantDesktop 0
  ${EndIf}
FunctionEnd

Section "Brentoval"
  ; Started while the pages were shown?
  Call EnsureNotRunning
  !insertmacro LogLine "folder: $INSTDIR"
  SetOutPath "$INSTDIR"
  ; The program's own files; brentoval.db, its -wal/-shm and bvamil.mdb are made by the program
  ; and are not in the package, so an upgrade leaves them as they are.
  ClearErrors
  File /r "${STAGE}\*.*"
  ${If} ${Errors}
    Abort
  ${EndIf}
  ${If} $AllUsers == 1
    ; Tells the program to keep each user's data in that user's folder.
    FileOpen $3 "$INSTDIR\all-users.txt" w
    FileWrite $3 "Installed for all users: each user's database and client book are in %LOCALAPPDATA%\Brentoval.$\r$\n"
    FileClose $3
  ${Else}
    Delete "$INSTDIR\all-users.txt"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
  !insertmacro LogLine "program files written"

  CreateShortCut "$SMPROGRAMS\${SHORTCUT}.lnk" "$INSTDIR\brentoval.exe" "" "$INSTDIR\brentoval.exe" 0
  ${If} $WantDesktop == 1
    CreateShortCut "$DESKTOP\${SHORTCUT}.lnk" "$INSTDIR\brentoval.exe" "" "$INSTDIR\brentoval.exe" 0
    !insertmacro LogLine "shortcuts: Start menu, desktop"
  ${Else}
    Delete "$DESKTOP\${SHORTCUT}.lnk"
    !insertmacro LogLine "shortcuts: Start menu"
  ${EndIf}

  ; Connection values given as flags: handed to the program, which stores them with the password
  ; sealed for this user, and removes the hand-over file.
  StrCpy $Settings 0
  InitPluginsDir
  FileOpen $2 "$PLUGINSDIR\connection.txt" w
  FileWriteUTF16LE /BOM $2 ""
  !insertmacro SettingFlag SERVER server
  !insertmacro SettingFlag DATABASE database
  !insertmacro SettingFlag UID uid
  !insertmacro SettingFlag PWD pwd
  !insertmacro SettingFlag DRIVER driver
  !insertmacro SettingFlag EXTRA extra
  FileClose $2
  ${If} $Settings == 1
    ${If} $AllUsers == 1
      ExecWait '"$INSTDIR\brentoval.exe" --import-settings "$PLUGINSDIR\connection.txt" --all-users' $0
    ${Else}
      ExecWait '"$INSTDIR\brentoval.exe" --import-settings "$PLUGINSDIR\connection.txt"' $0
    ${EndIf}
    Delete "$PLUGINSDIR\connection.txt"
    ${If} $0 != 0
      !insertmacro LogLine "failed: the connection settings could not be stored ($0)"
      MessageBox MB_OK|MB_ICONSTOP|MB_RIGHT|MB_RTLREADING "تعذر حفظ اعدادات الاتصال. شغل البرنامج بالخيار --settings لضبطها." /SD IDOK
      SetErrorLevel 4
    ${Else}
      !insertmacro LogLine "connection settings stored"
    ${EndIf}
  ${Else}
    Delete "$PLUGINSDIR\connection.txt"
  ${EndIf}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${SHORTCUT} (${PRODUCT})"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brentoval.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  !insertmacro LogLine "done"
  FileClose $Log
SectionEnd

Function un.onInit
  ${If} ${FileExists} "$INSTDIR\all-users.txt"
    Call un.RequireAdmin
    SetShellVarContext all
  ${EndIf}
  Call un.EnsureNotRunning
  StrCpy $RemoveData 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveData 1
  ${EndIf}
FunctionEnd

Function un.DataPage
  !insertmacro MUI_HEADER_TEXT "بيانات البرنامج" "قاعدة البيانات وملف العملاء"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "تبقي بيانات البرنامج في مجلده بعد ازالته: قاعدة البيانات brentoval.db وملف العملاء bvamil.mdb. اذا ثبت البرنامج مرة اخرى في نفس المجلد وجدها كما هي."
  Pop $0
  ; nsDialogs does not mirror its controls: right-aligned Arabic, the tick box on the right.
  ${NSD_AddExStyle} $0 ${WS_EX_RIGHT}|${WS_EX_RTLREADING}
  ${NSD_CreateCheckbox} 0 56u 100% 14u "احذف بيانات البرنامج ايضا (لا يمكن استرجاعها)"
  Pop $RemoveDataBox
  ${NSD_AddStyle} $RemoveDataBox ${BS_RIGHTBUTTON}|${BS_RIGHT}
  ${NSD_AddExStyle} $RemoveDataBox ${WS_EX_RTLREADING}
  ${If} $RemoveData == 1
    ${NSD_Check} $RemoveDataBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.DataPageLeave
  ${NSD_GetState} $RemoveDataBox $RemoveData
  ${If} $RemoveData == ${BST_CHECKED}
    StrCpy $RemoveData 1
  ${Else}
    StrCpy $RemoveData 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EnsureNotRunning
  ; Only what the installer put there (the list is made from the package), then the data if asked.
  !include "${FILES}"
  ${If} $RemoveData == 1
    Delete "$INSTDIR\brentoval.db"
    Delete "$INSTDIR\brentoval.db-wal"
    Delete "$INSTDIR\brentoval.db-shm"
    Delete "$INSTDIR\brentoval.db-journal"
    Delete "$INSTDIR\brentoval-neworder-*.txt"
    Delete "$INSTDIR\bvamil.mdb"
  ${EndIf}
  Delete "$INSTDIR\all-users.txt"
  ; Run in place (_?=folder), the uninstaller cannot remove itself until it has ended.
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
  Delete "$DESKTOP\${SHORTCUT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\${PRODUCT}"
SectionEnd
