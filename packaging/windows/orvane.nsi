; Per-user installer of Orvane. The program keeps its menu lists, target CAD
; list and Orvane.ini beside itself, so it goes to the user's own programs
; folder, never to Program Files, and a reinstall or an uninstall leaves
; those files as the user left them.
;
; makensis -DVERSION=<x.y.z> -DEXE=<Orvane.exe> -DSAMPLES=<dir> -DOUTFILE=<setup.exe> orvane.nsi

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"

Name "Orvane"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Orvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

; No copyright line of its own to state.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Orvane"
VIAddVersionKey "FileDescription" "Orvane Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Orvane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Orvane"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=Orvane.exe" "${EXE}"
  ; The samples only where the user has none: theirs may be edited.
  SetOverwrite off
  File "${SAMPLES}/*"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Orvane.lnk" "$INSTDIR\Orvane.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Orvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Orvane.exe"
  Delete "$SMPROGRAMS\Orvane.lnk"
  Delete "$INSTDIR\Uninstall.exe"
  ; Gone only when the user's files are gone too.
  RMDir "$INSTDIR"
  ; Last, so that its absence tells that the uninstall is over.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
