; The Varnek installer, for makensis 3 (Debian's nsis). It installs for every user of the machine
; into Program Files, adds a Start-menu entry and an uninstaller, and speaks Turkish.
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.6 -DSOURCE=<folder to install> -DICON=varnek.ico
;            -DURL=<home page> -DUNINSTALL_LIST=<Delete/RMDir lines> -DOUTFILE=<installer.exe> varnek.nsi

; A 64-bit installer for a 64-bit program: it needs no 32-bit Windows layer (under Wine, no wine32).
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh
!include FileFunc.nsh

!define APP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnek"
!define PUBLISHER "Varnek Geliştirme Ekibi"

Name "Varnek ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varnek"
InstallDirRegKey HKLM "${APP_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Varnek ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\varnek.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Turkish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductName" "Varnek"
VIAddVersionKey /LANG=${LANG_TURKISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_TURKISH} "FileDescription" "Varnek Kurulumu"
VIAddVersionKey /LANG=${LANG_TURKISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "LegalCopyright" "© ${PUBLISHER}. Tüm hakları saklıdır."

; Windows lets every user modify a file at the root of C: but only an administrator create one, and
; the program keeps its rates there: while elevated, make each rate file that is missing, empty, so
; that an ordinary user's first save can write it. One that exists holds a saved rate: not touched.
; Opened for appending, so a file that appears meanwhile is not cut either.
!macro PrepareRateFile NAME
  IfFileExists "C:\${NAME}" +3
    FileOpen $0 "C:\${NAME}" a
    FileClose $0
!macroend

Section "Varnek" SecMain
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\kaldir.exe"
  CreateShortcut "$SMPROGRAMS\Varnek.lnk" "$INSTDIR\varnek.exe" "" "$INSTDIR\varnek.exe" 0
  !insertmacro PrepareRateFile dolarsatilis.txt
  !insertmacro PrepareRateFile marksatilis.txt
  !insertmacro PrepareRateFile sterlinsatilis.txt
  !insertmacro PrepareRateFile franksatilis.txt

  WriteRegStr HKLM "${APP_KEY}" "DisplayName" "Varnek"
  WriteRegStr HKLM "${APP_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APP_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${APP_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKLM "${APP_KEY}" "DisplayIcon" "$INSTDIR\varnek.exe,0"
  WriteRegStr HKLM "${APP_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APP_KEY}" "UninstallString" '"$INSTDIR\kaldir.exe"'
  WriteRegStr HKLM "${APP_KEY}" "QuietUninstallString" '"$INSTDIR\kaldir.exe" /S'
  WriteRegDWORD HKLM "${APP_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APP_KEY}" "NoRepair" 1
  ; In KiB, as "Apps & features" reads it: what is in the folder now, the uninstaller included.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${APP_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  ; The rate files at the root of C: are the user's data: they stay.
  SetShellVarContext all
  Delete "$SMPROGRAMS\Varnek.lnk"
  ; Only what the installer put there: a folder chosen by the user may hold other files.
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\kaldir.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${APP_KEY}"
SectionEnd
