; The per-user installer of Brentoval: no administrator rights, the program in
; %LOCALAPPDATA%\Programs\Brentoval (a folder the user can write, so the database and the client
; book stay beside the program), Arabic pages, shortcuts named in Arabic, an entry in Apps & features.
; An upgrade installs over the old copy and leaves its data files alone; the uninstaller removes the
; program's own files and keeps the data unless asked.
;   makensis -DSTAGE=<packed Brentoval folder> -DFILES=<generated file list> -DOUTFILE=<setup.exe> installer.nsi
; Silent: setup.exe /S [/D=folder]; uninstall.exe /S [/REMOVEDATA]
; 64-bit like the program it installs (and like Windows 10/11 on the pharmacies' machines).
Target amd64-unicode
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Brentoval"
!define VERSION "9.00"
!define SHORTCUT "برنتوفال"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brentoval"

Name "${SHORTCUT} ${VERSION}"
Caption "${SHORTCUT} ${VERSION}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "Software\${PRODUCT}" "InstallDir"
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
ShowInstDetails nevershow
ShowUninstDetails nevershow

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
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.DataPage un.DataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Arabic"

Var RemoveData
Var RemoveDataBox

Section "Brentoval"
  SetOutPath "$INSTDIR"
  ; The program's own files; brentoval.db, its -wal/-shm and bvamil.mdb are made by the program
  ; and are not in the package, so an upgrade leaves them as they are.
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\${PRODUCT}" "InstallDir" "$INSTDIR"

  CreateShortCut "$SMPROGRAMS\${SHORTCUT}.lnk" "$INSTDIR\brentoval.exe" "" "$INSTDIR\brentoval.exe" 0
  CreateShortCut "$DESKTOP\${SHORTCUT}.lnk" "$INSTDIR\brentoval.exe" "" "$INSTDIR\brentoval.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${SHORTCUT} (${PRODUCT})"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brentoval.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
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
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
  Delete "$DESKTOP\${SHORTCUT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\${PRODUCT}"
SectionEnd
